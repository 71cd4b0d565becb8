// How the view looks beyond the wireframe: a glow's halo in its own colours,
// the solid ship, the views along the model's axes and Frame Glow. Checked
// on the picture the panel shows, at any screen scale.

#include <QImage>
#include <QTest>
#include <cmath>
#include <memory>

#include "scene_drawing.h"
#include "glow_frame.h"
#include "view_fixture.h"
#include "view_projection.h"

using namespace viewtest;

namespace {

QImage Shown()
{
    return Panel()->grabFramebuffer();
}

// The pixel of the panel's picture over a model point, as the camera puts
// it, or (dx, dy) device pixels from there.
QColor PixelAt(const QImage& picture, const TVec3& p, int dx = 0, int dy = 0)
{
    const TViewPoint at = Panel()->Projection(Camera()).Project(p);
    return picture.pixelColor(int(std::floor(at.X)) + dx, int(std::floor(at.Y)) + dy);
}

bool Shows(const QColor& pixel, const TColorF& c)
{
    const auto within = [](int channel, float wanted) {
        return std::abs(channel - int(std::lround(wanted * 255))) <= 3;
    };
    return within(pixel.red(), c.Red) && within(pixel.green(), c.Green) && within(pixel.blue(), c.Blue);
}

// A square outline of side 200 around the origin, the glow's mesh.
int GlowMesh(TFloat3 centre, TFloat3 mainVec)
{
    return AddMesh({{-100, -100, 0}, {100, -100, 0}, {100, 100, 0}, {-100, 100, 0}}, {{0, 1, 2, 3}},
                   {{centre, mainVec}});
}

}  // namespace

class ViewLookTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TViewPanel> OwnPanel;

private slots:
    void initTestCase() { OwnPanel.reset(ShowPanel()); }
    void init() { ResetViewState(); }

    void haloShowsCoreAtCentreOuterAtRimAndNothingOfAlphaZero()
    {
        // At rest the halo is the half ellipse x +-40, y 0..80 over the
        // centre. Rays at 5 and 60 degrees cross no line of the schematic.
        GlowMesh({0, 0, 0}, {160, 160, 0});
        TEngineGlow& glow = Model().Meshes.Get(0).Glows.Get(0);
        Selection().EditGlow = 0;
        ShowGlows(true, false);
        glow.CoreColor = 0xFFFF0000;   // red, opaque
        glow.OuterColor = 0xFF00FF00;  // green, opaque
        Restart();
        const TViewProjection view = Panel()->Projection(Camera());
        const TViewPoint centre = view.Project(TVec3{0, 0, 0});
        const auto pixel = [&](const QImage& picture, double degrees, double r) {
            const double a = degrees * std::acos(-1.0) / 180;
            return picture.pixelColor(int(std::floor(centre.X + r * std::cos(a))),
                                      int(std::floor(centre.Y - r * std::sin(a))));
        };
        // Device pixels from the centre to the halo's rim: from outside the
        // centre point out to the first unlit pixel.
        const auto reach = [&](const QImage& picture, double degrees) {
            double r = 6;
            while (r < picture.width() && pixel(picture, degrees, r) != QColor(Qt::black))
                r += 0.5;
            return r;
        };
        const auto ellipse = [&](double degrees) {
            const double a = degrees * std::acos(-1.0) / 180;
            return view.Scale() / std::sqrt(std::pow(std::cos(a) / 40, 2) + std::pow(std::sin(a) / 80, 2));
        };
        QVERIFY(pixel(Shown(), 60, 0.5 * ellipse(60)) == QColor(Qt::black));  // off: the schematic alone

        Options().GlowColors = true;
        Draw();
        QImage picture = Shown();
        for (const double degrees : {5.0, 60.0})
            QVERIFY2(std::fabs(reach(picture, degrees) - ellipse(degrees)) <= 2 + 0.03 * ellipse(degrees),
                     qPrintable(QString("%1: %2 for %3").arg(degrees).arg(reach(picture, degrees)).arg(ellipse(degrees))));
        const double rim = reach(picture, 60);
        const QColor inner = pixel(picture, 60, 0.12 * rim), outer = pixel(picture, 60, 0.9 * rim);
        QVERIFY2(inner.red() > 190 && inner.green() < 70, qPrintable(inner.name()));
        QVERIFY2(outer.green() > 190 && outer.red() < 70, qPrintable(outer.name()));

        // A core of alpha 0 is not seen, not even where it shades into the
        // outer colour; the outer colour still is.
        glow.CoreColor = 0x00FF0000;
        Draw();
        picture = Shown();
        for (double t = 0.1; t < 0.96; t += 0.05)
            QVERIFY2(pixel(picture, 60, t * rim).red() <= 2, qPrintable(QString::number(t)));
        QVERIFY(pixel(picture, 60, 0.9 * rim).green() > 190);
    }

    void solidFillsFacesAndHidesWhatIsBehindButNoGlow()
    {
        // The viewer at rest is on the side of the least z. The near square
        // (z -1) covers the far one's left edge (x -10, z 1); a glow lies
        // behind both.
        AddMesh({{-20, -20, -1}, {20, -20, -1}, {20, 20, -1}, {-20, 20, -1}, {-10, -10, 1}, {40, -10, 1}, {40, 10, 1},
                 {-10, 10, 1}},
                {{0, 1, 2, 3}, {4, 5, 6, 7}}, {{{5, -15, 8}, {0, 0, 0}}});
        Selection().EditGlow = 0;
        ShowGlows(true, false);
        Selection().SetMode(1, Model());  // the far square in "Mesh Lines"
        Selection().Select(PackSelection(0, 0), Model());
        Restart();
        const TVec3 hiddenEdge{-10, 2, 1}, inside{8, 15, -1}, glowAt{5, -15, 8};
        QVERIFY(Shows(PixelAt(Shown(), hiddenEdge), Color(ColMeshLines)));
        QVERIFY(PixelAt(Shown(), inside) == QColor(Qt::black));

        Options().Solid = true;
        Draw();
        const QImage solid = Shown();
        const QColor fill = PixelAt(solid, inside);
        QVERIFY2(fill.red() > 40 && fill.red() == fill.green() && fill.green() == fill.blue(), qPrintable(fill.name()));
        QVERIFY2(PixelAt(solid, hiddenEdge) == fill, qPrintable(PixelAt(solid, hiddenEdge).name()));
        // Inside the glow's point (8 pixels: the glow being edited).
        QVERIFY(Shows(PixelAt(solid, glowAt, 2, 2), Color(ColPoint)));
        // The far square's right edge, in front of nothing, stays drawn.
        QVERIFY(Shows(PixelAt(solid, {40, 2, 1}), Color(ColMeshLines)) ||
                Shows(PixelAt(solid, {39.5, 2, 1}), Color(ColMeshLines)));
    }

    // Two meshes with the same outline: the selected one's lines lie over
    // the other's, whichever comes first.
    void selectedMeshLinesLieOverTheOthers()
    {
        for (int selected : {0, 1}) {
            ResetViewState();
            GlowMesh({0, 0, 0}, {0, 0, 0});
            GlowMesh({0, 0, 0}, {0, 0, 0});
            Selection().Select(selected, Model());
            Restart();
            const QImage picture = Shown();
            int seen = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QColor pixel = PixelAt(picture, {100, 20, 0}, dx, dy);
                    QVERIFY2(!Shows(pixel, Color(ColMeshLines)), qPrintable(QString::number(selected)));
                    seen += Shows(pixel, Color(ColSelected)) ? 1 : 0;
                }
            QVERIFY(seen > 0);
        }
    }

    void wholeModelDrawsMeshesWithoutGlowsDimmedAndNeverPicksThem()
    {
        GlowMesh({0, 0, 0}, {0, 0, 0});
        AddMesh({{-50, -50, 0}, {50, -50, 0}, {50, 50, 0}, {-50, 50, 0}}, {{0, 1, 2, 3}});  // no glows
        Restart();
        const TVec3 edge{0, 50, 0};
        QVERIFY(PixelAt(Shown(), edge) == QColor(Qt::black));
        Options().WholeModel = true;
        Draw();
        const QColor dimmed = PixelAt(Shown(), edge);
        const TColorF& lines = Color(ColMeshLines);
        QVERIFY2(dimmed != QColor(Qt::black) && !Shows(dimmed, lines) && dimmed.red() < lines.Red * 255,
                 qPrintable(dimmed.name()));
        // A click on it selects nothing new.
        Selection().Select(0, Model());
        const TViewPoint at = Panel()->Projection(Camera()).Project(edge);
        Pick(int(at.X), int(at.Y));
        QCOMPARE(Selection().SelectedId, 0);
        QCOMPARE(Selection().CurMesh, 0);
    }

    void namedViewsLookAlongTheirAxisAndKeepZoomAndShift()
    {
        struct TCase {
            TAxisView View;
            TVec3 TowardsViewer, Up;
        };
        const TCase cases[] = {
            {TAxisView::Front, {0, 1, 0}, {0, 0, 1}}, {TAxisView::Back, {0, -1, 0}, {0, 0, 1}},
            {TAxisView::Left, {-1, 0, 0}, {0, 0, 1}}, {TAxisView::Right, {1, 0, 0}, {0, 0, 1}},
            {TAxisView::Top, {0, 0, 1}, {0, 1, 0}},   {TAxisView::Bottom, {0, 0, -1}, {0, 1, 0}},
        };
        // A thin triangle from the origin whose tip is the known vertex.
        const int tip = 30;
        GlowMesh({0, 0, 0}, {0, 0, 0});
        const int marker = AddMesh({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, {{0, 1, 2, -1}}, {{{0, 0, 0}, {0, 0, 0}}});
        Selection().Select(marker, Model());
        Restart();
        for (const TCase& c : cases) {
            Camera().PanX = 2;
            Camera().PanY = -3;
            Camera().Zoom = 1.25;
            LookFrom(Camera(), c.View);
            QCOMPARE(Camera().PanX, 2);
            QCOMPARE(Camera().Zoom, 1.25);
            TOMesh& mesh = Model().Meshes.Get(marker);
            const TVec3 up{c.Up[0] * tip, c.Up[1] * tip, c.Up[2] * tip};
            mesh.Vertices.Get(1) = {float(up[0]), float(up[1]), float(up[2])};
            mesh.Vertices.Get(2) = {float(up[0] * 0.9), float(up[1] * 0.9), float(up[2] * 0.9)};
            Panel()->ForgetMeshes();
            Draw();

            const TViewProjection view = Panel()->Projection(Camera());
            const TViewPoint origin = view.Project(TVec3{0, 0, 0});
            const TViewPoint towards = view.Project(c.TowardsViewer);
            const TViewPoint top = view.Project(up);
            QVERIFY(towards.Depth < origin.Depth);
            QVERIFY(std::fabs(towards.X - origin.X) < 1e-6 && std::fabs(towards.Y - origin.Y) < 1e-6);
            QVERIFY(std::fabs(top.X - origin.X) < 1e-6 && top.Y < origin.Y - 10);
            // The picture has the tip where the camera says.
            const QImage picture = Shown();
            bool found = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    found = found || Shows(picture.pixelColor(int(top.X) + dx, int(top.Y) + dy), Color(ColSelected));
            QVERIFY2(found, qPrintable(QString::number(int(c.View))));
        }
    }

    void frameGlowCentresTheGlowAndFillsAThird()
    {
        GlowMesh({30, -20, 10}, {40, 20, 8});  // reach: V.x / 4 = 10
        Restart();
        Camera().RotX = 23;
        Camera().RotY = -37;
        FrameGlow(Camera(), Model().Meshes.Get(0).Glows.Get(0));
        QCOMPARE(Camera().RotX, 23);
        const TViewProjection view = Panel()->Projection(Camera());
        const TViewPoint centre = view.Project(TVec3{30, -20, 10});
        // The shift is whole units of the view: half of one at most.
        const double unit = view.Scale() / std::fabs(Camera().Zoom);
        QVERIFY(std::fabs(centre.X - Panel()->DeviceSize().width() / 2.0) <= unit / 2 + 1);
        QVERIFY(std::fabs(centre.Y - Panel()->DeviceSize().height() / 2.0) <= unit / 2 + 1);
        const double third = Panel()->DeviceSize().width() / 3.0;
        QVERIFY(std::fabs(2 * 10 * view.Scale() - third) < 0.05 * third);
    }
};

QTEST_MAIN(ViewLookTest)
#include "view_look_test.moc"
