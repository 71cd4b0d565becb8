// The glow panel's side of the edit dialog: opening it on an item of LB.

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "Ed_EGlow.h"
#include "M_Change.h"
#include "app_state.h"
#include "click_list.h"
#include "error_display.h"
#include "glow_ops.h"

namespace {

void ShowDialog(const QString& title, const QStringList& header)
{
    MCh->show();
    MCh->raise();
    MCh->activateWindow();
    // Keys typed as it opens go into the first value: the button that had the
    // keyboard last time may be hidden now, and then no part of the dialog
    // would take them.
    MCh->SG->setCurrentCell(1, 0);
    MCh->SG->setFocus();
    MCh->L1->setText(title);
    for (int col = 0; col < 4; ++col)
        MCh->SetCell(col, 0, header[col]);
}

}  // namespace

void TEGlow::LBClick()
{
    Guarded([&] {
        TEngineGlow* g = ShownGlow();
        if (!g)
            return;
        DialogGlow = g;
        MCh->HideMost();
        ClearPendingMarks();
        switch (LB->SelectedRow()) {
        case 0:
            ShoColor(g->CoreColor, QStringLiteral("Core Color"));
            break;
        case 1:
            ShoColor(g->OuterColor, QStringLiteral("Outer Color"));
            break;
        case 2:
            PendingPoint = true;
            ShoPoint(g->Center.X, g->Center.Y, g->Center.Z, QStringLiteral("Center Point"));
            MCh->BBCenter->show();
            break;
        case 3:
            PendingVector = true;
            ShoPoint(g->MainVec.X, g->MainVec.Y, g->MainVec.Z, QStringLiteral("Main Vector"));
            break;
        case 4:
            PendingDensity0 = true;
            ShoPoint(g->Density0.X, g->Density0.Y, g->Density0.Z, QStringLiteral("Denisty 0"));
            break;
        case 5:
            PendingDensity1 = true;
            ShoPoint(g->Density1.X, g->Density1.Y, g->Density1.Z, QStringLiteral("Denisty 1"));
            break;
        case 6:
            PendingDensity2 = true;
            ShoPoint(g->Density2.X, g->Density2.Y, g->Density2.Z, QStringLiteral("Denisty 2"));
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
    if (MCh->isVisible() && DialogGlow == ShownGlow())
        return;
    if (MCh->isVisible())
        MCh->Dismiss();
    ClearPendingMarks();
}

void TEGlow::ShoColor(uint32_t w, const QString& title)
{
    ShowDialog(title, {"Alpha", "Red", "Green", "Blue"});
    for (int col = 0; col < 4; ++col)
        MCh->SetCell(col, 1, QString::number((w >> (24 - 8 * col)) & 0xFF));
    MCh->BBColor->show();
}

void TEGlow::ShoPoint(float x, float y, float z, const QString& title)
{
    ShowDialog(title, {"X width", "Y height", "Z length", "Not Used"});
    MCh->ShowValues({x, y, z});
    MCh->BBMan1->show();
}
