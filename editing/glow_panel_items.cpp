// The glow panel's side of the edit dialog: opening it on an item of ItemList.

#include <QPushButton>

#include "click_list.h"
#include "error_display.h"
#include "glow_edit.h"
#include "glow_panel.h"
#include "open_document.h"
#include "value_dialog.h"

void TGlowPanel::OpenSelectedItem()
{
    Guarded([&] {
        const TGlowIndex shown = ShownGlowIndex(Document);
        if (!shown)
            return;
        const TEngineGlow& g = Document.GlowAt(shown);
        TValueDialog& d = *Dialog;
        d.DialogGlow = shown;
        d.OtherGlows = OtherSelectedGlows();
        d.CloseUnwritten();
        d.ClearPendingMarks();
        // The item's value, its pending mark and the dialog's title.
        struct TNumbers {
            const TFloat3& Values;
            bool& Pending;
            const char* Title;
        };
        const auto numbers = [&](const TNumbers& item) {
            item.Pending = true;
            d.ShowPoint({item.Values.X, item.Values.Y, item.Values.Z}, QString::fromLatin1(item.Title));
        };
        switch (ItemList->SelectedRow()) {
        case 0:
            d.ShowColor(g.CoreColor, true);
            break;
        case 1:
            d.ShowColor(g.OuterColor, false);
            break;
        case 2:
            numbers({g.Center, d.PendingPoint, "Center Point"});
            d.CenterButton->show();
            break;
        case 3:
            numbers({g.MainVec, d.PendingVector, "Main Vector"});
            break;
        case 4:
            numbers({g.Density0, d.PendingDensity0, "Denisty 0"});
            break;
        case 5:
            numbers({g.Density1, d.PendingDensity1, "Denisty 1"});
            break;
        case 6:
            numbers({g.Density2, d.PendingDensity2, "Denisty 2"});
            break;
        default:
            break;
        }
    });
}

std::vector<TGlowIndex> TGlowPanel::OtherSelectedGlows() const
{
    std::vector<TGlowIndex> glows = Document.Selection.SelectedGlows(Document.Model);
    if (!glows.empty())
        glows.erase(glows.begin());
    return glows;
}

void TGlowPanel::KeepDialogOnShownGlow()
{
    // A value confirmed in a dialog left on another glow (or other glows
    // selected) would land where the user no longer looks, or be dropped
    // unseen.
    if (Dialog->isVisible() && Dialog->DialogGlow == ShownGlowIndex(Document) &&
        Dialog->OtherGlows == OtherSelectedGlows())
        return;
    if (Dialog->isVisible())
        Dialog->Dismiss();
    Dialog->ClearPendingMarks();
}
