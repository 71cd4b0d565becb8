// Start-up: folders, the colour file check, the start values, the main
// window's layout and menu, the About box.

#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <memory>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "glow_panel.h"
#include "key_table.h"
#include "value_dialog.h"
#include "color_settings.h"
#include "view_panel.h"
#include "main_window.h"
#include "app_fixture.h"
#include "app_start.h"
#include "open_document.h"
#include "conversions.h"
#include "errors.h"
#include "opt_builder.h"
#include "test_models.h"
#include "view_colors.h"

namespace fs = std::filesystem;

class TStartupTest : public QObject {
    Q_OBJECT
private slots:
    void MissingColorsEndsTheProgram()
    {
        TAppFixture app;
        QVERIFY(!app.Create());
        QVERIFY(fs::is_directory(app.ProjectFolder()));
        QVERIFY(fs::is_directory(app.DataFolder()));
        const QString data = QString::fromStdString(app.DataFolder());
        const QStringList expected = {
            "File is missing " + data + "Colors.dat\n Locate the \"Colors.dat\" file in the zip and copy to  \n" + data,
            "Cannot Continue ,Closing Application"};
        QCOMPARE(app.Dialogs.Messages.size(), size_t(2));
        QVERIFY(!app.Dialogs.Messages[0].Error && !app.Dialogs.Messages[1].Error);
        QCOMPARE(app.Dialogs.TakeMessages(), expected);
        QVERIFY(!MainWindow()->isVisible());
        QVERIFY(GlowPanel() == nullptr && ValueDialog() == nullptr && ColorSettings() == nullptr);

        // A second start with the folders already there says the same.
        app.Editor.reset();
        QVERIFY(!app.Create());
        QCOMPARE(app.Dialogs.TakeMessages(), expected);
    }

    void StartValuesColoursAndWindows()
    {
        TAppFixture app;
        app.PutColors(SampleColorBytes());
        // An earlier editor in the same process, left as a user leaves it:
        // nothing of it carries over into the next start.
        QVERIFY(app.Create());
        MainWindow()->ViewState().Camera.RotX = MainWindow()->ViewState().Camera.RotY = MainWindow()->ViewState().Camera.RotZ = 7;
        MainWindow()->ViewState().Camera.Zoom = 3;
        MainWindow()->ViewState().Camera.RotStep = 9;
        Document().Selection.SelectedId = Document().Selection.CurMesh = Document().Selection.CurFace = 5;
        MainWindow()->ViewState().Ready = true;
        app.Editor.reset();
        QVERIFY(app.Start());
        QVERIFY(app.Dialogs.Messages.empty());
        QCOMPARE(QApplication::applicationDisplayName(), QString("NEG"));
        QCOMPARE(Document().AppDir, app.Folder.Path());
        QCOMPARE(Document().ProjectDir, app.ProjectFolder());
        QCOMPARE(Document().DataDir, app.DataFolder());
        QVERIFY(MainWindow()->ViewState().Camera.RotX == 0 && MainWindow()->ViewState().Camera.RotY == 0 && MainWindow()->ViewState().Camera.RotZ == 0 && MainWindow()->ViewState().Camera.Zoom == 1.0 && MainWindow()->ViewState().Camera.RotStep == 4);
        QVERIFY(Document().Selection.SelectedId == 0 && Document().Selection.CurFace == 0 && MainWindow()->View()->Restarts() == 0);
        QVERIFY(!MainWindow()->ViewState().Ready);
        const std::vector<uint8_t> bytes = SampleColorBytes();
        QCOMPARE(std::memcmp(Colors().data(), bytes.data(), 84), 0);

        QVERIFY(GlowPanel() && ValueDialog() && ColorSettings());
        QVERIFY(!GlowPanel()->isVisible());
        QCOMPARE(MainWindow()->windowTitle(), QString("Nimbra_Engine_Glow ver 0.3 "));
        QVERIFY(MainWindow()->isMaximized());
        QVERIFY(MainWindow()->Items().MeshModeAction->isChecked() && !MainWindow()->Items().FaceModeAction->isChecked());
        QCOMPARE(Document().Selection.SelectMode, 0);
        QVERIFY(MainWindow()->Items().PathLabel->text().isEmpty() && MainWindow()->Items().StatusSpacer->text().isEmpty());
        QCOMPARE(MainWindow()->Items().PathLabel->width(), 400);
        QCOMPARE(MainWindow()->Items().StatusSpacer->width(), 50);
        CheckPanels();
        MainWindow()->showNormal();
        MainWindow()->resize(900, 500);
        QTRY_COMPARE(MainWindow()->width(), 900);
        CheckPanels();
    }

    void UnreadableColorsShowsErrorAndZeroes()
    {
        TAppFixture app;
        fs::create_directories(app.DataFolder());
        const std::string path = app.DataFolder() + "Colors.dat";
#ifdef _WIN32
        // Held open without sharing, the file cannot be opened a second time.
        optbuild::WriteFileBytes(path, SampleColorBytes());
        const std::unique_ptr<void, decltype(&CloseHandle)> held(
            CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
            &CloseHandle);
        QVERIFY(held.get() != INVALID_HANDLE_VALUE);
#else
        if (geteuid() != 0) {
            optbuild::WriteFileBytes(path, SampleColorBytes());
            fs::permissions(path, fs::perms::none);
        } else if (fs::exists("/sys/bus/pci/rescan")) {
            fs::create_symlink("/sys/bus/pci/rescan", path);  // write-only, even for root
        } else {
            QSKIP("no file here that this user cannot read");
        }
#endif
        QVERIFY(app.Start());
        QCOMPARE(app.Dialogs.Messages.size(), size_t(1));
        QVERIFY(app.Dialogs.Messages[0].Error);
        QCOMPARE(app.Dialogs.Messages[0].Text, QString::fromStdString("Cannot open file " + path + "."));
        for (const TColorF& c : Colors())
            QVERIFY(c.Red == 0 && c.Green == 0 && c.Blue == 0);
        QVERIFY(MainWindow()->isVisible());
    }

    void AShortColorFileStartsWithTheShippedColours()
    {
        TAppFixture app;
        app.PutColors({});
        QVERIFY(app.Start());
        const std::string path = app.DataFolder() + "Colors.dat";
        QCOMPARE(app.Dialogs.TakeMessages(),
                 QStringList({QString::fromStdString("File is damaged " + path +
                                                     "\nIt holds fewer than 84 bytes. The editor starts with the "
                                                     "shipped colours and leaves the file as it is; Set Colors saves "
                                                     "all seven anew.")}));
        const std::vector<uint8_t> shipped = ReadBytes(NEG_SHIPPED_COLORS);
        QCOMPARE(shipped.size(), size_t(84));
        QCOMPARE(std::memcmp(Colors().data(), shipped.data(), 84), 0);
        QVERIFY(ReadBytes(path).empty());
    }

    void MenusAndCheckMarks()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        QStringList bar;
        for (QAction* a : MainWindow()->menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, QStringList({"File", "Edit", "Display", "Colors", "Help", "About"}));
        QVERIFY(MainWindow()->Items().AboutAction->menu() == nullptr);
        QCOMPARE(ItemTexts(MainWindow()->Items().FileMenu), QStringList({"Open Opt", "Recent Files", "", "Export Working Copy...",
                                                    "Show Working Copy", "Export Picture...", "", "E&xit"}));
        QVERIFY(MainWindow()->Items().ExitSeparator->isSeparator());
        QCOMPARE(ItemTexts(MainWindow()->Items().EditMenu),
                 QStringList({"Undo", "Redo", "", "Select All Glows", "Select Glows of Mesh", "Select Mirror Twin",
                              "Mirror Glow", "Symmetry", "", "Copy Glow", "Paste Glow Style", "Paste Glow", "",
                              "Copy Picture"}));
        QCOMPARE(ItemTexts(MainWindow()->Items().SymmetryMenu), QStringList({"Off", "X", "Y", "Z"}));
        QVERIFY(MainWindow()->Items().SymmetryActions[0]->isChecked());
        QCOMPARE(ItemTexts(MainWindow()->Items().DisplayMenu),
                 QStringList({"Mesh", "Face", "", "Reset View", "Front", "Back", "Left", "Right", "Top", "Bottom",
                              "Frame Glow", "", "Glow Colors", "Solid", "Whole Model"}));
        QCOMPARE(ItemTexts(MainWindow()->Items().ColorsMenu), QStringList({"Set Colors"}));
        QCOMPARE(ItemTexts(MainWindow()->menuBar()->actions()[4]->menu()), QStringList({"Keys and Mouse"}));
        for (QAction* a : {MainWindow()->Items().MeshModeAction, MainWindow()->Items().FaceModeAction, MainWindow()->Items().SetColorsAction, MainWindow()->Items().AboutAction})
            QVERIFY(a->shortcut().isEmpty());

        Document().Selection.SelectedId = 3;
        MainWindow()->Items().FaceModeAction->trigger();
        QCOMPARE(Document().Selection.SelectMode, 1);
        QVERIFY(MainWindow()->Items().FaceModeAction->isChecked() && !MainWindow()->Items().MeshModeAction->isChecked());
        MainWindow()->Items().FaceModeAction->trigger();  // choosing it again keeps its mark
        QVERIFY(MainWindow()->Items().FaceModeAction->isChecked() && !MainWindow()->Items().MeshModeAction->isChecked());
        MainWindow()->Items().MeshModeAction->trigger();
        QCOMPARE(Document().Selection.SelectMode, 0);
        QVERIFY(MainWindow()->Items().MeshModeAction->isChecked() && !MainWindow()->Items().FaceModeAction->isChecked());
        QCOMPARE(Document().Selection.SelectedId, 3);  // switching modes keeps the packed selection
    }

    // Ctrl+O and Ctrl+Q stand beside Open Opt and Exit; every key a menu
    // shows is one Help > Keys and Mouse and the manual page list, and the
    // key table does not take Ctrl+O for itself.
    void MenuKeysAreListedAndAct()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        QCOMPARE(MainWindow()->Items().OpenAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(MainWindow()->Items().ExitAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QStringList listed;
        for (const TKeyGroup& group : KeyTable())
            for (const TKeyRow& row : group.Rows)
                listed += QString::fromUtf8(row.Keys).split(", ");
        std::vector<QMenu*> menus;
        for (QAction* title : MainWindow()->menuBar()->actions())
            if (title->menu())
                menus.push_back(title->menu());
        int keys = 0;
        for (size_t i = 0; i < menus.size(); ++i)
            for (QAction* item : menus[i]->actions()) {
                if (item->menu())
                    menus.push_back(item->menu());
                for (const QKeySequence& key : item->shortcuts()) {
                    QVERIFY2(listed.contains(key.toString(QKeySequence::PortableText)), qPrintable(item->text()));
                    ++keys;
                }
            }
        QCOMPARE(keys, 17);

        QVERIFY(QTest::qWaitForWindowActive(MainWindow()));
        QTest::keyClick(app.KeyTarget(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(app.Dialogs.OpenRequests.size(), size_t(1));
    }

    void AboutBox()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        MainWindow()->Items().AboutAction->trigger();
        QCOMPARE(app.Dialogs.Messages.size(), size_t(1));
        QVERIFY(!app.Dialogs.Messages[0].Error);
        const QStringList lines = app.Dialogs.Messages[0].Text.split('\n');
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], QString("Nimbra_Engine_Glow ver 0.3 "));
        QVERIFY(lines[1].isEmpty() && lines[3].isEmpty() && lines[5].isEmpty());
        QVERIFY(lines[2].startsWith("Latest Info and updates are at "));
        QVERIFY(lines[2].size() > QString("Latest Info and updates are at ").size());
        QVERIFY(lines[4].contains("2026"));
        QVERIFY(!lines[6].isEmpty());
    }

    // Numbers are shown and read with the decimal separator of the locale the
    // editor starts in, the one the environment names for numbers (the suite
    // runs the GUI tests under comma locales too).
    void DecimalSeparatorFollowsTheSystemLocale()
    {
#ifdef _WIN32
        QSKIP("A Windows user's locale is not named in the environment");
#else
        QString name;
        for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"})
            if (name.isEmpty())
                name = qEnvironmentVariable(variable);
        // No name, "C" and "POSIX" write a point.
        const QChar expected = QLocale(name.section('.', 0, 0)).decimalPoint().front();
        const char saved = DecimalSeparator;
        DecimalSeparator = '?';
        InstallAppBasics();
        const char taken = DecimalSeparator;
        DecimalSeparator = saved;
        QCOMPARE(QChar(taken), expected);
#endif
    }

    void ExitEndsWithClosing()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        // A model on show, whose view draws anew at every resize until the
        // window closes.
        const std::string model = app.Folder.File("ship.opt");
        WriteModel(model, {{1, 1}});
        app.Dialogs.OpenAnswers.push_back(QString::fromStdString(model));
        MainWindow()->Items().OpenAction->trigger();
        QVERIFY(MainWindow()->ViewState().Ready);
        MainWindow()->Items().ExitAction->trigger();
        // Closing: no more frames.
        const int frames = MainWindow()->View()->FramesShown();
        emit MainWindow()->View()->FramebufferResized();
        QCOMPARE(MainWindow()->View()->FramesShown(), frames);
        QVERIFY(!MainWindow()->isVisible());
    }

    void ExitEndsTheEventLoopWhileTheGlowPanelShows()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        GlowPanel()->show();  // a window that refuses to close must not keep the program alive
        QTimer::singleShot(0, MainWindow()->Items().ExitAction, &QAction::trigger);
        // Ends a loop that failed to end; goes with the test, so that it
        // cannot end a later test's loop on a slow machine.
        QObject scope;
        QTimer::singleShot(5000, &scope, [] { QCoreApplication::exit(7); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void ErrorEscapingAHandlerGoesToTheErrorBox()
    {
        TScriptedDialogs dialogs;
        TThrowingObject target;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&target, &event);  // does not cross the event loop
        QCOMPARE(dialogs.Messages.size(), size_t(1));
        QVERIFY(dialogs.Messages[0].Error);
        QCOMPARE(dialogs.Messages[0].Text, QString("^TMeshL Index not valid: 7."));
    }

private:
    // An object whose event handler raises, as a handler without a guard would.
    class TThrowingObject : public QObject {
    public:
        bool event(QEvent* e) override
        {
            if (e->type() == QEvent::User)
                throw EListError("^TMeshL Index not valid: 7");
            return QObject::event(e);
        }
    };

    static QStringList ItemTexts(QMenu* menu)
    {
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << a->text();
        return texts;
    }
    // P1 square at the left of the client area, P2 the rest.
    static void CheckPanels()
    {
        const QWidget* client = MainWindow()->centralWidget();
        QCOMPARE(MainWindow()->View()->width(), MainWindow()->View()->height());
        QCOMPARE(MainWindow()->View()->height(), client->height());
        QCOMPARE(MainWindow()->View()->x(), 0);
        QCOMPARE(MainWindow()->Items().GlowPanelArea->x(), MainWindow()->View()->width());
        QCOMPARE(MainWindow()->Items().GlowPanelArea->x() + MainWindow()->Items().GlowPanelArea->width(), client->width());
    }
};

int RunStartupTests(int argc, char** argv)
{
    TStartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "startup_test.moc"
