// Picking with real mouse clicks on the main window's view: what is selected,
// what wins where outlines overlap, and which clicks do not pick. The glow
// panel's title follows every pick.

#include <QTest>

#include "glow_panel.h"
#include "view_panel.h"
#include "main_window.h"
#include "app_fixture.h"
#include "open_document.h"
#include "user_support.h"

using namespace optbuild;

namespace {

std::vector<GlowRecord> Glows(int n)
{
    std::vector<GlowRecord> glows;
    for (int i = 0; i < n; ++i)
        glows.push_back(NumberedGlow(i));
    return glows;
}

// Coordinates span -30..30, so the view spans -40..40.
//  mesh 0, no glows: a square at the upper left, and a triangle whose top
//          edge lies on mesh 1's bottom edge
//  mesh 1, 2 glows: square x 5..15, y 5..15; triangle (20,5) (30,5) (20,15)
//  mesh 2, 1 glow: square x -15..-5, y -15..-5 at z 30
//  mesh 3, 3 glows: square x -10..0, y -10..0 at z -30, in front of mesh 2
//          (the fitted depth range puts smaller z nearer); triangle at the
//          lower left
// The glows sit near (-8, 26), away from every click.
std::vector<TUserMesh> PickModel()
{
    return {
        {{{-30, 15, 0}, {-20, 15, 0}, {-20, 25, 0}, {-30, 25, 0}, {5, 5, 0}, {15, 5, 0}, {10, 1, 0}},
         {Quad(0, 1, 2, 3), Tri(4, 5, 6)},
         {}},
        {{{5, 5, 0}, {15, 5, 0}, {15, 15, 0}, {5, 15, 0}, {20, 5, 0}, {30, 5, 0}, {20, 15, 0}},
         {Quad(0, 1, 2, 3), Tri(4, 5, 6)},
         Glows(2)},
        {{{-15, -15, 30}, {-5, -15, 30}, {-5, -5, 30}, {-15, -5, 30}}, {Quad(0, 1, 2, 3)}, Glows(1)},
        {{{-10, -10, -30}, {0, -10, -30}, {0, 0, -30}, {-10, 0, -30},
          {-28, -28, -30}, {-20, -28, -30}, {-28, -20, -30}},
         {Quad(0, 1, 2, 3), Tri(4, 5, 6)},
         Glows(3)},
    };
}

const int GlowCount[] = {0, 2, 1, 3};

QString ClickReport(float x, float y)
{
    return QString("click at (%1, %2): SelectedId %3").arg(x).arg(y).arg(Document().Selection.SelectedId);
}

}  // namespace

class TPickTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        MakeFresh(App);
        QVERIFY(App->StartWithSampleColors());
        WriteUserModel(App->Folder.File("pick.opt"), PickModel());
        QVERIFY(OpenThroughMenu(App->Dialogs, App->Folder.File("pick.opt")));
        QCOMPARE(MainWindow()->ViewState().Camera.ViewMax, 40);
        QCOMPARE(MainWindow()->ViewState().Camera.ViewMin, -40);
        const qreal ratio = MainWindow()->View()->devicePixelRatioF();
        QCOMPARE(MainWindow()->View()->DeviceSize().width(), qRound(MainWindow()->View()->width() * ratio));
        QCOMPARE(MainWindow()->View()->DeviceSize().height(), qRound(MainWindow()->View()->height() * ratio));
        QVERIFY(MainWindow()->View()->DeviceSize().width() >= 200);  // a unit is at least two pixels
        QCOMPARE(Document().Selection.SelectedId, 1);
    }
    void cleanup()
    {
        QVERIFY(App->Dialogs.Messages.empty());
        App.reset();
    }

    void MeshModeSelectsTheFirstMeshDrawnUnderTheMouse()
    {
        const auto pick = [](float x, float y, int mesh) {
            ClickView(x, y);
            QVERIFY2(Document().Selection.SelectedId == mesh, qPrintable(ClickReport(x, y)));
            QCOMPARE(Document().Selection.CurMesh, mesh);
            QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(GlowCount[mesh], mesh));
        };
        CHECKED(pick(0, -5, 3));
        CHECKED(pick(25, 5, 1));
        // Both squares pass through (-5, -10): mesh 2 is drawn first and
        // wins, though mesh 3 lies in front of it.
        CHECKED(pick(-5, -10, 2));
        CHECKED(pick(-20, -28, 3));
        // Turned half round, mesh 2 lies in front; it still wins.
        MainWindow()->ViewState().Camera.RotY = 180;
        MainWindow()->Redraw();
        CHECKED(pick(5, -10, 2));
        MainWindow()->ViewState().Camera.RotY = 0;
        MainWindow()->Redraw();

        // Nothing drawn there: the selection stays.
        CHECKED(pick(0, -5, 3));
        CHECKED(pick(-25, 0, 3));
        CHECKED(pick(-7, 26, 3));    // beside the glow shown at (-8, 26)
        CHECKED(pick(-25, 25, 3));   // mesh 0 has no glows and is not drawn
        CHECKED(pick(10, 5, 1));     // mesh 0's edge lies under mesh 1's: mesh 1
        QVERIFY(MainWindow()->View()->LastFrameComplete());  // the picks left the view drawing
    }

    void FaceModePacksMeshAndFace()
    {
        QVERIFY(ChooseMenu(MainWindow()->Items().DisplayMenu, MainWindow()->Items().FaceModeAction));
        const auto pick = [](float x, float y, int mesh, int face) {
            ClickView(x, y);
            QVERIFY2(Document().Selection.SelectedId == PackSelection(mesh, face), qPrintable(ClickReport(x, y)));
            QCOMPARE(Document().Selection.CurMesh, mesh);
            QCOMPARE(Document().Selection.CurFace, face);
            QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(GlowCount[mesh], mesh));
        };
        CHECKED(pick(25, 5, 1, 1));
        CHECKED(pick(-24, -28, 3, 1));
        CHECKED(pick(15, 10, 1, 0));
        CHECKED(pick(-5, -10, 2, 0));
        CHECKED(pick(-25, 0, 2, 0));  // nothing there

        // Back in mesh mode a packed face names no mesh, and the last mesh
        // becomes current: the panel describes it, in either mode.
        CHECKED(pick(25, 5, 1, 1));
        QVERIFY(ChooseMenu(MainWindow()->Items().DisplayMenu, MainWindow()->Items().MeshModeAction));
        QCOMPARE(Document().Selection.CurMesh, 3);
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(3, 3));
        QVERIFY(ChooseMenu(MainWindow()->Items().DisplayMenu, MainWindow()->Items().FaceModeAction));
        QCOMPARE(Document().Selection.CurMesh, 1);
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(2, 1));
    }

    void OnlyAPlainLeftClickPicks()
    {
        // Mesh 3 lies under the mouse; mesh 1 stays selected.
        const QPoint at = ViewPoint(0, -5);
        QTest::mouseClick(MainWindow()->View(), Qt::RightButton, {}, at);
        QTest::mouseClick(MainWindow()->View(), Qt::MiddleButton, {}, at);
        for (Qt::KeyboardModifier key : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
            QTest::mouseClick(MainWindow()->View(), Qt::LeftButton, key, at);
        // The second press of a double click.
        QTest::mouseDClick(MainWindow()->View(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, at);
        // The left button pressed while the right one is held.
        QTest::mousePress(MainWindow()->View(), Qt::RightButton, {}, at);
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(MainWindow()->View(), Qt::RightButton, {}, at);
        QCOMPARE(Document().Selection.SelectedId, 1);
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(2, 1));

        // The same place with a plain click.
        QTest::mouseClick(MainWindow()->View(), Qt::LeftButton, {}, at);
        QCOMPARE(Document().Selection.SelectedId, 3);
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(3, 3));
    }

private:
    std::unique_ptr<TAppFixture> App;
};

int RunPickTests(int argc, char** argv)
{
    TPickTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "pick_test.moc"
