// Files in and out from anywhere: the file on the command line.

#include <QLabel>
#include <QProcess>
#include <QTest>

#include "Ed_EGlow.h"
#include "Main.h"
#include "app_fixture.h"
#include "app_start.h"
#include "app_state.h"
#include "command_line.h"
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
        QCOMPARE(run("--version"), std::pair(0, QString("Nimbra_Engine_Glow ver 0.3\n")));
        const auto [code, help] = run("--help");
        QCOMPARE(code, 0);
        QVERIFY(help.contains("[FILE]") && help.contains("--version"));
    }
};

int RunFilesTests(int argc, char** argv)
{
    TFilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "files_test.moc"
