// Picking: the face pass drawn in selection mode around a pixel; the first
// name hit in drawing order becomes SelectedId.

#include <GL/gl.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "app_state.h"
#include "view_fixture.h"
#include "view_state.h"

using namespace viewtest;

namespace {

// Bounds -4..4 on a panel 400 pixels wide (times the screen's scale).
//  mesh 0, no glows: square over x -3..-1, y 1..3
//  mesh 1: square over x 1..3, y 1..3; its glow sits at the origin
//  mesh 2: face 0 a small triangle at the lower right; faces 1 and 2 two
//          triangles sharing the diagonal from (-3, -3) to (-1, -1)
//  mesh 3: square over x -1..0, y -3..-1, in front (z 2); its left edge lies
//          on face 1's right edge
void PickModel()
{
    AddMesh({{-3, 1, 0}, {-1, 1, 0}, {-1, 3, 0}, {-3, 3, 0}}, {{0, 1, 2, 3}});
    AddMesh({{1, 1, 0}, {3, 1, 0}, {3, 3, 0}, {1, 3, 0}}, {{0, 1, 2, 3}}, {{{0, 0, 0}, {4, 4, 4}}});
    AddMesh({{1, -3, 0}, {2, -3, 0}, {2, -2, 0}, {-3, -3, 0}, {-1, -3, 0}, {-1, -1, 0}, {-3, -1, -3}},
            {{0, 1, 2, -1}, {3, 4, 5, -1}, {3, 5, 6, -1}}, {{{2, -2, 0}, {1, 1, 1}}});
    AddMesh({{-1, -3, 2}, {0, -3, 2}, {0, -1, 2}, {-1, -1, 3}}, {{0, 1, 2, 3}}, {{{0, -2, 2}, {1, 1, 1}}});
}

// What ViewPressed does with a left click at the model point (x, y).
void ClickAt(float x, float y)
{
    Picking = true;
    StartPick(PixelX(x), PixelY(y));
    EndPick();
}

}  // namespace

class ViewPickTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TViewPanel> Panel;

private slots:
    void initTestCase() { Panel.reset(ShowPanel()); }
    void init()
    {
        ResetViewState();
        PickModel();
        ShowGlows(false, true);
        GLRestart();
        QCOMPARE(ViewMax, 4);
    }

    void meshModeSelectsTheMeshUnderTheMouse()
    {
        ClickAt(1, 2);
        QCOMPARE(SelectedId, 1);
        QCOMPARE(CurMesh, 1);  // EndPick's frame decoded it
        QVERIFY(!Picking);
        ClickAt(0, -2);
        QCOMPARE(SelectedId, 3);
        ClickAt(2, -2.5f);
        QCOMPARE(SelectedId, 2);
        QCOMPARE(GLInt(GL_PROJECTION_STACK_DEPTH), 1);
        QCOMPARE(GLInt(GL_RENDER_MODE), GL_RENDER);
    }

    void clicksOnNothingKeepTheSelection()
    {
        SelectedId = 3;
        ClickAt(-3.5f, 0);
        QCOMPARE(SelectedId, 3);
        // The glow at the origin is not pickable.
        ClickAt(0, 0);
        QCOMPARE(SelectedId, 3);
        // Nor is a mesh without glows.
        ClickAt(-3, 2);
        QCOMPARE(SelectedId, 3);
        QCOMPARE(CurMesh, 3);
        QVERIFY(!Picking);
    }

    // The pick region is 5 x 5 pixels around the mouse: mesh 1's left edge
    // (x = 1) and bottom edge (y = 1) are hit from two pixels away, not from
    // three.
    void pickRegionIsFivePixelsSquare()
    {
        const int edgeX = PixelX(1), edgeY = PixelY(1), midX = PixelX(2), midY = PixelY(2);
        const auto picks = [](int x, int y) {
            SelectedId = 3;
            Picking = true;
            StartPick(x, y);
            EndPick();
            return SelectedId == 1;
        };
        QVERIFY(picks(edgeX + 2, midY));
        QVERIFY(picks(edgeX - 2, midY));
        QVERIFY(!picks(edgeX + 3, midY));
        QVERIFY(!picks(edgeX - 3, midY));
        QVERIFY(picks(midX, edgeY - 2));
        QVERIFY(picks(midX, edgeY + 2));
        QVERIFY(!picks(midX, edgeY - 3));
        QVERIFY(!picks(midX, edgeY + 3));
    }

    void faceModePacksMeshAndFace()
    {
        SelectMode = 1;
        ClickAt(-2, -2);  // the diagonal shared by faces 1 and 2
        QCOMPARE(SelectedId, PackSelection(2, 1));
        QCOMPARE(CurMesh, 2);
        QCOMPARE(CurFace, 1);
        ClickAt(-1, -2);
        QCOMPARE(SelectedId, PackSelection(2, 1));
        ClickAt(-0.5f, -1);
        QCOMPARE(SelectedId, PackSelection(3, 0));
    }

    void faceModeHighlightCountsUnderTheLastName()
    {
        // The current face belongs to mesh 0, which has no glows: only its
        // second outline is drawn, named after the last face of mesh 3.
        SelectMode = 1;
        SelectedId = PackSelection(0, 0);
        ClickAt(-3, 2);
        QCOMPARE(SelectedId, PackSelection(3, 0));
    }

    // The buffer holds 2048 values, 512 hit records: 500 faces under the
    // mouse still pick the first, 600 overflow and the selection stays.
    void overflowingHitsKeepTheSelection()
    {
        std::vector<TVertex> vertices{{-3, -3, 0}, {3, 3, 0}};
        std::vector<std::array<int, 4>> faces(500, {0, 1, 0, -1});  // faces through the middle
        AddMesh(vertices, faces, {{{0, 0, 0}, {0, 0, 0}}});
        SelectMode = 1;
        SelectedId = PackSelection(1, 0);
        ClickAt(0, 0);
        QCOMPARE(SelectedId, PackSelection(4, 0));
        for (int f = 500; f < 600; ++f)
            TheModel.Meshes.Get(4).Faces[0].Add(TheModel.Meshes.Get(4).Faces[0].Get(0));
        SelectedId = PackSelection(1, 0);
        ClickAt(0, 0);
        QCOMPARE(SelectedId, PackSelection(1, 0));
        // The same click with room for every record picks the first face.
        TheModel.Meshes.Get(4).Faces[0].Clear();
        TheModel.Meshes.Get(4).Faces[0].Add(TOMesh::NewFace());
        TheModel.Meshes.Get(4).Faces[0].Get(0).VertIdx = {{0, 1, 0, -1}};
        ClickAt(0, 0);
        QCOMPARE(SelectedId, PackSelection(4, 0));
    }

    void picksFollowTheViewportAfterAResize()
    {
        Panel->resize(600, 600);
        QTRY_COMPARE(ViewWidth, DevicePixels(600));
        ClickAt(1, 2);
        QCOMPARE(SelectedId, 1);
        Panel->resize(400, 400);
        QTRY_COMPARE(ViewWidth, DevicePixels(400));
    }

    void listErrorDuringThePickUndoesIt()
    {
        SelectMode = 1;
        SelectedId = PackSelection(9, 0);
        Picking = true;
        QVERIFY_THROWS_EXCEPTION(EListError, StartPick(PixelX(1), PixelY(2)));
        QVERIFY(!Picking);
        QCOMPARE(GLInt(GL_RENDER_MODE), GL_RENDER);
        QCOMPARE(GLInt(GL_PROJECTION_STACK_DEPTH), 1);
        QCOMPARE(GLInt(GL_MATRIX_MODE), GL_MODELVIEW);
        QCOMPARE(GLInt(GL_MODELVIEW_STACK_DEPTH), 1);

        // The next pick works on the fitted projection.
        SelectedId = PackSelection(1, 0);
        ClickAt(1, 2);
        QCOMPARE(SelectedId, PackSelection(1, 0));
        ClickAt(-0.5f, -3);
        QCOMPARE(SelectedId, PackSelection(3, 0));
        float m[16];
        {
            TGLCurrent current;
            glGetFloatv(GL_PROJECTION_MATRIX, m);
        }
        QCOMPARE(m[0], 0.25f);
    }

    void mouseDownReportsDevicePixels()
    {
        QSignalSpy spy(Panel.get(), &TViewPanel::MouseDown);
        QTest::mousePress(Panel.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 40));
        QCOMPARE(spy.size(), 1);
        const auto args = spy.takeFirst();
        QCOMPARE(args[0].value<Qt::MouseButton>(), Qt::LeftButton);
        QCOMPARE(args[2].value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));
        QCOMPARE(args[3].toBool(), false);
        const qreal ratio = Panel->devicePixelRatioF();
        QCOMPARE(args[4].toInt(), int(30 * ratio));
        QCOMPARE(args[5].toInt(), int(40 * ratio));
        QTest::mouseRelease(Panel.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 40));
    }
};

QTEST_MAIN(ViewPickTest)
#include "view_pick_test.moc"
