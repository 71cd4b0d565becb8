// Shows the glow panel over the main window and the edit dialog on a small
// model and saves pictures of both into the folder given as argument.

#include <QApplication>
#include <QFrame>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "app_state.h"
#include "click_list.h"
#include "glow_fixture.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    TGlowEditing e({SampleMesh(3), SampleMesh(2, 3)});
    (void)QTest::qWaitForWindowExposed(e.Main.get());
    e.SelectMesh(0);
    e.Panel->DisplayForm();
    e.Panel->show();
    (void)QTest::qWaitForWindowExposed(e.Panel.get());
    e.Panel->SBUpClick();
    e.Panel->SBUpClick();
    e.Panel->LB->setCurrentRow(2);
    e.Panel->LBClick();
    (void)QTest::qWaitForWindowExposed(e.Dialog.get());
    QTest::qWait(200);
    e.Panel->grab().save(folder + "/glow_panel.png");
    e.Dialog->grab().save(folder + "/edit_dialog_point.png");
    QApplication::primaryScreen()->grabWindow(0).save(folder + "/screen.png");
    const QPixmap bar = e.Panel->Panel1->grab(QRect(0, 0, 220, 30));
    bar.scaled(bar.size() * 4).save(folder + "/button_bar_x4.png");
    e.Panel->SBCopyColor->setEnabled(false);
    e.Panel->SBCone->setEnabled(false);
    e.Panel->grab().save(folder + "/glow_panel_disabled_buttons.png");
    e.Panel->LB->setCurrentRow(0);
    e.Panel->LBClick();
    QTest::qWait(100);
    e.Dialog->grab().save(folder + "/edit_dialog_color.png");
    return 0;
}
