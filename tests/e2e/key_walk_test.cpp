// A short walk with the keyboard, as a user looks around a model: N and P
// through the meshes, then through the faces of one mesh, then the camera
// turned with the arrows at a movement rate chosen in the glow panel.

#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <QTest>

#include "glow_panel.h"
#include "value_dialog.h"
#include "view_panel.h"
#include "main_window.h"
#include "app_fixture.h"
#include "open_document.h"
#include "click_list.h"
#include "user_support.h"

using namespace optbuild;

class TKeyWalkTest : public QObject {
    Q_OBJECT
private slots:
    void WalkThroughMeshesFacesAndTheCamera()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        // Mesh 0: 2 glows, 3 faces; mesh 1: no glows; mesh 2: 1 glow, 2 faces.
        const std::vector<TVertex> corners = {{-20, -20, 0}, {20, -20, 0}, {20, 20, 0}, {-20, 20, 5}};
        WriteUserModel(app.Folder.File("walk.opt"),
                       {{corners, {Tri(0, 1, 2), Tri(0, 2, 3), Quad(0, 1, 2, 3)}, {NumberedGlow(0), NumberedGlow(1)}},
                        {corners, {Tri(0, 1, 3)}, {}},
                        {corners, {Tri(1, 2, 3), Tri(0, 1, 2)}, {NumberedGlow(2)}}});
        QVERIFY(OpenThroughMenu(app.Dialogs, app.Folder.File("walk.opt")));
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(2, 0));

        // Meshes, the one without glows included; the ends wrap.
        CHECKED(PressOn(MainWindow(), Qt::Key_N));
        QCOMPARE(Document().Selection.CurMesh, 1);
        QCOMPARE(GlowPanel()->windowTitle(), QString("Engine Glow Editor   "));
        QCOMPARE(Document().Selection.EditGlow, -1);
        CHECKED(PressOn(MainWindow(), Qt::Key_N));
        QCOMPARE(Document().Selection.SelectedId, 2);
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(1, 2));
        QCOMPARE(Document().Selection.EditGlow, 0);
        CHECKED(PressOn(MainWindow(), Qt::Key_N));
        QCOMPARE(Document().Selection.CurMesh, 0);
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(2, 0));
        CHECKED(PressOn(MainWindow(), Qt::Key_P));
        QCOMPARE(Document().Selection.CurMesh, 2);
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(1, 2));
        // With Ctrl held the letters step all the same.
        CHECKED(PressOn(MainWindow(), Qt::Key_P, Qt::ControlModifier));
        QCOMPARE(Document().Selection.SelectedId, 1);
        QCOMPARE(Document().Selection.CurFace, 0);
        CHECKED(PressOn(MainWindow(), Qt::Key_N, Qt::ControlModifier));
        QCOMPARE(Document().Selection.SelectedId, 2);

        // Faces of mesh 2: the highlight steps and wraps; the mesh stays.
        // Face 0 alone has the top edge, face 1 alone the bottom one; the
        // current face is drawn over the others in the selection colour.
        const auto highlighted = [] {
            return ViewShows(0, 20, ColSelected) ? 0 : ViewShows(0, -20, ColSelected) ? 1 : -1;
        };
        QVERIFY(ChooseMenu(MainWindow()->Items().DisplayMenu, MainWindow()->Items().FaceModeAction));
        QCOMPARE(Document().Selection.CurFace, 0);
        QCOMPARE(highlighted(), 0);
        CHECKED(PressOn(MainWindow(), Qt::Key_N));
        QCOMPARE(Document().Selection.SelectedId, PackSelection(2, 1));
        QCOMPARE(Document().Selection.CurFace, 1);
        QCOMPARE(highlighted(), 1);
        CHECKED(PressOn(MainWindow(), Qt::Key_N));
        QCOMPARE(Document().Selection.SelectedId, PackSelection(2, 0));
        QCOMPARE(highlighted(), 0);
        CHECKED(PressOn(MainWindow(), Qt::Key_P));
        QCOMPARE(Document().Selection.SelectedId, PackSelection(2, 1));
        QCOMPARE(highlighted(), 1);
        QCOMPARE(Document().Selection.CurMesh, 2);
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(1, 2));

        // The camera: 4 degrees a press, then 7 once the panel says so.
        CHECKED(PressOn(MainWindow(), Qt::Key_Right));
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, 4);
        CHECKED(PressOn(MainWindow(), Qt::Key_Up));
        QCOMPARE(MainWindow()->ViewState().Camera.RotX, -4);
        ClickListItem(GlowPanel()->RateList, 6);
        QCOMPARE(MainWindow()->ViewState().Camera.RotStep, 7);
        QCOMPARE(GlowPanel()->RateLabel->text(), QString("Movement Rate = 7"));
        CHECKED(PressOn(MainWindow(), Qt::Key_Right));
        CHECKED(PressOn(MainWindow(), Qt::Key_Down));
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, 11);
        QCOMPARE(MainWindow()->ViewState().Camera.RotX, 3);
        // The selection is untouched by the camera.
        QCOMPARE(Document().Selection.SelectedId, PackSelection(2, 1));

        // Back to meshes the packed face names no mesh: the last one stays
        // selected, and N wraps to mesh 0.
        QVERIFY(ChooseMenu(MainWindow()->Items().DisplayMenu, MainWindow()->Items().MeshModeAction));
        QCOMPARE(Document().Selection.CurMesh, 2);
        QCOMPARE(Document().Selection.SelectedId, 65536 + 2);  // face 1 of mesh 2
        CHECKED(PressOn(MainWindow(), Qt::Key_N));
        QCOMPARE(Document().Selection.SelectedId, 0);
        QCOMPARE(Document().Selection.CurMesh, 0);
        QVERIFY(app.Dialogs.Messages.empty());
    }

    // One action, one frame: the key, the panel's step, the pick and the
    // confirmed edit each show exactly one new picture.
    void EveryActionDrawsOneFrame()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::vector<TVertex> corners = {{-20, -20, 0}, {20, -20, 0}, {20, 20, 0}, {-20, 20, 5}};
        WriteUserModel(app.Folder.File("frames.opt"),
                       {{corners, {Tri(0, 1, 2), Quad(0, 1, 2, 3)}, {NumberedGlow(0), NumberedGlow(1)}},
                        {corners, {Tri(1, 2, 3)}, {NumberedGlow(2)}}});
        QVERIFY(OpenThroughMenu(app.Dialogs, app.Folder.File("frames.opt")));
        const auto frames = [&app](const char* action, const std::function<void()>& act) {
            const int before = MainWindow()->View()->FramesShown();
            act();
            QVERIFY2(MainWindow()->View()->FramesShown() - before == 1,
                     qPrintable(QString("%1: %2 frames").arg(action).arg(MainWindow()->View()->FramesShown() - before)));
            QVERIFY(app.Dialogs.Messages.empty());
        };
        CHECKED(frames("Left", [&] { PressOn(MainWindow(), Qt::Key_Left); }));
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, -4);
        CHECKED(frames("N", [&] { PressOn(MainWindow(), Qt::Key_N); }));
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(1, 1));
        CHECKED(frames("P", [&] { PressOn(MainWindow(), Qt::Key_P); }));
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(2, 0));
        CHECKED(frames("step", [] { QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton); }));
        QCOMPARE(Document().Selection.EditGlow, 1);
        MainWindow()->ViewState().Camera.RotY = 0;
        CHECKED(frames("pick", [] { ClickView(20, 0); }));
        QCOMPARE(Document().Selection.SelectedId, 0);
        CHECKED(frames("pick of another mesh", [] { ClickView(-10, 10); }));
        QCOMPARE(Document().Selection.SelectedId, 1);
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        ClickListItem(GlowPanel()->ItemList, 3);
        QVERIFY(ValueDialog()->isVisible());
        ValueDialog()->SetCell(0, 1, "9.5");
        CHECKED(frames("edit", [] { QTest::mouseClick(ValueDialog()->StoreButton, Qt::LeftButton); }));
        QCOMPARE(Document().Model.Meshes.Get(1).Glows.Get(0).MainVec.X, 9.5f);
    }

    // Presses queued while a frame is being made (the window system hands
    // them over together, after it) are all applied before the next frame:
    // the first press draws at once, the three behind its frame share one
    // further frame, and the camera turns by all four.
    void InputGivenDuringAFrameSharesOneFrame()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        const std::vector<TVertex> corners = {{-20, -20, 0}, {20, -20, 0}, {20, 20, 0}, {-20, 20, 5}};
        WriteUserModel(app.Folder.File("held.opt"), {{corners, {Tri(0, 1, 2)}, {NumberedGlow(0)}}});
        QVERIFY(OpenThroughMenu(app.Dialogs, app.Folder.File("held.opt")));
        MainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(MainWindow()));
        const TCamera& camera = MainWindow()->ViewState().Camera;
        const int32_t turned = camera.RotY - 4 * camera.RotStep;
        const int before = MainWindow()->View()->FramesShown();
        QTest::keyClick(app.KeyTarget(), Qt::Key_Left);
        QCOMPARE(MainWindow()->View()->FramesShown(), before + 1);
        for (int press = 0; press < 3; ++press)
            QCoreApplication::postEvent(app.KeyTarget(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier));
        // Delivered by a running event loop, as the program's own, until the
        // camera has turned by all four and no frame waits.
        QEventLoop loop;
        QTimer settled;
        connect(&settled, &QTimer::timeout, &loop, [&] {
            if (camera.RotY == turned && !MainWindow()->FramePending())
                loop.quit();
        });
        settled.start(0);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);  // fails below rather than hang
        loop.exec();
        QCOMPARE(camera.RotY, turned);
        QCOMPARE(MainWindow()->View()->FramesShown(), before + 2);
        QVERIFY(app.Dialogs.Messages.empty());
    }
};

int RunKeyWalkTests(int argc, char** argv)
{
    TKeyWalkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "key_walk_test.moc"
