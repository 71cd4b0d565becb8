// Not a test: runs the editor's windows as a user would on the demo model
// (open, step to a glow, cones, all glows, face mode, the "Point" item) and
// saves pictures of the screen, the glow panel and the edit dialog.
// Arguments: the folder for the pictures, the folder of the executable
// (holding Data/Colors.dat and Samples/demo.opt).

#include <QApplication>
#include <QFrame>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "glow_panel.h"
#include "value_dialog.h"
#include "main_window.h"
#include "app_start.h"
#include "app_state.h"
#include "click_list.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    // Recent Files go to a test folder, not into the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    const QString out = QString::fromLocal8Bit(argv[1]);
    const fs::path bin = argv[2];
    const auto screen = [&out](const char* name) {
        QTest::qWait(300);
        QApplication::primaryScreen()->grabWindow(0).save(out + "/" + name);
    };

    // A fresh folder stands in for the executable's own, so the working copy
    // goes there.
    TempDir dir;
    fs::create_directories(dir.File("Data"));
    fs::copy_file(bin / "Data" / "Colors.dat", dir.File("Data/Colors.dat"));
    AppDirOverride = dir.Path();
    TScriptedDialogs dialogs;
    if (!CreateForms())
        return 1;
    TMainWindow& me = *Me;
    TGlowPanel& panel = *EGlow;
    TValueDialog& dialog = *MCh;
    me.showMaximized();
    (void)QTest::qWaitForWindowExposed(&me);

    dialogs.OpenAnswers.push_back(QString::fromStdString((bin / "Samples" / "demo.opt").string()));
    me.ChooseAndOpen();
    (void)QTest::qWaitForWindowExposed(&panel);
    panel.StepToNextGlow();
    screen("1_opened_glow0.png");

    QTest::mouseClick(panel.ConesButton, Qt::LeftButton);
    QTest::mouseClick(panel.AllGlowsButton, Qt::LeftButton);
    screen("2_all_glows_cones.png");

    me.SelectFaces();
    panel.ItemList->setCurrentRow(2);
    panel.OpenSelectedItem();
    screen("3_face_mode_point_dialog.png");
    dialog.grab().save(out + "/dialog.png");
    panel.grab().save(out + "/panel.png");
    const QPixmap bar = panel.ButtonBar->grab(QRect(0, 0, 220, 30));
    bar.scaled(bar.size() * 4).save(out + "/button_bar_x4.png");

    for (const auto& m : dialogs.Messages)
        qInfo("message: %s", qPrintable(m.Text));
    DestroyForms();
    return 0;
}
