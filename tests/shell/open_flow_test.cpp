// The "Open Opt" flow: working copy, read, status, first mesh with glows, the
// view and the glow panel; and each way it stops early.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QMoveEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "glow_panel.h"
#include "value_dialog.h"
#include "main_window.h"
#include "app_fixture.h"
#include "open_document.h"
#include "dialog_seam.h"
#include "model.h"
#include "opt_builder.h"
#include "test_models.h"
#include "view_panel.h"
#include "write_faults.h"

namespace fs = std::filesystem;

class TOpenFlowTest : public QObject {
    Q_OBJECT
private slots:
    void ModelWithGlowsIsShown()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = app.Folder.File("models/ship.opt");
        WriteModel(chosen, {{0, 2}, {0, 1}, {2, 3}});
        MainWindow()->ViewState().Camera.RotY = 12;  // the camera carries over an open
        Open(app, chosen);

        QCOMPARE(app.Dialogs.OpenRequests.size(), size_t(1));
        const QStringList request = {" Locate an opt to read", "OPT Files (*.opt *.op1)",
                                     QString::fromStdString(app.ProjectFolder())};
        QCOMPARE(app.Dialogs.OpenRequests[0], request);
        QVERIFY(app.Dialogs.Messages.empty());
        const std::string copy = app.ProjectFolder() + "ship.opt";
        QCOMPARE(Document().OptFileName, std::string("ship.opt"));
        QVERIFY(ReadBytes(copy) == ReadBytes(chosen));
        QCOMPARE(MainWindow()->Items().PathLabel->text(), QString::fromStdString(copy));
        QCOMPARE(Document().Model.Meshes.Count(), 3);
        QCOMPARE(Document().Selection.SelectedId, 2);  // the first two meshes have no glows
        QCOMPARE(Document().Selection.CurMesh, 2);     // decoded by the first frame
        QCOMPARE(MainWindow()->View()->Restarts(), 1);
        QVERIFY(MainWindow()->ViewState().Ready);
        QVERIFY(GlowPanel()->isVisible());
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, 12);
        // The panel, a window of the main window, made none of the main
        // window's parts native: the view's OpenGL composition would fail.
        QVERIFY(!MainWindow()->centralWidget()->internalWinId());
    }

    // A mesh that lists more nodes than the reader takes: the open says in
    // the status bar what was left out.
    void WhatTheReaderLeftOutIsSaid()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = app.Folder.File("crowded.opt");
        WriteModel(chosen, {{60, 1}});  // vertices, 60 glows, faces
        Open(app, chosen);
        QVERIFY(app.Dialogs.Messages.empty());
        QCOMPARE(Document().Model.Meshes.Get(0).Glows.Count(), 49);
        QVERIFY(GlowPanel()->isVisible());
        QCOMPARE(MainWindow()->Items().MessageLabel->text(),
                 QString("11 glows and 1 other node past the reader's limits are left out"));
    }

    void ResizeRedrawsOnlyAShownModel()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        MainWindow()->showNormal();
        // Before a model is shown a resize draws nothing.
        int frames = MainWindow()->View()->FramesShown();
        MainWindow()->resize(800, 600);
        QCOMPARE(MainWindow()->View()->FramesShown(), frames);
        const std::string chosen = app.Folder.File("ship.opt");
        WriteModel(chosen, {{0, 2}, {1, 1}});
        Open(app, chosen);
        QCOMPARE(Document().Selection.CurMesh, 1);
        frames = MainWindow()->View()->FramesShown();
        MainWindow()->resize(900, 700);
        QVERIFY(MainWindow()->View()->FramesShown() > frames);  // the panel got a new picture at once
        QVERIFY(app.Dialogs.Messages.empty());
    }

    void MaximizedWindowsMoveTakesThePanelAlong()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = app.Folder.File("ship.opt");
        WriteModel(chosen, {{1, 1}});
        Open(app, chosen);
        QVERIFY(GlowPanel()->isVisible());
        const auto moveMain = [] {
            GlowPanel()->move(GlowPanel()->pos() + QPoint(40, 30));
            QMoveEvent event(MainWindow()->pos(), MainWindow()->pos() + QPoint(5, 5));
            QApplication::sendEvent(MainWindow(), &event);
        };
        // Maximized: the new place may come after the new size.
        MainWindow()->setWindowState(Qt::WindowMaximized);
        moveMain();
        QTRY_COMPARE(GlowPanel()->frameGeometry(), QRect(MainWindow()->Items().GlowPanelArea->mapToGlobal(QPoint(0, 0)), MainWindow()->Items().GlowPanelArea->size()));
        // Otherwise the user moved the window, and the panel stays put.
        MainWindow()->setWindowState(Qt::WindowNoState);
        const QPoint before = GlowPanel()->pos();
        moveMain();
        QCOMPARE(GlowPanel()->pos(), before + QPoint(40, 30));
    }

    // A copy that holds the same model, edited, is read without a question;
    // so is a file opened from the project folder itself. A copy of another
    // model under that name is the user's to keep or replace.
    void WorkingCopyOfAnotherModelAsks()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = app.Folder.File("models/ship.opt");
        const std::string copy = app.ProjectFolder() + "ship.opt";
        WriteModel(chosen, {{1, 1}});
        Open(app, chosen);
        std::vector<uint8_t> edited = ReadBytes(copy);
        edited[size_t(Document().Model.Meshes.Get(0).Glows.Get(0).FilePos) + 4] ^= 0xFF;
        optbuild::WriteFileBytes(copy, edited);
        Open(app, chosen);
        Open(app, copy);
        QVERIFY(app.Dialogs.Questions.empty());
        QVERIFY(ReadBytes(copy) == edited);

        const std::string other = app.Folder.File("other/ship.opt");
        WriteModel(other, {{0, 1}, {2, 1}});
        Open(app, other);  // cancelled: nothing is open
        QCOMPARE(app.Dialogs.Questions.size(), size_t(1));
        const QStringList question = app.Dialogs.Questions[0];
        QVERIFY2(question[0].contains(QString::fromStdString(copy + "\nholds another model than\n") +
                                      QDir::toNativeSeparators(QString::fromStdString(other))),
                 qPrintable(question[0]));
        QCOMPARE(question.mid(1), QStringList({"Continue with Working Copy", "Replace Working Copy", "Cancel"}));
        QVERIFY(!GlowPanel()->isVisible());
        QVERIFY(MainWindow()->Items().PathLabel->text().isEmpty());
        // Nor is there a working copy to export (over the file just refused).
        QVERIFY(!MainWindow()->Items().ExportCopyAction->isEnabled());
        app.Dialogs.AskAnswers = {0, 1};
        Open(app, other);  // continued: the copy and its edit
        QCOMPARE(Document().Model.Meshes.Count(), 1);
        QVERIFY(ReadBytes(copy) == edited);
        Open(app, other);  // replaced
        QVERIFY(ReadBytes(copy) == ReadBytes(other));
        QCOMPARE(Document().Model.Meshes.Count(), 2);
        QVERIFY(GlowPanel()->isVisible());
        QCOMPARE(MainWindow()->Items().PathLabel->text(), QString::fromStdString(copy));
        QVERIFY(app.Dialogs.Messages.empty());
    }

    // A damaged copy no longer blocks the repaired file of its name.
    void DamagedWorkingCopyCanBeReplaced()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = app.Folder.File("ship.opt");
        WriteModel(chosen, {{1, 1}});
        std::vector<uint8_t> damaged = ReadBytes(chosen);
        damaged.resize(damaged.size() / 2);
        std::filesystem::create_directories(app.ProjectFolder());
        optbuild::WriteFileBytes(app.ProjectFolder() + "ship.opt", damaged);
        app.Dialogs.AskAnswers = {1};
        Open(app, chosen);
        QCOMPARE(app.Dialogs.Questions.size(), size_t(1));
        QVERIFY2(app.Dialogs.Questions[0][0].contains("cannot be read: "), qPrintable(app.Dialogs.Questions[0][0]));
        QVERIFY(app.Dialogs.Messages.empty());
        QVERIFY(GlowPanel()->isVisible());
    }

    void ModelWithoutGlows()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = app.Folder.File("plain.op1");
        WriteModel(chosen, {{0, 2}, {0, 1}});
        Document().Selection.SelectedId = 5;
        Open(app, chosen);
        QCOMPARE(app.Dialogs.TakeMessages(), QStringList({"No engine glows in this model"}));
        QVERIFY(!app.Dialogs.Messages.size());
        QCOMPARE(MainWindow()->Items().PathLabel->text(), QString::fromStdString(app.ProjectFolder() + "plain.op1"));
        QCOMPARE(Document().Model.Meshes.Count(), 2);  // stays loaded, not shown
        QCOMPARE(Document().Selection.SelectedId, 5);
        QCOMPARE(MainWindow()->View()->Restarts(), 0);
        QVERIFY(!MainWindow()->ViewState().Ready);
        QVERIFY(!GlowPanel()->isVisible());
    }

    void CancelledDialogAfterAModel()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = app.Folder.File("ship.opt");
        WriteModel(chosen, {{1, 1}});
        Open(app, chosen);
        QVERIFY(GlowPanel()->isVisible());
        ValueDialog()->Open({{0, 0}}, TGlowValue::Center);

        Open(app, "");
        QVERIFY(app.Dialogs.Messages.empty());
        QCOMPARE(Document().Model.Meshes.Count(), 0);
        QVERIFY(!MainWindow()->ViewState().Ready);
        QVERIFY(!GlowPanel()->isVisible());
        QVERIFY(!ValueDialog()->isVisible());
        QVERIFY(!ValueDialog()->Glow());
        QVERIFY(MainWindow()->Items().PathLabel->text().isEmpty());  // nothing is open
    }

    void TypedNameOfAMissingFile()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string typed = app.Folder.File("none.opt");
        Open(app, typed);
        QCOMPARE(app.Dialogs.Messages.size(), size_t(1));
        QVERIFY(app.Dialogs.Messages[0].Error);
        QCOMPARE(app.Dialogs.Messages[0].Text, QString::fromStdString("Cannot open file " + typed + "."));
        QVERIFY(!fs::exists(app.ProjectFolder() + "none.opt"));
        QVERIFY(!MainWindow()->ViewState().Ready);
        QVERIFY(!GlowPanel()->isVisible());
        QVERIFY(MainWindow()->Items().PathLabel->text().isEmpty());
        QVERIFY(MainWindow()->isVisible());  // the program goes on
    }

    void PathsAndValuesShowAsTheyAre()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        // The real message box; the scripted dialogs come back below.
        SetDialogs(nullptr);
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = ShowsWhole(*box->findChild<QLabel*>("qt_msgbox_label"), "'<i title=no-room>1</i>2' is");
            box->accept();
        });
        Dialogs().Message("'<i title=no-room>1</i>2' is", true);
        SetDialogs(&app.Dialogs);
        QVERIFY(shown);

#ifdef _WIN32
        QSKIP("'<' and '>' cannot stand in a Windows file name: the status bar's part runs on Linux");
#endif
        // As rich text the tag and its attribute would take no room at all.
        const std::string name = "<b title=attributes-take-no-room>s.opt";
        const std::string chosen = app.Folder.File(name);
        WriteModel(chosen, {{0, 1}});
        Open(app, chosen);
        const QString copy = QString::fromStdString(app.ProjectFolder() + name);
        QCOMPARE(MainWindow()->Items().PathLabel->text(), copy);
        QVERIFY(ShowsWhole(*MainWindow()->Items().PathLabel, copy));
    }

#ifdef NEG_HAVE_WRITE_FAULTS
    // A write of several glows into the working copy killed part-way (by
    // optglow apply, killed between its two glows): the next open puts the
    // old bytes back before it reads the copy, and the status bar says so.
    void AnOpenTakesBackAWriteThatWasCutShort()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::string chosen = app.Folder.File("ship.opt");
        WriteModel(chosen, {{2, 1}});
        Open(app, chosen);
        const std::string copy = app.ProjectFolder() + "ship.opt";
        const std::vector<uint8_t> before = ReadBytes(copy);
        const std::string edits = app.Folder.File("edits.json");
        std::ofstream(edits) << R"({"edits": [{"mesh": 0, "glow": "*", "core": "FF405060"}]})";
        // The blocks are written in file order.
        const auto& glows = Document().Model.Meshes.Get(0).Glows;
        const int32_t second = std::max(glows.Get(0).FilePos, glows.Get(1).FilePos);
        QVERIFY(KilledAtWrite(second + 4, NEG_OPTGLOW, {"apply", copy, edits}));
        QVERIFY(ReadBytes(copy) != before);

        Open(app, chosen);
        QVERIFY(ReadBytes(copy) == before);
        QCOMPARE(MainWindow()->Items().MessageLabel->text(),
                 QString::fromStdString("An unfinished write of 2 glows into " + copy +
                                        " was taken back: the file is as it was before it"));
        QVERIFY(!fs::exists(app.ProjectFolder() + ".ship.opt.neg-record"));
        QVERIFY(GlowPanel()->isVisible());
        QVERIFY(app.Dialogs.Messages.empty());
    }
#endif

private:
    // A label showing markup as markup is as wide as the whole text; as
    // rich text the tags would take no room.
    static bool ShowsWhole(const QLabel& label, const QString& text)
    {
        return label.text() == text && label.sizeHint().width() >= label.fontMetrics().horizontalAdvance(text);
    }

    static void Open(TAppFixture& app, const std::string& answer)
    {
        app.Dialogs.OpenAnswers.push_back(QString::fromStdString(answer));
        MainWindow()->Items().OpenAction->trigger();
    }
};

int RunOpenFlowTests(int argc, char** argv)
{
    TOpenFlowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "open_flow_test.moc"
