// The glow panel's side of the edit dialog: opening it on an item of ItemList.

#include <QPushButton>

#include "glow_panel.h"
#include "value_dialog.h"
#include "app_state.h"
#include "click_list.h"
#include "error_display.h"
#include "glow_ops.h"

void TGlowPanel::OpenSelectedItem()
{
    Guarded([&] {
        const TGlowIndex shown = ShownGlowIndex();
        if (!shown)
            return;
        const TEngineGlow& g = GlowAt(shown);
        DialogGlow = shown;
        Dialog->CloseUnwritten();
        ClearPendingMarks();
        switch (ItemList->SelectedRow()) {
        case 0:
            OpenColor(g.CoreColor, QStringLiteral("Core Color"));
            break;
        case 1:
            OpenColor(g.OuterColor, QStringLiteral("Outer Color"));
            break;
        case 2:
            PendingPoint = true;
            OpenValues(g.Center.X, g.Center.Y, g.Center.Z, QStringLiteral("Center Point"));
            Dialog->CenterButton->show();
            break;
        case 3:
            PendingVector = true;
            OpenValues(g.MainVec.X, g.MainVec.Y, g.MainVec.Z, QStringLiteral("Main Vector"));
            break;
        case 4:
            PendingDensity0 = true;
            OpenValues(g.Density0.X, g.Density0.Y, g.Density0.Z, QStringLiteral("Denisty 0"));
            break;
        case 5:
            PendingDensity1 = true;
            OpenValues(g.Density1.X, g.Density1.Y, g.Density1.Z, QStringLiteral("Denisty 1"));
            break;
        case 6:
            PendingDensity2 = true;
            OpenValues(g.Density2.X, g.Density2.Y, g.Density2.Z, QStringLiteral("Denisty 2"));
            break;
        default:
            break;
        }
    });
}

void TGlowPanel::KeepDialogOnShownGlow()
{
    // A value confirmed in a dialog left on another glow would land where the
    // user no longer looks, or be dropped unseen.
    if (Dialog->isVisible() && DialogGlow == ShownGlowIndex())
        return;
    if (Dialog->isVisible())
        Dialog->Dismiss();
    ClearPendingMarks();
}

void TGlowPanel::OpenColor(uint32_t w, const QString& title)
{
    Dialog->ShowColor(w, title);
}

void TGlowPanel::OpenValues(float x, float y, float z, const QString& title)
{
    Dialog->ShowPoint({x, y, z}, title);
}
