// The glow panel's side of the edit dialog: opening it on an item of LB.

#include <QPushButton>

#include "Ed_EGlow.h"
#include "M_Change.h"
#include "app_state.h"
#include "click_list.h"
#include "error_display.h"
#include "glow_ops.h"

void TEGlow::LBClick()
{
    Guarded([&] {
        const TGlowIndex shown = ShownGlowIndex();
        if (!shown)
            return;
        const TEngineGlow& g = GlowAt(shown);
        DialogGlow = shown;
        Dialog->HideMost();
        ClearPendingMarks();
        switch (LB->SelectedRow()) {
        case 0:
            ShoColor(g.CoreColor, QStringLiteral("Core Color"));
            break;
        case 1:
            ShoColor(g.OuterColor, QStringLiteral("Outer Color"));
            break;
        case 2:
            PendingPoint = true;
            ShoPoint(g.Center.X, g.Center.Y, g.Center.Z, QStringLiteral("Center Point"));
            Dialog->BBCenter->show();
            break;
        case 3:
            PendingVector = true;
            ShoPoint(g.MainVec.X, g.MainVec.Y, g.MainVec.Z, QStringLiteral("Main Vector"));
            break;
        case 4:
            PendingDensity0 = true;
            ShoPoint(g.Density0.X, g.Density0.Y, g.Density0.Z, QStringLiteral("Denisty 0"));
            break;
        case 5:
            PendingDensity1 = true;
            ShoPoint(g.Density1.X, g.Density1.Y, g.Density1.Z, QStringLiteral("Denisty 1"));
            break;
        case 6:
            PendingDensity2 = true;
            ShoPoint(g.Density2.X, g.Density2.Y, g.Density2.Z, QStringLiteral("Denisty 2"));
            break;
        default:
            break;
        }
    });
}

void TEGlow::KeepDialogOnShownGlow()
{
    // A value confirmed in a dialog left on another glow would land where the
    // user no longer looks, or be dropped unseen.
    if (Dialog->isVisible() && DialogGlow == ShownGlowIndex())
        return;
    if (Dialog->isVisible())
        Dialog->Dismiss();
    ClearPendingMarks();
}

void TEGlow::ShoColor(uint32_t w, const QString& title)
{
    Dialog->ShowColor(w, title);
}

void TEGlow::ShoPoint(float x, float y, float z, const QString& title)
{
    Dialog->ShowPoint({x, y, z}, title);
}
