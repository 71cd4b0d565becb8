// The context, the fitted projection and the camera transform of every frame.

#include <GL/gl.h>

#include <QOpenGLContext>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>

#include "view_fixture.h"
#include "view_projection.h"

using namespace viewtest;

namespace {

// A mesh spanning -3..3 on every axis (bounds -4..4) with one glow at p.
void ModelWithGlowAt(const TFloat3& p)
{
    AddMesh({{-3, -3, -3}, {3, -3, 3}, {3, 3, 0}}, {{0, 1, 2, -1}}, {{p, {0, 0, 0}}});
    Selection().EditGlow = 0;
    ShowGlows(true, false);
}

// Where the frame drew the glow's centre point, in eye space.
Point3 GlowPoint()
{
    for (const Primitive& p : CaptureFrame())
        if (p.Type == Primitive::PointToken)
            return p.Vertices[0];
    throw std::runtime_error("no point drawn");
}

std::array<float, 16> ProjectionMatrix()
{
    TContextCurrent current(*Panel());
    std::array<float, 16> m{};
    glGetFloatv(GL_PROJECTION_MATRIX, m.data());
    return m;
}

}  // namespace

class ViewCameraTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TViewPanel> OwnPanel;

private slots:
    void initTestCase() { OwnPanel.reset(ShowPanel()); }
    void init() { ResetViewState(); }

    void sceneExtentPushesTheBoundsAThirdOut()
    {
        AddMesh({{-30, 0, 10}, {45, 2, 3}}, {});
        AddMesh({{0, -12, 44.4f}}, {});
        FitToModel(Camera(), Model());
        QCOMPARE(Camera().ViewMin, -40);
        QCOMPARE(Camera().ViewMax, 60);

        // Ties round to the even integer.
        Model().Clear();
        AddMesh({{-2.5f, 2.5f, 0}}, {});
        FitToModel(Camera(), Model());
        QCOMPARE(Camera().ViewMax, 2);
        QCOMPARE(Camera().ViewMin, -2);

        // r div 3 truncates toward zero: -31 + (-10).
        Model().Clear();
        AddMesh({{-31, 7, 0}}, {});
        FitToModel(Camera(), Model());
        QCOMPARE(Camera().ViewMin, -41);
        QCOMPARE(Camera().ViewMax, 9);

        // A vertex with a coordinate that is no finite number has no place:
        // it is left out, and a coordinate beyond the integers fits as far
        // as they go.
        Model().Clear();
        AddMesh({{-30, 0, 10}, {NAN, 500, 0}, {45, 2, 3}, {0, -INFINITY, 0}}, {});
        FitToModel(Camera(), Model());
        QCOMPARE(Camera().ViewMin, -40);
        QCOMPARE(Camera().ViewMax, 60);
        Model().Clear();
        AddMesh({{-3e9f, 0, 3e9f}}, {});
        FitToModel(Camera(), Model());
        QCOMPARE(Camera().ViewMin, INT32_MIN);
        QCOMPARE(Camera().ViewMax, INT32_MAX);

        // No vertex at all: the start values, mirrored.
        Model().Clear();
        AddMesh({}, {});
        FitToModel(Camera(), Model());
        QCOMPARE(Camera().ViewMax, -1333332);
        QCOMPARE(Camera().ViewMin, 1333332);
    }

    void setupFitsTheProjectionAndViewport()
    {
        ModelWithGlowAt({0, 0, 0});
        Restart();
        QCOMPARE(Panel()->Restarts(), 1);
        QCOMPARE(Panel()->DeviceSize().width(), DevicePixels(400));
        QCOMPARE(Panel()->DeviceSize().height(), DevicePixels(400));
        const auto m = ProjectionMatrix();
        // glOrtho(-4, 4, -4, 4, 400, -400): the depth range runs backwards.
        QCOMPARE(m[0], 0.25f);
        QCOMPARE(m[5], 0.25f);
        QCOMPARE(m[10], 0.0025f);
        QVERIFY(std::fabs(m[14]) < 1e-6f);
        QCOMPARE(GLInt(GL_MODELVIEW_STACK_DEPTH), 1);
        QCOMPARE(GLInt(GL_PROJECTION_STACK_DEPTH), 1);
        GLint mode[2] = {0, 0};
        {
            TContextCurrent current(*Panel());
            glGetIntegerv(GL_POLYGON_MODE, mode);
        }
        QCOMPARE(mode[0], GL_LINE);
        QCOMPARE(mode[1], GL_LINE);
        QVERIFY(Panel()->Started() && Panel()->LastFrameComplete());
        qInfo("context: %d-bit depth, %s", OwnPanel->context()->format().depthBufferSize(),
              OwnPanel->context()->format().profile() == QSurfaceFormat::CompatibilityProfile ? "compatibility"
                                                                                           : "other profile");
    }

    // A cube from (1, 1, 1) to (10, 10, 10): every coordinate positive, so
    // depth planes of 100 x ViewMax and 100 x ViewMin would clip it away.
    // Turned a quarter round about y, its z values are all negative; it stays
    // whole. The pick pass sees it too.
    void modelOnOneSideOfZeroIsNotClipped()
    {
        AddMesh({{1, 1, 1}, {10, 1, 1}, {10, 10, 1}, {1, 10, 1}, {1, 1, 10}, {10, 1, 10}, {10, 10, 10}, {1, 10, 10}},
                {{0, 1, 2, 3}, {4, 5, 6, 7}}, {{{5, 5, 5}, {0, 0, 0}}});
        Restart();
        QCOMPARE(Camera().ViewMin, 1);
        QCOMPARE(Camera().ViewMax, 13);
        // The x and y bounds stay those of the fitted volume.
        QCOMPARE(ProjectionMatrix()[0], 2.0f / 12);
        for (int32_t turn : {0, 90}) {
            Camera().RotY = turn;
            const auto outlines = Outlines(CaptureFrame());
            QCOMPARE(outlines.size(), size_t(2));
            for (const auto& outline : outlines)
                QCOMPARE(outline.size(), size_t(4));
        }
        Camera().RotY = 0;
        Draw();
        Selection().SelectedId = 7;
        Pick(PixelX(1), PixelY(5));
        QCOMPARE(Selection().SelectedId, 0);
    }

    // A model within half a unit of zero: ViewMin = ViewMax = 0, which glOrtho
    // refuses. The volume is widened to a valid one: the model is drawn, the
    // right way up, and picked where it is.
    void collapsedBoundsStillProject()
    {
        AddMesh({{-0.4f, -0.4f, 0}, {0.4f, -0.4f, 0}, {0.4f, 0.4f, 0}}, {{0, 1, 2, -1}}, {{{0, 0, 0}, {0, 0, 0}}});
        {
            TContextCurrent current(*Panel());
            while (glGetError() != GL_NO_ERROR) {
            }
        }
        Restart();
        QCOMPARE(Camera().ViewMax, 0);
        QCOMPARE(Camera().ViewMin, 0);
        {
            TContextCurrent current(*Panel());
            QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
        }
        QCOMPARE(ProjectionMatrix()[0], 2.0f);
        QCOMPARE(ProjectionMatrix()[5], 2.0f);
        const auto outlines = Outlines(CaptureFrame());
        QCOMPARE(outlines.size(), size_t(1));
        for (const Point3& corner : {Point3{-0.4f, -0.4f, 0}, Point3{0.4f, -0.4f, 0}, Point3{0.4f, 0.4f, 0}})
            QVERIFY2(std::any_of(outlines[0].begin(), outlines[0].end(), [&](const Point3& p) { return Near(p, corner); }),
                     Text(corner).c_str());
        // The upper right corner is picked, the mirrored lower left is not.
        for (const auto& [x, y, hit] : {std::tuple{0.4f, 0.3f, true}, std::tuple{-0.4f, -0.3f, false}}) {
            Selection().SelectedId = 7;
            Pick(PixelX(x), PixelY(y));
            QCOMPARE(Selection().SelectedId == 0, hit);
        }
    }

    void rotationsTurnZThenYThenX()
    {
        ModelWithGlowAt({0, 2, 0});
        Restart();
        QVERIFY2(Near(GlowPoint(), {0, 2, 0}), Text(GlowPoint()).c_str());
        Camera().RotX = 90;  // +y onto +z
        QVERIFY2(Near(GlowPoint(), {0, 0, 2}), Text(GlowPoint()).c_str());

        Model().Clear();
        ModelWithGlowAt({2, 0, 0});
        Camera().RotX = 90;
        Camera().RotZ = 90;  // z first: +x to +y, then x: +y to +z
        QVERIFY2(Near(GlowPoint(), {0, 0, 2}), Text(GlowPoint()).c_str());
        Camera().RotX = 0;
        Camera().RotZ = 0;
        Camera().RotY = 90;  // +x to -z
        QVERIFY2(Near(GlowPoint(), {0, 0, -2}), Text(GlowPoint()).c_str());
    }

    void zoomScalesAboutTheOriginAndPanIsNotScaled()
    {
        ModelWithGlowAt({1, 1, 0});
        Restart();
        Camera().Zoom = 2.0;
        Camera().PanX = 1;
        Camera().PanY = -1;
        QVERIFY2(Near(GlowPoint(), {3, 1, 0}), Text(GlowPoint()).c_str());
        Camera().Zoom = -1.0;  // mirrored through the origin
        Camera().PanX = Camera().PanY = 0;
        QVERIFY2(Near(GlowPoint(), {-1, -1, 0}), Text(GlowPoint()).c_str());
    }

    // Glows are picked and dragged by the view's arithmetic, not by OpenGL:
    // it must show a point where the frame draws it, and a drag must move it
    // on screen by the pixels the pointer moved, whatever the camera.
    void projectionAgreesWithTheFrame()
    {
        const TFloat3 centre{1, -0.5f, 0.75f};
        ModelWithGlowAt(centre);
        Restart();
        Camera().RotX = 30;
        Camera().RotY = -50;
        Camera().RotZ = 20;
        Camera().Zoom = 1.5;
        Camera().PanX = 1;
        Camera().PanY = -1;
        const TViewProjection view = Panel()->Projection(Camera());
        const TViewPoint p = view.Project(centre);
        const TViewVolume volume = ViewVolume(Camera().ViewMin, Camera().ViewMax);
        const double span = volume.High - volume.Low;
        const Point3 shown{float(volume.Low + p.X / Panel()->DeviceSize().width() * span), float(volume.High - p.Y / Panel()->DeviceSize().height() * span),
                           float(p.Depth * volume.Depth)};
        QVERIFY2(Near(GlowPoint(), shown), (Text(GlowPoint()) + " " + Text(shown)).c_str());

        const TVec3 moved = view.Unproject(12, -5);
        const TViewPoint q = view.Project(TVec3{centre.X + moved[0], centre.Y + moved[1], centre.Z + moved[2]});
        QVERIFY(std::fabs(q.X - p.X - 12) < 1e-9 && std::fabs(q.Y - p.Y + 5) < 1e-9);
        QVERIFY(std::fabs(q.Depth - p.Depth) < 1e-12);
    }

    void anglesAreNotWrappedButDrawTheSame()
    {
        ModelWithGlowAt({2, 1, 1});
        Restart();
        Camera().RotY = 10;
        const Point3 at10 = GlowPoint();
        Camera().RotY = 370;
        QVERIFY2(Near(GlowPoint(), at10), Text(GlowPoint()).c_str());
        QCOMPARE(Camera().RotY, 370);
        QVERIFY(!Near(at10, {2, 1, 1}));
    }

    void viewportFollowsResizeAndProjectionStays()
    {
        ModelWithGlowAt({1, 1, 0});
        Restart();
        OwnPanel->resize(300, 200);
        QTRY_COMPARE(Panel()->DeviceSize().width(), DevicePixels(300));
        QCOMPARE(Panel()->DeviceSize().height(), DevicePixels(200));
        // The frame the main window draws on a resize.
        Draw();
        GLint viewport[4] = {0, 0, 0, 0};
        {
            TContextCurrent current(*Panel());
            glGetIntegerv(GL_VIEWPORT, viewport);
        }
        QCOMPARE(viewport[2], DevicePixels(300));
        QCOMPARE(viewport[3], DevicePixels(200));
        QCOMPARE(ProjectionMatrix()[0], 0.25f);
        QVERIFY2(Near(GlowPoint(), {1, 1, 0}), Text(GlowPoint()).c_str());
        OwnPanel->resize(400, 400);
        QTRY_COMPARE(Panel()->DeviceSize().width(), DevicePixels(400));
    }

    // Qt's own repaints show the last frame again and run none of its logic.
    void repaintReshowsTheLastFrameOnly()
    {
        AddMesh({{0, -3, 0}, {0, 3, 0}, {-3, -3, 3}, {3, 3, -3}}, {{0, 1, 0, -1}}, {{{0, 0, 0}, {0, 0, 0}}});
        Restart();
        QVERIFY(Panel()->LastFrameComplete());
        const int frames = Panel()->FramesShown();
        Selection().CurMesh = 99;
        QSignalSpy swapped(OwnPanel.get(), &TViewPanel::frameSwapped);
        OwnPanel->repaint();
        QTRY_VERIFY(!swapped.isEmpty());
        const QImage shown = OwnPanel->grabFramebuffer();
        QCOMPARE(Panel()->FramesShown(), frames);
        QCOMPARE(Selection().CurMesh, 99);
        // The vertical line x = 0 of the current mesh, in "Selected".
        int lit = 0;
        for (int x = PixelX(0) - 2; x <= PixelX(0) + 2; ++x)
            lit += shown.pixelColor(x, PixelY(2)) == QColor(255, 255, 0) ? 1 : 0;
        QVERIFY(lit > 0);
        QCOMPARE(shown.pixelColor(PixelX(-2), PixelY(2)), QColor(Qt::black));
    }

    // Moving the panel into another window: its context, and the state of
    // the last Restart, go with it.
    void newContextFromQtGetsTheFixedState()
    {
        ModelWithGlowAt({1, 1, 0});
        Restart();
        QWidget host;
        OwnPanel->setParent(&host);
        host.resize(400, 400);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QCOMPARE(ProjectionMatrix()[0], 0.25f);
        QVERIFY2(Near(GlowPoint(), {1, 1, 0}), Text(GlowPoint()).c_str());
        OwnPanel->setParent(nullptr);
        OwnPanel->resize(400, 400);
        OwnPanel->show();
        QVERIFY(QTest::qWaitForWindowExposed(OwnPanel.get()));
        QCOMPARE(ProjectionMatrix()[0], 0.25f);
        QCOMPARE(Panel()->DeviceSize().width(), DevicePixels(400));
    }

    void openingAgainRefitsAndKeepsTheCamera()
    {
        ModelWithGlowAt({1, 1, 0});
        Restart();
        Camera().RotX = 30;
        Camera().Zoom = 1.5;
        Model().Clear();
        AddMesh({{-30, 0, 0}, {45, 0, 0}}, {}, {{{0, 0, 0}, {0, 0, 0}}});
        Restart();
        QCOMPARE(Camera().ViewMin, -40);
        QCOMPARE(Camera().ViewMax, 60);
        QCOMPARE(Camera().RotX, 30);
        QCOMPARE(Camera().Zoom, 1.5);
        QCOMPARE(ProjectionMatrix()[0], 0.02f);
        QCOMPARE(GLInt(GL_MODELVIEW_STACK_DEPTH), 1);
    }

    // A frame asked for before the first open leaves the panel showing its
    // own colour.
    void frameBeforeSetupIsHarmless()
    {
        TViewPanel* const testPanel = Panel();
        {
            std::unique_ptr<TViewPanel> fresh(ShowPanel(100));
            AddMesh({{0, 0, 0}}, {});
            Selection().Select(5, Model());  // past the last mesh: the last one
            Draw();
            QCOMPARE(Panel()->Restarts(), 0);
            const QImage shown = fresh->grabFramebuffer();
            QCOMPARE(shown.pixelColor(DevicePixels(50), DevicePixels(50)), fresh->palette().color(fresh->backgroundRole()));

            // Not even a scene that names no face draws or raises anything.
            Selection().SetMode(1, Model());
            Selection().Select(PackSelection(0, 3), Model());
            Draw();
            QCOMPARE(fresh->grabFramebuffer().pixelColor(DevicePixels(50), DevicePixels(50)),
                     fresh->palette().color(fresh->backgroundRole()));
        }
        UsePanel(testPanel);
    }

    void listErrorMidFrameLeavesTheStateBalanced()
    {
        // Face 0's last corner names a vertex that does not exist.
        AddMesh({{-3, -3, 0}, {3, 3, 0}, {3, -3, 0}}, {{0, 1, 2, -1}, {0, 1, 7, -1}}, {{{0, 0, 0}, {0, 0, 0}}});
        try {
            Restart();
            QFAIL("no error");
        } catch (const EListError& e) {
            QCOMPARE(std::string(e.what()), std::string("^TVertexL Index not valid: 7"));
        }
        QVERIFY(!Panel()->LastFrameComplete());
        QCOMPARE(GLInt(GL_MODELVIEW_STACK_DEPTH), 1);
        QCOMPARE(GLInt(GL_RENDER_MODE), GL_RENDER);

        // The next frame is whole and raises no GL error (the primitive cut
        // short was ended).
        Model().Meshes.Get(0).Faces[0].Get(1).VertIdx.Index[2] = 2;
        {
            TContextCurrent current(*Panel());
            while (glGetError() != GL_NO_ERROR) {
            }
        }
        QCOMPARE(Outlines(CaptureFrame()).size(), size_t(2));
        QCOMPARE(GLInt(GL_MODELVIEW_STACK_DEPTH), 1);
        {
            TContextCurrent current(*Panel());
            QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
        }
        QVERIFY(Panel()->LastFrameComplete());
    }
};

QTEST_MAIN(ViewCameraTest)
#include "view_camera_test.moc"
