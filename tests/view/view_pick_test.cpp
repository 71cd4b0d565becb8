// Picking: the face pass drawn in selection mode around a pixel; the first
// name hit in drawing order is what the click selects.

#include <GL/gl.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "view_fixture.h"

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

// What the main window does with a left click at (x, y), device pixels: the
// selection takes what the pick hits, and the view draws a frame.
void ClickAtPixel(int x, int y)
{
    Pick(x, y);
    Draw();
}

// The same at the model point (x, y).
void ClickAt(float x, float y)
{
    ClickAtPixel(PixelX(x), PixelY(y));
}

}  // namespace

class ViewPickTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TViewPanel> OwnPanel;

private slots:
    void initTestCase() { OwnPanel.reset(ShowPanel()); }
    void init()
    {
        ResetViewState();
        PickModel();
        ShowGlows(false, true);
        Restart();
        QCOMPARE(Camera().ViewMax, 4);
    }

    void meshModeSelectsTheMeshUnderTheMouse()
    {
        ClickAt(1, 2);
        QCOMPARE(Selection().SelectedId, 1);
        QCOMPARE(Selection().CurMesh, 1);
        ClickAt(0, -2);
        QCOMPARE(Selection().SelectedId, 3);
        ClickAt(2, -2.5f);
        QCOMPARE(Selection().SelectedId, 2);
        QCOMPARE(GLInt(GL_PROJECTION_STACK_DEPTH), 1);
        QCOMPARE(GLInt(GL_RENDER_MODE), GL_RENDER);
    }

    void clicksOnNothingKeepTheSelection()
    {
        Selection().Select(3, Model());
        ClickAt(-3.5f, 0);
        QCOMPARE(Selection().SelectedId, 3);
        // The glow at the origin is not pickable.
        ClickAt(0, 0);
        QCOMPARE(Selection().SelectedId, 3);
        // Nor is a mesh without glows.
        ClickAt(-3, 2);
        QCOMPARE(Selection().SelectedId, 3);
        QCOMPARE(Selection().CurMesh, 3);
    }

    // The pick region is 5 x 5 pixels around the mouse: mesh 1's left edge
    // (x = 1) and bottom edge (y = 1) are hit from two pixels away, not from
    // three.
    void pickRegionIsFivePixelsSquare()
    {
        const int edgeX = PixelX(1), edgeY = PixelY(1), midX = PixelX(2), midY = PixelY(2);
        const auto picks = [](int x, int y) {
            Selection().Select(3, Model());
            ClickAtPixel(x, y);
            return Selection().SelectedId == 1;
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
        Selection().SetMode(1, Model());
        ClickAt(-2, -2);  // the diagonal shared by faces 1 and 2
        QCOMPARE(Selection().SelectedId, PackSelection(2, 1));
        QCOMPARE(Selection().CurMesh, 2);
        QCOMPARE(Selection().CurFace, 1);
        ClickAt(-1, -2);
        QCOMPARE(Selection().SelectedId, PackSelection(2, 1));
        ClickAt(-0.5f, -1);
        QCOMPARE(Selection().SelectedId, PackSelection(3, 0));
    }

    void faceModeHighlightCountsUnderTheLastName()
    {
        // The current face belongs to mesh 0, which has no glows: only its
        // second outline is drawn, named after the last face of mesh 3.
        Selection().SetMode(1, Model());
        Selection().Select(PackSelection(0, 0), Model());
        ClickAt(-3, 2);
        QCOMPARE(Selection().SelectedId, PackSelection(3, 0));
    }

    // The buffer holds 2048 values, 512 hit records: 500 faces under the
    // mouse still pick the first, 600 overflow and the selection stays.
    void overflowingHitsKeepTheSelection()
    {
        std::vector<TVertex> vertices{{-3, -3, 0}, {3, 3, 0}};
        std::vector<std::array<int, 4>> faces(500, {0, 1, 0, -1});  // faces through the middle
        AddMesh(vertices, faces, {{{0, 0, 0}, {0, 0, 0}}});
        Selection().SetMode(1, Model());
        Selection().Select(PackSelection(1, 0), Model());
        ClickAt(0, 0);
        QCOMPARE(Selection().SelectedId, PackSelection(4, 0));
        for (int f = 500; f < 600; ++f)
            Model().Meshes.Get(4).Faces[0].Add(Model().Meshes.Get(4).Faces[0].Get(0));
        Selection().Select(PackSelection(1, 0), Model());
        ClickAt(0, 0);
        QCOMPARE(Selection().SelectedId, PackSelection(1, 0));
        // The same click with room for every record picks the first face.
        Model().Meshes.Get(4).Faces[0].Clear();
        Model().Meshes.Get(4).Faces[0].Add(TOMesh::NewFace());
        Model().Meshes.Get(4).Faces[0].Get(0).VertIdx = {{0, 1, 0, -1}};
        ClickAt(0, 0);
        QCOMPARE(Selection().SelectedId, PackSelection(4, 0));
    }

    void picksFollowTheViewportAfterAResize()
    {
        OwnPanel->resize(600, 600);
        QTRY_COMPARE(Panel()->DeviceSize().width(), DevicePixels(600));
        ClickAt(1, 2);
        QCOMPARE(Selection().SelectedId, 1);
        OwnPanel->resize(400, 400);
        QTRY_COMPARE(Panel()->DeviceSize().width(), DevicePixels(400));
    }

    void listErrorDuringThePickUndoesIt()
    {
        Selection().SetMode(1, Model());
        Selection().Select(PackSelection(9, 0), Model());
        QVERIFY_THROWS_EXCEPTION(EListError, Pick(PixelX(1), PixelY(2)));
        QCOMPARE(GLInt(GL_RENDER_MODE), GL_RENDER);
        QCOMPARE(GLInt(GL_PROJECTION_STACK_DEPTH), 1);
        QCOMPARE(GLInt(GL_MATRIX_MODE), GL_MODELVIEW);
        QCOMPARE(GLInt(GL_MODELVIEW_STACK_DEPTH), 1);

        // The next pick works on the fitted projection.
        Selection().Select(PackSelection(1, 0), Model());
        ClickAt(1, 2);
        QCOMPARE(Selection().SelectedId, PackSelection(1, 0));
        ClickAt(-0.5f, -3);
        QCOMPARE(Selection().SelectedId, PackSelection(3, 0));
        float m[16];
        {
            TContextCurrent current(*Panel());
            glGetFloatv(GL_PROJECTION_MATRIX, m);
        }
        QCOMPARE(m[0], 0.25f);
    }

    void mouseDownReportsDevicePixels()
    {
        QSignalSpy spy(OwnPanel.get(), &TViewPanel::MouseDown);
        QTest::mousePress(OwnPanel.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 40));
        QCOMPARE(spy.size(), 1);
        const auto args = spy.takeFirst();
        QCOMPARE(args[0].value<Qt::MouseButton>(), Qt::LeftButton);
        QCOMPARE(args[2].value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));
        QCOMPARE(args[3].toBool(), false);
        const qreal ratio = OwnPanel->devicePixelRatioF();
        QCOMPARE(args[4].toInt(), int(30 * ratio));
        QCOMPARE(args[5].toInt(), int(40 * ratio));
        QTest::mouseRelease(OwnPanel.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 40));
    }
};

QTEST_MAIN(ViewPickTest)
#include "view_pick_test.moc"
