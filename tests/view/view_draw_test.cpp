// What a frame draws: mesh outlines, the selection highlight and the glows,
// captured in GL feedback mode.

#include <GL/gl.h>

#include <QTest>
#include <algorithm>
#include <memory>

#include "scene_drawing.h"
#include "view_fixture.h"

using namespace viewtest;

namespace {

using Segment = std::pair<Point3, Point3>;

std::vector<Segment> Segments(const std::vector<Primitive>& primitives)
{
    std::vector<Segment> out;
    for (const Primitive& p : primitives)
        if (p.Type == Primitive::LineToken)
            out.emplace_back(p.Vertices[0], p.Vertices[1]);
    return out;
}

bool SameSegments(const std::vector<Segment>& actual, const std::vector<Segment>& expected)
{
    if (actual.size() != expected.size())
        return false;
    for (size_t i = 0; i < actual.size(); ++i)
        if (!Near(actual[i].first, expected[i].first) || !Near(actual[i].second, expected[i].second))
            return false;
    return true;
}

// The same points in any order.
bool SameCorners(std::vector<Point3> actual, std::vector<Point3> expected)
{
    auto less = [](const Point3& a, const Point3& b) {
        return std::tie(a.X, a.Y, a.Z) < std::tie(b.X, b.Y, b.Z);
    };
    std::sort(actual.begin(), actual.end(), less);
    std::sort(expected.begin(), expected.end(), less);
    return actual.size() == expected.size() &&
           std::equal(actual.begin(), actual.end(), expected.begin(), [](auto& a, auto& b) { return Near(a, b); });
}

// The same corners in the same cyclic order, from any start: a quad drawn as
// 0, 2, 1, 3 is a bow-tie, not the outline of 0, 1, 2, 3.
bool SameCycle(const std::vector<Point3>& actual, const std::vector<Point3>& expected)
{
    const size_t n = expected.size();
    if (actual.size() != n)
        return false;
    for (size_t start = 0; start < n; ++start) {
        bool same = true;
        for (size_t i = 0; i < n && same; ++i)
            same = Near(actual[(start + i) % n], expected[i]);
        if (same)
            return true;
    }
    return false;
}

size_t CountPoints(const std::vector<Primitive>& primitives)
{
    return size_t(std::count_if(primitives.begin(), primitives.end(),
                                [](const Primitive& p) { return p.Type == Primitive::PointToken; }));
}

// Three meshes with glows, side by side: 0 left, 1 middle, 2 right, each a
// square outline (one quad); the middle one has a second face, a triangle.
void ThreeMeshes()
{
    AddMesh({{-3, -1, 0}, {-2, -1, 0}, {-2, 1, 0}, {-3, 1, 0}}, {{0, 1, 2, 3}}, {{{-2.5f, 0, 0}, {2, 2, 2}}});
    AddMesh({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}, {{0, 1, 2, 3}, {0, 1, 2, -1}},
            {{{0, 0, 0}, {4, 2, 1}}, {{0, 0.5f, 0}, {4, 2, 1}}});
    AddMesh({{2, -1, 0}, {3, -1, 0}, {3, 1, 0}, {2, 3, 0}}, {{0, 1, 2, 3}}, {{{2.5f, 0, 0}, {2, 2, 2}}});
    AddMesh({{-3, -3, -3}, {3, 3, 3}}, {});  // no glows, no faces: only widens the bounds to -4..4
}

}  // namespace

class ViewDrawTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TViewPanel> OwnPanel;

private slots:
    void initTestCase() { OwnPanel.reset(ShowPanel()); }
    void init() { ResetViewState(); }

    void glowAtOriginDrawsPointAndFiveSegments()
    {
        AddMesh({{-3, -3, -3}, {3, 3, 3}, {3, -3, 0}}, {}, {{{0, 0, 0}, {8, 6, 3}}});
        ShowGlows(false, false);  // drawn, but not being edited: no handles
        Restart();
        const auto frame = CaptureFrame();

        const auto points = InColor(frame, ColPoint);
        QCOMPARE(points.size(), size_t(1));
        QCOMPARE(int(points[0].Type), int(Primitive::PointToken));
        QVERIFY(Near(points[0].Vertices[0], {0, 0, 0}));
        QVERIFY(SameSegments(Segments(InColor(frame, ColXVector)), {{{2, 0, 0}, {0, 0, 0}}, {{0, 0, 0}, {-2, 0, 0}}}));
        QVERIFY(SameSegments(Segments(InColor(frame, ColYVector)), {{{0, 3, 0}, {0, 0, 0}}}));
        QVERIFY(SameSegments(Segments(InColor(frame, ColZVector)), {{{0, 0, 3}, {0, 0, 0}}, {{0, 0, 0}, {0, 0, -3}}}));
        QVERIFY(InColor(frame, ColCone).empty());
        QCOMPARE(frame.size(), size_t(6));  // the mesh has no faces

        float pointSize = 0;
        {
            TContextCurrent current(*Panel());
            glGetFloatv(GL_POINT_SIZE, &pointSize);
        }
        QCOMPARE(pointSize, 4.0f);

        // Being edited, it has a square around the end of the x line and a
        // diamond at the apex; the z line, seen end-on, has none over the
        // centre.
        Selection().EditGlow = 0;
        const auto edited = CaptureFrame();
        // The corners off the line's axis, and their middle.
        const auto handle = [&](TViewColor entry, int axis) {
            Point3 middle;
            int corners = 0;
            for (const Primitive& p : InColor(edited, entry))
                for (const Point3& v : p.Vertices) {
                    const float off[3] = {v.X, v.Y, v.Z};
                    if (std::fabs(off[(axis + 1) % 3]) + std::fabs(off[(axis + 2) % 3]) < 1e-3f)
                        continue;
                    ++corners;
                    middle = {middle.X + v.X, middle.Y + v.Y, middle.Z + v.Z};
                }
            const float n = float(std::max(corners, 1));
            return std::pair(corners, Point3{middle.X / n, middle.Y / n, middle.Z / n});
        };
        QVERIFY(handle(ColXVector, 0).first > 0);
        QVERIFY2(Near(handle(ColXVector, 0).second, {2, 0, 0}), Text(handle(ColXVector, 0).second).c_str());
        QVERIFY(handle(ColYVector, 1).first > 0);
        QVERIFY2(Near(handle(ColYVector, 1).second, {0, 3, 0}), Text(handle(ColYVector, 1).second).c_str());
        QCOMPARE(handle(ColZVector, 2).first, 0);
    }

    void conesAreSixTrianglesUnderTheApex()
    {
        AddMesh({{-3, -3, -3}, {3, 3, 3}}, {}, {{{0, 0, 0}, {8, 6, 3}}});
        Selection().EditGlow = 0;
        ShowGlows(true, true);
        Restart();
        const auto cones = Outlines(InColor(CaptureFrame(), ColCone));
        const Point3 apex{0, 3, 0};
        const std::vector<std::vector<Point3>> expected = {
            {{0, 0, -3}, apex, {-2, 0, 0}}, {{0, 0, 3}, apex, {-2, 0, 0}}, {{0, 0, -3}, apex, {2, 0, 0}},
            {{0, 0, 3}, apex, {2, 0, 0}},   {{0, 0, -2}, apex, {-3, 0, 0}}, {{0, 0, 2}, apex, {3, 0, 0}},
        };
        QCOMPARE(cones.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            QVERIFY2(SameCorners(cones[i], expected[i]), ("triangle " + std::to_string(i + 1)).c_str());
    }

    void negativeAndZeroVectors()
    {
        AddMesh({{-3, -3, -3}, {3, 3, 3}}, {}, {{{1, 1, 0}, {0, -4, 0}}, {{-1, 0, 0}, {0, 0, 0}}});
        ShowGlows(false, true);
        Restart();
        const auto frame = CaptureFrame();
        const auto y = Segments(InColor(frame, ColYVector));
        QCOMPARE(y.size(), size_t(2));
        QVERIFY(Near(y[0].first, {1, -1, 0}));  // points towards -y
        const auto cones = Outlines(InColor(frame, ColCone));
        QCOMPARE(cones.size(), size_t(12));
        // The first cone's apex lies towards -y as well.
        QVERIFY(SameCorners(cones[0], {{1, 1, 0}, {1, -1, 0}, {1, 1, 0}}));
        // The zero vector collapses every cone onto its centre.
        for (size_t i = 6; i < cones.size(); ++i)
            QVERIFY(SameCorners(cones[i], {{-1, 0, 0}, {-1, 0, 0}, {-1, 0, 0}}));
    }

    void triangleAndQuadFaces()
    {
        // Index[3] = 0 is a quad whose fourth corner is vertex 0.
        AddMesh({{-3, -3, 0}, {3, -3, 0}, {3, 3, 0}, {-3, 3, 0}, {0, 0, 3}}, {{1, 2, 4, -1}, {1, 2, 3, 0}, {4, 3, 2, 0}},
                {{{0, 0, 0}, {0, 0, 0}}});
        Restart();
        const auto faces = Outlines(InColor(CaptureFrame(), ColSelected));
        QCOMPARE(faces.size(), size_t(3));
        QVERIFY(SameCycle(faces[0], {{3, -3, 0}, {3, 3, 0}, {0, 0, 3}}));
        QVERIFY(SameCycle(faces[1], {{3, -3, 0}, {3, 3, 0}, {-3, 3, 0}, {-3, -3, 0}}));
        QVERIFY(SameCycle(faces[2], {{0, 0, 3}, {-3, 3, 0}, {3, 3, 0}, {-3, -3, 0}}));
    }

    void meshModeHighlightsTheCurrentMesh()
    {
        ThreeMeshes();
        Selection().Select(1, Model());
        Restart();
        QCOMPARE(Selection().CurMesh, 1);
        const auto frame = CaptureFrame();
        const auto selected = Outlines(InColor(frame, ColSelected));
        QCOMPARE(selected.size(), size_t(2));  // both faces of mesh 1
        QVERIFY(SameCorners(selected[1], {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}));
        QCOMPARE(Outlines(InColor(frame, ColMeshLines)).size(), size_t(2));  // meshes 0 and 2
        // Drawing order: mesh 0, mesh 1, mesh 2.
        QVERIFY(SameCorners(Outlines(frame).front(), {{-3, -1, 0}, {-2, -1, 0}, {-2, 1, 0}, {-3, 1, 0}}));
        QVERIFY(SameCorners(Outlines(frame).back(), {{2, -1, 0}, {3, -1, 0}, {3, 1, 0}, {2, 3, 0}}));
    }

    void faceModeOutlinesTheCurrentFaceLast()
    {
        ThreeMeshes();
        Selection().SetMode(1, Model());
        Selection().Select(PackSelection(1, 1), Model());
        Restart();
        QCOMPARE(Selection().CurMesh, 1);
        QCOMPARE(Selection().CurFace, 1);
        const auto outlines = Outlines(CaptureFrame());
        QCOMPARE(outlines.size(), size_t(5));
        const auto selected = Outlines(InColor(CaptureFrame(), ColSelected));
        QCOMPARE(selected.size(), size_t(1));
        QVERIFY(SameCorners(selected[0], {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}));
        QVERIFY(SameCorners(outlines.back(), selected[0]));
        QCOMPARE(Outlines(InColor(CaptureFrame(), ColMeshLines)).size(), size_t(4));
    }

    void meshesWithoutGlowsAreNotDrawnButTheirCurrentFaceIs()
    {
        AddMesh({{-3, -3, 0}, {-1, -3, 0}, {-1, -1, 0}}, {{0, 1, 2, -1}});  // no glows
        AddMesh({{3, 3, 0}, {1, 3, 0}, {1, 1, 0}}, {{0, 1, 2, -1}}, {{{2, 2, 0}, {0, 0, 0}}});
        Restart();
        auto outlines = Outlines(CaptureFrame());
        QCOMPARE(outlines.size(), size_t(1));
        QVERIFY(SameCorners(outlines[0], {{3, 3, 0}, {1, 3, 0}, {1, 1, 0}}));

        // In face mode the current face is outlined even in a mesh without glows.
        Selection().SetMode(1, Model());
        Selection().Select(PackSelection(0, 0), Model());
        const auto frame = CaptureFrame();
        outlines = Outlines(frame);
        QCOMPARE(outlines.size(), size_t(2));
        QVERIFY(SameCorners(Outlines(InColor(frame, ColSelected))[0], {{-3, -3, 0}, {-1, -3, 0}, {-1, -1, 0}}));
    }

    void glowsFollowThePanelButtons()
    {
        ThreeMeshes();
        Selection().Select(1, Model());
        Restart();

        // Panel hidden: no glow, whatever the buttons say.
        viewtest::Display() = {false, false, true};
        QCOMPARE(CountPoints(CaptureFrame()), size_t(0));
        viewtest::Display() = {};
        Selection().EditGlow = 0;
        QCOMPARE(CountPoints(CaptureFrame()), size_t(0));

        // "Show Selected Glow": only glow EditGlow of CurMesh.
        ShowGlows(true, false);
        Selection().EditGlow = 1;
        auto frame = CaptureFrame();
        QCOMPARE(CountPoints(frame), size_t(1));
        QVERIFY(Near(InColor(frame, ColPoint)[0].Vertices[0], {0, 0.5f, 0}));
        QVERIFY(InColor(frame, ColCone).empty());

        // EditGlow -1, or naming no glow of CurMesh: no glow, no error.
        for (int none : {-1, 2, 7}) {
            Selection().EditGlow = none;
            frame = CaptureFrame();
            QCOMPARE(CountPoints(frame), size_t(0));
            QCOMPARE(Outlines(frame).size(), size_t(4));
            QVERIFY(Panel()->LastFrameComplete());
        }

        // "Show All Glows": every glow of every mesh, with cones when asked.
        ShowGlows(false, true);
        Selection().EditGlow = -1;
        frame = CaptureFrame();
        QCOMPARE(CountPoints(frame), size_t(4));
        QCOMPARE(Outlines(InColor(frame, ColCone)).size(), size_t(24));
    }

    void staleSelectionRaisesTheListError()
    {
        ThreeMeshes();
        Restart();
        Selection().SetMode(1, Model());
        Selection().Select(PackSelection(5, 0), Model());
        try {
            CaptureFrame();
            QFAIL("no error");
        } catch (const EListError& e) {
            QCOMPARE(std::string(e.what()), std::string("^TMeshL Index not valid: 5"));
        }
        Selection().Select(PackSelection(2, 1), Model());
        QVERIFY_THROWS_EXCEPTION(EListError, CaptureFrame());
        // A glow index read through DrawGlow is checked too.
        Selection().SetMode(0, Model());
        Selection().Select(0, Model());
        QVERIFY_THROWS_EXCEPTION(EListError, DrawGlow(Scene(), Panel()->Projection(Camera()), 0, 1));
        QCOMPARE(GLInt(GL_MODELVIEW_STACK_DEPTH), 1);
    }
};

QTEST_MAIN(ViewDrawTest)
#include "view_draw_test.moc"
