// Files in and out from anywhere: the file on the command line, a dropped
// file, Recent Files, the export of the working copy and its folder.

#include <QDir>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QUrl>
#include <atomic>
#include <filesystem>
#include <thread>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

#include "color_settings.h"
#include "glow_panel.h"
#include "main_window.h"
#include "view_panel.h"
#include "app_fixture.h"
#include "app_start.h"
#include "open_document.h"
#include "command_line.h"
#include "file_size_limit.h"
#include "glow_record.h"
#include "model.h"
#include "opt_builder.h"
#include "path_names.h"
#include "recent_files.h"
#include "test_models.h"
#include "working_copy.h"

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
        app.Editor->Show(line.File);
        QTRY_VERIFY(GlowPanel()->isVisible());
        QVERIFY(app.Dialogs.OpenRequests.empty());
        QVERIFY(app.Dialogs.Messages.empty());
        const std::string copy = app.ProjectFolder() + "ship.opt";
        QVERIFY(ReadBytes(copy) == ReadBytes(chosen));
        QCOMPARE(MainWindow()->Items().PathLabel->text(), QString::fromStdString(copy));
        QCOMPARE(Document().Selection.CurMesh, 1);
        // Opened after the window's first show, which switches the keys off.
        QVERIFY(MainWindow()->ViewState().Ready);
    }

    void HelpAndVersionNeedNoDisplay()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        const auto run = [&](const QString& option, const QString& output = {}) {
            QProcess editor;
            editor.setProcessEnvironment(env);
            if (!output.isEmpty())
                editor.setStandardOutputFile(output);
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
#ifndef _WIN32
        // An answer that reached no file is no success.
        QCOMPARE(run("--version", "/dev/full").first, 1);
#endif
    }

#ifndef _WIN32
    // Under a file-size limit (ulimit -f) a write past it fails as any failed
    // write does, instead of the limit's signal ending the editor unheard.
    void AFileSizeLimitFailsTheWriteInsteadOfEndingTheEditor()
    {
        TempDir dir;
        QProcess editor;
        editor.setChildProcessModifier([] {
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 0;
            setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_DFL);
        });
        editor.setStandardOutputFile(QString::fromStdString(dir.File("version.txt")));
        editor.start(NEG_EDITOR, {"--version"});
        QVERIFY(editor.waitForFinished(20000));
        QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
        QCOMPARE(editor.exitCode(), 1);
    }
#endif

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
        QTRY_VERIFY(GlowPanel()->isVisible());
        QVERIFY(ReadBytes(app.ProjectFolder() + "SHIP.OP1") == ReadBytes(chosen));
        QCOMPARE(MainWindow()->Items().PathLabel->text(), QString::fromStdString(app.ProjectFolder() + "SHIP.OP1"));
        QVERIFY(app.Dialogs.Messages.empty() && app.Dialogs.OpenRequests.empty());
    }

    void ADropIsTakenAsACopy()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = app.Folder.File("ship.opt");
        WriteModel(chosen, {{1, 1}});
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(chosen))});
        const QPoint at = MainWindow()->View()->geometry().center();
        // A file manager offers a move too, and Shift proposes it: taken, it
        // would delete the user's model.
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(drop.proposedAction(), Qt::MoveAction);
        QApplication::sendEvent(MainWindow(), &enter);
        QApplication::sendEvent(MainWindow(), &drop);
        QVERIFY(enter.isAccepted() && drop.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        QTRY_VERIFY(GlowPanel()->isVisible());
    }

#ifndef _WIN32
    void ASettingsFileThatIsANamedPipeIsNotOpened()
    {
        TAppFixture app;
        const std::string folder = app.Folder.File("settings/NEG");
        std::filesystem::create_directories(folder);
        const std::string pipe = folder + "/NEG.ini";
        QCOMPARE(mkfifo(pipe.c_str(), 0600), 0);
        // A writer that waits for a reader: the settings opened it if it got
        // one before the test let it go.
        std::atomic<bool> released = false, openedByTheSettings = false;
        std::thread writer([&] {
            const int fd = open(pipe.c_str(), O_WRONLY);
            openedByTheSettings = !released;
            if (fd >= 0)
                close(fd);  // the end of the file for a reader
        });
        const QStringList files = recent_files::Load();
        released = true;
        const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
        writer.join();
        close(reader);
        QVERIFY(!openedByTheSettings);
        QVERIFY(files.isEmpty());
    }
#endif

    void RecentFilesKeepTheLastEight()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        QVERIFY(!MainWindow()->Items().RecentFilesMenu->isEnabled());
        QStringList opened;
        for (int i = 0; i < 9; ++i) {
            const std::string file = app.Folder.File(QString("m%1/ship%1.opt").arg(i).toStdString());
            WriteModel(file, {{1, 1}});
            opened.prepend(QDir::toNativeSeparators(QString::fromStdString(file)));  // as the menu spells it
            app.Dialogs.OpenAnswers.push_back(opened.front());
            MainWindow()->Items().OpenAction->trigger();
        }
        QCOMPARE(Entries(), opened.mid(0, 8));
        // Kept through a restart.
        app.Editor.reset();
        QVERIFY(app.Start());
        QCOMPARE(Entries(), opened.mid(0, 8));

        // An entry opens its file as Open Opt does, and goes to the top.
        MainWindow()->Items().RecentFilesMenu->actions()[3]->trigger();
        QVERIFY(GlowPanel()->isVisible());
        QCOMPARE(MainWindow()->Items().PathLabel->text(), QString::fromStdString(app.ProjectFolder() + "ship5.opt"));
        QCOMPARE(Entries().front(), opened[3]);
        QCOMPARE(Entries().size(), 8);

        // An entry whose file is gone says so and goes.
        std::filesystem::remove(opened[0].toStdString());
        MainWindow()->Items().RecentFilesMenu->actions()[1]->trigger();
        QCOMPARE(app.Dialogs.TakeMessages(), QStringList({opened[0] + " is gone; it is taken off Recent Files."}));
        QCOMPARE(Entries().size(), 7);
        QVERIFY(!Entries().contains(opened[0]));
        QVERIFY(GlowPanel()->isVisible());  // the open model stays
    }

    void ExportAndShowTheWorkingCopy()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        QVERIFY(!MainWindow()->Items().ExportCopyAction->isEnabled() && !MainWindow()->Items().ShowCopyAction->isEnabled());
        const std::string chosen = app.Folder.File("ship.opt");
        WriteModel(chosen, {{2, 1}});
        app.Dialogs.OpenAnswers.push_back(QString::fromStdString(chosen));
        MainWindow()->Items().OpenAction->trigger();
        const std::string copy = app.ProjectFolder() + "ship.opt";
        // The working copy differs from the original after an edit.
        TEngineGlow glow = Document().Model.Meshes.Get(0).Glows.Get(0);
        glow.CoreColor ^= 0xFF;
        const TGlowPatch patch{glow.FilePos, EncodeGlowWriteBack(glow)};
        PatchWorkingCopyGlows(Document(), {&patch, 1});
        const std::vector<uint8_t> edited = ReadBytes(copy);
        QVERIFY(edited != ReadBytes(chosen));

        // Over an earlier export: it is replaced whole.
        const std::string target = app.Folder.File("game/ship.opt");
        std::filesystem::create_directories(app.Folder.File("game"));
        optbuild::WriteFileBytes(target, {1, 2, 3});
        namespace fs = std::filesystem;
        const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
        fs::permissions(target, mode);
        app.Dialogs.SaveAnswers.push_back(QString::fromStdString(target));
        MainWindow()->Items().ExportCopyAction->trigger();
        QCOMPARE(app.Dialogs.SaveRequests.size(), size_t(1));
        QCOMPARE(app.Dialogs.SaveRequests[0][2], QString::fromStdString(chosen));  // it starts at the original
        QVERIFY(ReadBytes(target) == edited);
        QCOMPARE(MainWindow()->Items().MessageLabel->text(), "Working copy exported to " + QDir::toNativeSeparators(QString::fromStdString(target)));
        QVERIFY(!MainWindow()->Items().PathLabel->text().isEmpty());
#ifndef _WIN32
        // As saving does: the earlier file keeps its permissions, and a link
        // is written through.
        QCOMPARE(fs::status(target).permissions(), mode);
        const std::string link = app.Folder.File("game/link.opt");
        fs::create_symlink(target, link);
        optbuild::WriteFileBytes(target, {1, 2, 3});
        app.Dialogs.SaveAnswers.push_back(QString::fromStdString(link));
        MainWindow()->Items().ExportCopyAction->trigger();
        QVERIFY(fs::is_symlink(link) && ReadBytes(target) == edited);
#endif

        // Never onto the working copy itself.
        app.Dialogs.SaveAnswers.push_back(QString::fromStdString(app.ProjectFolder() + "./ship.opt"));
        MainWindow()->Items().ExportCopyAction->trigger();
        QCOMPARE(app.Dialogs.TakeMessages(), QStringList({"The working copy cannot be exported onto itself"}));
        QVERIFY(ReadBytes(copy) == edited);

        MainWindow()->Items().ShowCopyAction->trigger();
        QCOMPARE(app.Dialogs.OpenedUrls,
                 std::vector<QUrl>({QUrl::fromLocalFile(QString::fromStdString(app.ProjectFolder()))}));
        QVERIFY(app.Dialogs.Messages.empty());
    }

#ifdef NEG_HAVE_FILE_SIZE_LIMIT
    void AnExportThatCannotBeWrittenKeepsTheEarlierFile()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        OpenShip(app);
        std::filesystem::create_directories(app.Folder.File("game"));
        const std::string target = app.Folder.File("game/ship.opt");
        optbuild::WriteFileBytes(target, {1, 2, 3});
        app.Dialogs.SaveAnswers.push_back(QString::fromStdString(target));
        {
            // A disk that is full after 100 bytes, well within the model.
            FileSizeLimit limit(100);
            MainWindow()->Items().ExportCopyAction->trigger();
        }
        QCOMPARE(app.Dialogs.Messages.size(), size_t(1));
        QVERIFY(app.Dialogs.Messages[0].Error);
        QCOMPARE(app.Dialogs.Messages[0].Text, QString::fromStdString("Cannot write file " + target + "."));
        QVERIFY(ReadBytes(target) == std::vector<uint8_t>({1, 2, 3}));
        QCOMPARE(std::distance(std::filesystem::directory_iterator(app.Folder.File("game")), {}), 1);
        QVERIFY(MainWindow()->Items().MessageLabel->text().isEmpty());
    }
#endif

    void AnExportRefusesAWorkingCopyThatChangedOnDisk()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = OpenShip(app);
        const std::vector<uint8_t> original = ReadBytes(chosen);
        // A second editor replaced it with its own ship.opt, another model.
        const std::string copy = app.ProjectFolder() + "ship.opt";
        WriteModel(app.Folder.File("other/ship.opt"), {{1, 1}, {3, 2}});
        std::filesystem::rename(app.Folder.File("other/ship.opt"), copy);
        app.Dialogs.SaveAnswers.push_back(QString::fromStdString(chosen));
        MainWindow()->Items().ExportCopyAction->trigger();
        QCOMPARE(app.Dialogs.Messages.size(), size_t(1));
        QVERIFY(app.Dialogs.Messages[0].Error);
        QCOMPARE(app.Dialogs.Messages[0].Text,
                 QString::fromStdString("The working copy " + copy +
                                        " changed on disk since it was opened; nothing was written. Open it again "
                                        "to edit it."));
        QVERIFY(ReadBytes(chosen) == original);
    }

#ifndef _WIN32
    // A link where a file is written is written through, as saving through a
    // link does: the link stays and its target gets the bytes, also a target
    // that is not there yet.
    void ExportsAndColoursWriteThroughLinks()
    {
        namespace fs = std::filesystem;
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        OpenShip(app);
        fs::create_directories(app.Folder.File("game"));
        const std::string dangling = app.Folder.File("game/link.opt");
        fs::create_symlink("ship.opt", dangling);
        app.Dialogs.SaveAnswers.push_back(QString::fromStdString(dangling));
        MainWindow()->Items().ExportCopyAction->trigger();
        QVERIFY(fs::is_symlink(dangling));
        QVERIFY(ReadBytes(app.Folder.File("game/ship.opt")) == ReadBytes(app.ProjectFolder() + "ship.opt"));

        const std::string picture = app.Folder.File("game/view.png");
        const std::string pictureLink = app.Folder.File("view.png");
        optbuild::WriteFileBytes(picture, {1, 2, 3});
        fs::create_symlink(picture, pictureLink);
        app.Dialogs.SaveAnswers.push_back(QString::fromStdString(pictureLink));
        MainWindow()->Items().ExportPictureAction->trigger();
        QVERIFY(fs::is_symlink(pictureLink));
        QVERIFY(!QImage(QString::fromStdString(picture)).isNull());

        // Colors.dat kept in a folder of its own and linked into Data/.
        const std::string colors = app.DataFolder() + "Colors.dat";
        const std::string kept = app.Folder.File("dotfiles/Colors.dat");
        fs::create_directories(app.Folder.File("dotfiles"));
        fs::rename(colors, kept);
        fs::create_symlink(kept, colors);
        app.Dialogs.ColorAnswers.push_back(QColor(255, 0, 0));
        ColorSettings()->EntryList->setCurrentRow(1);
        ColorSettings()->ChooseEntryColor();
        QVERIFY(fs::is_symlink(colors));
        const std::vector<uint8_t> saved = ReadBytes(kept);
        QCOMPARE(saved.size(), size_t(84));
        QVERIFY(std::vector<uint8_t>(saved.begin() + 12, saved.begin() + 16) ==
                std::vector<uint8_t>({0x00, 0x00, 0x80, 0x3F}));
        QVERIFY(app.Dialogs.Messages.empty());
    }

    // No export writes into the editor's own Project/ or Data/, whatever
    // link leads there: it would replace another working copy or the
    // colours. The message names the file.
    void NoExportWritesIntoTheEditorsOwnFolders()
    {
        namespace fs = std::filesystem;
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string other = app.ProjectFolder() + "other.opt";
        WriteModel(other, {{1, 1}});
        const std::vector<uint8_t> otherBytes = ReadBytes(other);
        OpenShip(app);
        const std::string colors = app.DataFolder() + "Colors.dat";
        const std::vector<uint8_t> colorBytes = ReadBytes(colors);
        fs::create_directories(app.Folder.File("out"));
        fs::create_symlink(other, app.Folder.File("out/w.opt"));
        fs::create_symlink(colors, app.Folder.File("out/view.png"));
        fs::create_symlink(app.DataFolder(), app.Folder.File("data"));
        for (const char* target : {"out/w.opt", "out/view.png", "data/Colors.dat"}) {
            app.Dialogs.SaveAnswers.push_back(QString::fromStdString(app.Folder.File(target)));
            (std::string(target).ends_with(".png") ? MainWindow()->Items().ExportPictureAction : MainWindow()->Items().ExportCopyAction)
                ->trigger();
        }
        QCOMPARE(app.Dialogs.TakeMessages(),
                 QStringList({
                     QString::fromStdString("The working copy cannot be exported into the working copies' folder: " + other),
                     QString::fromStdString("The picture cannot be exported into the editor's Data folder: " + colors),
                     QString::fromStdString("The working copy cannot be exported into the editor's Data folder: " +
                                            app.Folder.File("data/Colors.dat")),
                 }));
        QVERIFY(ReadBytes(other) == otherBytes);
        QVERIFY(ReadBytes(colors) == colorBytes);
        QVERIFY(MainWindow()->Items().MessageLabel->text().isEmpty());
    }
#endif

#ifdef __linux__
    // A name that is not UTF-8 reaches the system as the bytes it is: the file
    // dropped is the file opened, never another one of a similar name, and
    // Recent Files keeps the name.
    void NamesThatAreNotUtf8AreTheFilesChosen()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const auto url = [](const std::string& path) {
            return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
        };
        // Recent Files read anew from the settings file (Qt would answer from
        // its cache).
        const auto settingsReadAnew = [&] {
            const std::string settings = app.Folder.File("settings/NEG/NEG.ini");
            const auto written = std::filesystem::last_write_time(settings);
            std::filesystem::last_write_time(settings, written + std::chrono::seconds(5));
        };
        const std::string plain = app.Folder.File("plain.opt");
        WriteModel(plain, {{1, 1}});
        app.Dialogs.OpenAnswers.push_back(QString::fromStdString(plain));
        MainWindow()->Items().OpenAction->trigger();
        settingsReadAnew();

        // Project/ship.opt holds another model than bad<FF>dir/ship.opt.
        WriteModel(app.ProjectFolder() + "ship.opt", {{1, 1}});
        std::filesystem::create_directories(app.Folder.File("bad\xFF" "dir"));
        WriteModel(app.Folder.File("bad\xFF" "dir/ship.opt"), {{2, 1}, {0, 1}});
        QVERIFY(Drop({url(app.Folder.File("bad\xFF" "dir/ship.opt"))}));
        QTRY_COMPARE(app.Dialogs.Questions.size(), size_t(1));  // the question is cancelled
        QVERIFY(!GlowPanel()->isVisible());

        const std::string named = app.Folder.File("b\xFEq.opt");
        WriteModel(named, {{1, 2}});
        QVERIFY(Drop({url(named)}));
        QTRY_VERIFY(GlowPanel()->isVisible());
        QVERIFY(ReadBytes(app.ProjectFolder() + "b\xFEq.opt") == ReadBytes(named));
        QVERIFY(app.Dialogs.Messages.empty());

        settingsReadAnew();
        app.Editor.reset();
        QVERIFY(app.Start());
        QCOMPARE(Entries().size(), 2);
        QCOMPARE(Entries()[1], QDir::toNativeSeparators(QString::fromStdString(plain)));
        std::filesystem::remove(app.ProjectFolder() + "b\xFEq.opt");
        MainWindow()->Items().RecentFilesMenu->actions()[0]->trigger();
        QVERIFY(app.Dialogs.Messages.empty());
        QVERIFY(GlowPanel()->isVisible());
        QVERIFY(ReadBytes(app.ProjectFolder() + "b\xFEq.opt") == ReadBytes(named));

        // Opened by a name relative to the current folder, as a command line
        // gives it: the exports propose that file's own name.
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QString::fromStdString(app.Folder.Path())));
        const std::string here = std::filesystem::current_path().native() + "/";
        MainWindow()->OpenModel(PathText("b\xFEq.opt"));
        MainWindow()->Items().ExportCopyAction->trigger();
        MainWindow()->Items().ExportPictureAction->trigger();
        QVERIFY(QDir::setCurrent(current));
        QCOMPARE(app.Dialogs.SaveRequests.size(), size_t(2));
        QCOMPARE(app.Dialogs.SaveRequests[0][2], PathText(here + "b\xFEq.opt"));
        QCOMPARE(app.Dialogs.SaveRequests[1][2], PathText(here + "b\xFEq.png"));
        QVERIFY(app.Dialogs.Messages.empty());
    }
#endif

private:
    // Opens a small ship.opt of the application folder; returns its path.
    static std::string OpenShip(TAppFixture& app)
    {
        const std::string chosen = app.Folder.File("ship.opt");
        WriteModel(chosen, {{2, 1}});
        app.Dialogs.OpenAnswers.push_back(QString::fromStdString(chosen));
        MainWindow()->Items().OpenAction->trigger();
        return chosen;
    }

    // Drags urls onto the main window and drops them there; false when the
    // window refuses them.
    static bool Drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = MainWindow()->View()->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(MainWindow(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(MainWindow(), &drop);
        return drop.isAccepted();
    }

    // The paths Recent Files lists.
    static QStringList Entries()
    {
        QStringList paths;
        for (const QAction* item : MainWindow()->Items().RecentFilesMenu->actions())
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
