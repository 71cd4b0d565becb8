// Files in and out from anywhere: the file on the command line, a dropped
// file, Recent Files, the export of the working copy and its folder.

#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "Ed_EGlow.h"
#include "M_Glunit.h"
#include "Main.h"
#include "app_fixture.h"
#include "app_start.h"
#include "app_state.h"
#include "command_line.h"
#include "file_size_limit.h"
#include "opt_builder.h"
#include "test_models.h"

class TFilesTest : public QObject {
    Q_OBJECT
private slots:
    void FileOnTheCommandLineOpensAfterStartUp()
    {
        TAppFixture app;
        app.PutColors(SampleColorBytes());
        QVERIFY(app.Create());
        const std::string chosen = app.Folder.File("models/ship.opt");
        WriteModel(chosen, {{0, 1}, {2, 3}});
        const TCommandLine line = ReadCommandLine({"Nimbra_Engine_Glow", QString::fromStdString(chosen)});
        QVERIFY(!line.ExitCode);
        ShowMainWindow(line.File);
        QTRY_VERIFY(EGlow->isVisible());
        QVERIFY(app.Dialogs.OpenRequests.empty());
        QVERIFY(app.Dialogs.Messages.empty());
        const std::string copy = app.ProjectFolder() + "ship.opt";
        QVERIFY(ReadBytes(copy) == ReadBytes(chosen));
        QCOMPARE(Me->BarPanel0->text(), QString::fromStdString(copy));
        QCOMPARE(CurMesh, 1);
        // Opened after the window's first show, which switches the keys off.
        QVERIFY(ViewReady);
    }

    void HelpAndVersionNeedNoDisplay()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        const auto run = [&](const QString& option) {
            QProcess editor;
            editor.setProcessEnvironment(env);
            editor.start(NEG_EDITOR, {option});
            editor.waitForFinished(20000);
            return std::pair(editor.exitCode(), QString::fromLocal8Bit(editor.readAllStandardOutput()));
        };
#ifdef _WIN32
        const QString lineEnd = "\r\n";  // standard output in text mode
#else
        const QString lineEnd = "\n";
#endif
        QCOMPARE(run("--version"), std::pair(0, "Nimbra_Engine_Glow ver 0.3" + lineEnd));
        const auto [code, help] = run("--help");
        QCOMPARE(code, 0);
        QVERIFY(help.contains("[FILE]") && help.contains("--version"));
    }

    void DroppedOptFileOpens()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = app.Folder.File("SHIP.OP1");
        WriteModel(chosen, {{1, 1}});
        QVERIFY(!Drop({QUrl::fromLocalFile(QString::fromStdString(app.Folder.File("notes.txt")))}));
        QVERIFY(!Drop({QUrl("https://example.org/ship.opt")}));
        const QUrl ship = QUrl::fromLocalFile(QString::fromStdString(chosen));
        QVERIFY(!Drop({ship, ship}));
        QVERIFY(Drop({ship}));
        QTRY_VERIFY(EGlow->isVisible());
        QVERIFY(ReadBytes(app.ProjectFolder() + "SHIP.OP1") == ReadBytes(chosen));
        QCOMPARE(Me->BarPanel0->text(), QString::fromStdString(app.ProjectFolder() + "SHIP.OP1"));
        QVERIFY(app.Dialogs.Messages.empty() && app.Dialogs.OpenRequests.empty());
    }

    void RecentFilesKeepTheLastEight()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        QVERIFY(!Me->RecentFiles1->isEnabled());
        QStringList opened;
        for (int i = 0; i < 9; ++i) {
            const std::string file = app.Folder.File(QString("m%1/ship%1.opt").arg(i).toStdString());
            WriteModel(file, {{1, 1}});
            opened.prepend(QDir::toNativeSeparators(QString::fromStdString(file)));  // as the menu spells it
            app.Dialogs.OpenAnswers.push_back(opened.front());
            Me->OpenOpt->trigger();
        }
        QCOMPARE(Entries(), opened.mid(0, 8));
        // Kept through a restart.
        DestroyForms();
        QVERIFY(app.Start());
        QCOMPARE(Entries(), opened.mid(0, 8));

        // An entry opens its file as Open Opt does, and goes to the top.
        Me->RecentFiles1->actions()[3]->trigger();
        QVERIFY(EGlow->isVisible());
        QCOMPARE(Me->BarPanel0->text(), QString::fromStdString(app.ProjectFolder() + "ship5.opt"));
        QCOMPARE(Entries().front(), opened[3]);
        QCOMPARE(Entries().size(), 8);

        // An entry whose file is gone says so and goes.
        std::filesystem::remove(opened[0].toStdString());
        Me->RecentFiles1->actions()[1]->trigger();
        QCOMPARE(app.Dialogs.TakeMessages(), QStringList({opened[0] + " is gone; it is taken off Recent Files."}));
        QCOMPARE(Entries().size(), 7);
        QVERIFY(!Entries().contains(opened[0]));
        QVERIFY(EGlow->isVisible());  // the open model stays
    }

    void ExportAndShowTheWorkingCopy()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        QVERIFY(!Me->ExportCopy1->isEnabled() && !Me->ShowCopy1->isEnabled());
        const std::string chosen = app.Folder.File("ship.opt");
        WriteModel(chosen, {{2, 1}});
        app.Dialogs.OpenAnswers.push_back(QString::fromStdString(chosen));
        Me->OpenOpt->trigger();
        const std::string copy = app.ProjectFolder() + "ship.opt";
        // The working copy differs from the original, as after an edit.
        std::vector<uint8_t> edited = ReadBytes(copy);
        edited.back() ^= 0xFF;
        optbuild::WriteFileBytes(copy, edited);

        // Over an earlier export: it is replaced whole.
        const std::string target = app.Folder.File("game/ship.opt");
        std::filesystem::create_directories(app.Folder.File("game"));
        optbuild::WriteFileBytes(target, {1, 2, 3});
        app.Dialogs.SaveAnswers.push_back(QString::fromStdString(target));
        Me->ExportCopy1->trigger();
        QCOMPARE(app.Dialogs.SaveRequests.size(), size_t(1));
        QCOMPARE(app.Dialogs.SaveRequests[0][2], QString::fromStdString(chosen));  // it starts at the original
        QVERIFY(ReadBytes(target) == edited);
        QCOMPARE(Me->BarMessage->text(), "Working copy exported to " + QDir::toNativeSeparators(QString::fromStdString(target)));
        QVERIFY(!Me->BarPanel0->text().isEmpty());

#ifdef NEG_HAVE_FILE_SIZE_LIMIT
        // An export whose writing fails leaves the earlier file there whole.
        const std::vector<uint8_t> earlier = {1, 2, 3};
        optbuild::WriteFileBytes(target, earlier);
        app.Dialogs.SaveAnswers.push_back(QString::fromStdString(target));
        {
            const FileSizeLimit limit(16);
            Me->ExportCopy1->trigger();
        }
        QCOMPARE(app.Dialogs.TakeMessages(),
                 QStringList({"Cannot write file " + QDir::toNativeSeparators(QString::fromStdString(target)) + "."}));
        QVERIFY(ReadBytes(target) == earlier);
        QCOMPARE(std::distance(std::filesystem::directory_iterator(app.Folder.File("game")), {}), 1);
#endif

        // Never onto the working copy itself.
        app.Dialogs.SaveAnswers.push_back(QString::fromStdString(app.ProjectFolder() + "./ship.opt"));
        Me->ExportCopy1->trigger();
        QCOMPARE(app.Dialogs.TakeMessages(), QStringList({"The working copy cannot be exported onto itself"}));
        QVERIFY(ReadBytes(copy) == edited);

        Me->ShowCopy1->trigger();
        QCOMPARE(app.Dialogs.OpenedUrls,
                 std::vector<QUrl>({QUrl::fromLocalFile(QString::fromStdString(app.ProjectFolder()))}));
        QVERIFY(app.Dialogs.Messages.empty());
    }

private:
    // Drags urls onto the main window and drops them there; false when the
    // window refuses them.
    static bool Drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = Me->P1->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Me, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Me, &drop);
        return drop.isAccepted();
    }

    // The paths Recent Files lists.
    static QStringList Entries()
    {
        QStringList paths;
        for (const QAction* item : Me->RecentFiles1->actions())
            paths << item->text().section(' ', 1, -1).replace("&&", "&");
        return paths;
    }
};

int RunFilesTests(int argc, char** argv)
{
    TFilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "files_test.moc"
