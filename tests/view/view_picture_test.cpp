// The picture on screen against the faces drawn one by one, the kept picture
// of the meshes against a whole frame, and the pick that sends only the faces
// near the click against the pass that sends them all.

#include <GL/gl.h>

#include <QImage>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <random>
#include <set>

#include "scene_drawing.h"
#include "gl_state.h"
#include "grid_craft.h"
#include "opt_file_io.h"
#include "view_fixture.h"

using namespace viewtest;

namespace {

struct TestCamera {
    int32_t PanX = 0, PanY = 0, RotX = 0, RotY = 0, RotZ = 0;
    double Zoom = 1;
};

void Use(const TestCamera& c)
{
    Camera().PanX = c.PanX;
    Camera().PanY = c.PanY;
    Camera().RotX = c.RotX;
    Camera().RotY = c.RotY;
    Camera().RotZ = c.RotZ;
    Camera().Zoom = c.Zoom;
}

// At rest, turned every way, crowded (many vertices to a pixel), edge-on.
const TestCamera TestCameras[] = {{}, {3, -2, 23, -37, 11, 1.6}, {0, 0, 0, 0, 0, 0.07}, {0, 0, 90, 0, 0, 1}};

// The grid craft and, in the free band between its rows of grids, a fan of
// 24 triangles in every direction whose odd rim corners are second vertices
// at the coordinates of the first, a triangle with a corner twice, a quad
// whose fourth index is 0.
void Craft()
{
    OPTInFile().ReadOpt(optbuild::GridCraft(), "grid craft", Model());
    std::vector<TVertex> vertices{{0, -8, 0}};
    std::vector<std::array<int, 4>> faces;
    constexpr int Rim = 24;
    for (int i = 0; i < Rim; ++i) {
        const double a = 2 * std::numbers::pi * i / Rim;
        vertices.push_back({float(7.3 * std::cos(a)), float(-8 + 7.3 * std::sin(a)), float(i % 3)});
    }
    for (int i = 0; i < Rim; i += 2)
        vertices.push_back(vertices[size_t(i + 1)]);  // index Rim + 1 + i / 2
    const auto rim = [](int i, bool copy) { return copy && i % 2 == 0 ? Rim + 1 + i / 2 : 1 + i; };
    for (int i = 0; i < Rim; ++i)
        faces.push_back({0, rim(i, false), rim((i + 1) % Rim, i % 3 == 0), -1});
    faces.push_back({1, 5, 5, -1});
    faces.push_back({3, 9, 14, 0});
    AddMesh(vertices, faces, {{{0, -8, 0}, {2, 2, 2}}});
}

// Two meshes of 600 faces strewn over the grids, quads bent out of their
// plane and triangles, one mesh without glows; a third of the faces lie in
// the plane z = 0, where they meet the others at equal depth.
void StrewnFaces()
{
    std::mt19937 random(44);
    std::uniform_real_distribution<float> across(-45, 45), corner(-6, 6);
    for (int m = 0; m < 2; ++m) {
        std::vector<TVertex> vertices;
        std::vector<std::array<int, 4>> faces;
        for (int f = 0; f < 600; ++f) {
            const float x = across(random), y = across(random), z = across(random) / 8;
            const bool triangle = f % 2 == 0, flat = f % 3 == 0;
            const int first = int(vertices.size());
            for (int c = 0; c < (triangle ? 3 : 4); ++c)
                vertices.push_back({x + corner(random), y + corner(random), flat ? 0 : z + corner(random) / 2});
            faces.push_back({first, first + 1, first + 2, triangle ? -1 : first + 3});
        }
        AddMesh(vertices, faces, m == 0 ? std::vector<Glow>{{{0, 0, 0}, {1, 1, 1}}} : std::vector<Glow>{});
    }
}

QImage Shown()
{
    return Panel()->grabFramebuffer();
}

// The frame drawn with every face sent on its own.
QImage FaceByFace()
{
    const TScene scene = Scene();
    Panel()->DrawWith(Camera(), [&scene](const TViewProjection& view) {
        DrawMeshes(scene);
        DrawSceneGlows(scene, view);
    });
    return Shown();
}

// The meshes' picture as the panel draws it, from each mesh's kept edges.
void MeshPicture(const TViewProjection& view)
{
    TMeshArrays arrays;
    DrawMeshPicture(Scene(), view, arrays);
}

// The face pass, every face sent on its own.
void MeshFaces(const TViewProjection&)
{
    DrawMeshes(Scene());
}

std::vector<float> Depth;  // of the last picture FilledOneByOne or Filled drew

void KeepDepth()
{
    const QSize size = Panel()->DeviceSize();
    Depth.assign(size_t(size.width()) * size_t(size.height()), 0);
    glReadPixels(0, 0, size.width(), size.height(), GL_DEPTH_COMPONENT, GL_FLOAT, Depth.data());
}

// The solid picture with every face filled on its own, in immediate mode:
// a quad as its triangles (0, 1, 2) and (0, 2, 3), lit as the view lights
// it, the wireframe over the faces as the view draws it.
void FilledOneByOne(const TViewProjection& view)
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1, 1);
    for (const TOMesh& mesh : Model().Meshes) {
        const float grey = mesh.Glows.Count() > 0 ? 0.6f : 0.6f * 0.45f;
        for (const TOFace& face : mesh.Faces[0]) {
            // A triangle's normal from two edges, a quad's from its diagonals.
            const auto corner = [&](int c) { return mesh.Vertices.Get(face.VertIdx.Index[c]); };
            const auto minus = [](const TVertex& x, const TVertex& y) {
                return TVec3{double(x.X) - y.X, double(x.Y) - y.Y, double(x.Z) - y.Z};
            };
            const TVec3 a = face.IsTriangle() ? minus(corner(1), corner(0)) : minus(corner(2), corner(0));
            const TVec3 b = face.IsTriangle() ? minus(corner(2), corner(0)) : minus(corner(3), corner(1));
            const TVec3 normal{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
            const float light = grey * FaceLight(normal, view);
            glColor3f(light, light, light);
            TPrimitive triangles(GL_TRIANGLES);
            for (int c : face.IsTriangle() ? std::vector{0, 1, 2} : std::vector{0, 1, 2, 0, 2, 3}) {
                const TVertex& v = mesh.Vertices.Get(face.VertIdx.Index[c]);
                glVertex3f(v.X, v.Y, v.Z);
            }
        }
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    TScene wireframe = Scene();
    wireframe.Options.Solid = false;
    TMeshArrays arrays;
    DrawMeshPicture(wireframe, view, arrays);
    KeepDepth();
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
}

// The solid picture as the panel draws it, from arrays built anew.
void Filled(const TViewProjection& view)
{
    TMeshArrays arrays;
    DrawMeshPicture(Scene(), view, arrays);
    KeepDepth();
}

struct Point {
    float X, Y, Z;
    auto operator<=>(const Point&) const = default;
};
struct Segment {
    Point From, To;
    std::array<float, 3> Color;
    auto operator<=>(const Segment&) const = default;
};

// The line segments draw() sends under the camera, in window coordinates,
// as feedback reports them.
std::set<Segment> Segments(const std::function<void(const TViewProjection&)>& draw)
{
    constexpr size_t VertexSize = 7;  // x, y, z, r, g, b, a
    std::vector<GLfloat> buffer(1 << 22);
    GLint count = 0;
    {
        TContextCurrent current(*Panel());
        glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
        glRenderMode(GL_FEEDBACK);
        Panel()->DrawWith(Camera(), draw);
        count = glRenderMode(GL_RENDER);
    }
    std::set<Segment> out;
    for (size_t at = 0; at < size_t(count);) {
        const int token = int(buffer[at++]);
        if (token != GL_LINE_TOKEN && token != GL_LINE_RESET_TOKEN)
            throw std::runtime_error("feedback token " + std::to_string(token));
        const GLfloat* v = &buffer[at];
        out.insert(Segment{{v[0], v[1], v[2]}, {v[7], v[8], v[9]}, {v[3], v[4], v[5]}});
        at += 2 * VertexSize;
    }
    return out;
}

int DifferentPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return n;
}

// The names of the hit records of the pick pass at (x, y), device pixels, as
// the panel's pick sends it: only the faces that can meet the pick square;
// whole sends every face, as the pass did before it looked only near the
// click.
std::vector<GLuint> Hits(int x, int y, bool whole)
{
    TContextCurrent current(*Panel());
    const TScene scene = Scene();
    const TViewProjection view = Panel()->Projection(Camera());
    std::array<GLuint, 2048> records{};
    glSelectBuffer(GLsizei(records.size()), records.data());
    glRenderMode(GL_SELECT);
    const TGLMatrix pick = view.PickProjection(x, y, PickSquare);
    LoadCamera(pick, view);
    glInitNames();
    glPushName(0);
    const TGLMatrix region = pick * view.ModelView();
    DrawMeshes(scene, whole ? nullptr : &region);
    const GLint hits = glRenderMode(GL_RENDER);
    std::vector<GLuint> names;
    for (GLint i = 0; i < hits; ++i)
        names.push_back(records[size_t(i) * 4 + 3]);
    if (hits < 0)
        names.push_back(~0u);
    return names;
}

}  // namespace

class ViewPictureTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TViewPanel> OwnPanel;

private slots:
    void initTestCase() { OwnPanel.reset(ShowPanel()); }
    void init()
    {
        ResetViewState();
        Craft();
        ShowGlows(false, true);
        Selection().Select(1, Model());
        Restart();
    }

    // Every segment of the kept edges is a face's edge drawn as the face
    // draws it; every edge of a face is among them in one direction or the
    // other; every corner that begins a face's edge begins one of them, so
    // its end pixel is drawn as the faces draw it. Half the lines or so.
    void keptEdgesAreTheFacesEdges()
    {
        for (int32_t mode : {0, 1}) {
            Selection().SetMode(mode, Model());
            Selection().Select(mode == 0 ? 4 : PackSelection(4, 24), Model());
            // Turned, and small enough that no edge is clipped: a clipped
            // polygon and a clipped line end at points rounded apart.
            for (const TestCamera& camera : {TestCameras[0], TestCamera{0, 0, 23, -37, 11, 0.8}}) {
                Use(camera);
                const std::set<Segment> faces = Segments(MeshFaces);
                const std::set<Segment> kept = Segments(MeshPicture);
                std::set<Point> keptBegin;
                for (const Segment& k : kept) {
                    QVERIFY(faces.count(k));
                    keptBegin.insert(k.From);
                }
                for (const Segment& f : faces)
                    if (f.From != f.To) {
                        QVERIFY(kept.count(f) || kept.count(Segment{f.To, f.From, f.Color}));
                        QVERIFY(keptBegin.count(f.From));
                    }
                QVERIFY2(kept.size() < faces.size() * 6 / 10, qPrintable(QString::number(kept.size())));
            }
        }
    }

    // Pixel for pixel, but where an edge runs within 1/256 of a pixel from a
    // pixel's border: there Mesa rounds an edge's two directions apart, the
    // faces draw both and the kept edges one, and a pixel the faces light may
    // stay dark. So a pixel may differ only by being dark, and only on a kept
    // edge (its centre within a pixel of it): a missing, extra or misplaced
    // edge lights or darkens pixels away from every kept edge.
    void pictureIsTheFacesDrawnOneByOne()
    {
        for (int32_t mode : {0, 1}) {
            Selection().SetMode(mode, Model());
            Selection().Select(mode == 0 ? 4 : PackSelection(4, 24), Model());
            for (const TestCamera& camera : TestCameras) {
                Use(camera);
                const std::set<Segment> kept = Segments(MeshPicture);
                Draw();
                const QImage picture = Shown();
                const QImage faces = FaceByFace();
                QCOMPARE(picture.size(), faces.size());
                const auto onKeptEdge = [&](int x, int y) {
                    // Window coordinates count up from the bottom row.
                    const float px = float(x) + 0.5f, py = float(faces.height() - 1 - y) + 0.5f;
                    return std::any_of(kept.begin(), kept.end(), [&](const Segment& s) {
                        const float dx = s.To.X - s.From.X, dy = s.To.Y - s.From.Y;
                        const float length2 = dx * dx + dy * dy;
                        const float t =
                            length2 > 0 ? std::clamp(((px - s.From.X) * dx + (py - s.From.Y) * dy) / length2, 0.0f, 1.0f)
                                        : 0.0f;
                        return std::hypot(s.From.X + t * dx - px, s.From.Y + t * dy - py) <= 1.0f;
                    });
                };
                for (int y = 0; y < faces.height(); ++y)
                    for (int x = 0; x < faces.width(); ++x)
                        if (picture.pixel(x, y) != faces.pixel(x, y)) {
                            const QString where = QString("mode %1, camera %2 %3 %4 zoom %5, pixel %6, %7")
                                                      .arg(mode)
                                                      .arg(camera.RotX)
                                                      .arg(camera.RotY)
                                                      .arg(camera.RotZ)
                                                      .arg(camera.Zoom)
                                                      .arg(x)
                                                      .arg(y);
                            QVERIFY2(picture.pixelColor(x, y) == QColor(Qt::black), qPrintable(where));
                            QVERIFY2(onKeptEdge(x, y), qPrintable(where));
                        }
            }
        }
    }

    // Each kind of change shows in the next frame, which then equals a frame
    // with the meshes drawn anew.
    void keptPictureFollowsEveryChange()
    {
        const std::vector<std::pair<const char*, std::function<void()>>> changes = {
            {"turn", [] { Camera().RotY += 4; }},
            {"shift", [] { Camera().PanY -= 5; }},
            {"zoom", [] { Camera().Zoom += 0.05; }},
            {"selection", [] { Selection().Select(2, Model()); }},
            {"face mode", [] { Selection().SetMode(1, Model()); }},
            {"face", [] { Selection().Select(PackSelection(2, 7), Model()); }},
            {"line colour", [] { Colors()[ColMeshLines] = {0.5f, 0, 0.5f}; }},
            {"selected colour", [] { Colors()[ColSelected] = {0, 0.5f, 0.5f}; }},
            // The lowest glow down: its point sticks out below its lines.
            {"glow", [] { Model().Meshes.Get(Model().Meshes.Count() - 1).Glows.Get(0).Center.Y -= 9; }},
            {"halos", [] {
                 // Half clear, so that a halo blended twice shows.
                 Options().GlowColors = true;
                 for (TOMesh& mesh : Model().Meshes)
                     for (TEngineGlow& glow : mesh.Glows)
                         glow.CoreColor = 0x80FF8000, glow.OuterColor = 0x400080FF;
             }},
            {"glow under halos", [] { Model().Meshes.Get(0).Glows.Get(0).Center.X += 9; }},
            {"glow buttons", [] { ShowGlows(true, false); }},
            {"size", [this] {
                 OwnPanel->resize(300, 300);
                 QTRY_COMPARE(Panel()->DeviceSize().width(), DevicePixels(300));
             }},
        };
        Draw();
        for (const auto& [name, change] : changes) {
            const QImage before = Shown();
            change();
            Draw();
            const QImage kept = Shown();
            QVERIFY2(kept != before, name);
            Panel()->ForgetMeshes();
            Draw();
            QVERIFY2(DifferentPixels(kept, Shown()) == 0, name);
        }
        OwnPanel->resize(400, 400);
        QTRY_COMPARE(Panel()->DeviceSize().width(), DevicePixels(400));
    }

    // Pixel for pixel and depth for depth, on faces that overlap at equal
    // depth, from every side and zoomed in past the panel's edges: the
    // order, the light and the split of each quad are the faces' own. (A
    // quad sent whole is split as the driver likes: on Mesa the same frame
    // came out differently from one drawing to the next.)
    void solidPictureIsTheFacesFilledOneByOne()
    {
        StrewnFaces();
        Options().Solid = true;
        Options().WholeModel = true;
        const TestCamera zoomedIn{0, 0, -30, 60, 0, 2.5};
        for (const TestCamera& camera : {TestCameras[0], TestCameras[1], TestCameras[3], zoomedIn}) {
            Use(camera);
            Panel()->DrawWith(Camera(), FilledOneByOne);
            const QImage faces = Shown();
            const std::vector<float> facesDepth = Depth;
            for (int twice = 0; twice < 2; ++twice) {
                Panel()->DrawWith(Camera(), Filled);
                const QString where =
                    QString("camera %1 %2 %3 zoom %4").arg(camera.RotX).arg(camera.RotY).arg(camera.RotZ).arg(camera.Zoom);
                QVERIFY2(DifferentPixels(Shown(), faces) == 0, qPrintable(where));
                QVERIFY2(Depth == facesDepth, qPrintable(where));
            }
        }
    }

    // A frame drawn in parts is the frame drawn whole, and takes in the
    // camera given between its parts by starting over; once a frame's parts
    // were drawn since the last frame shown, it is finished as begun and
    // says so, however often the camera changes.
    void aFrameInPartsTakesInWhatChangedBetweenItsParts()
    {
        StrewnFaces();
        Options().Solid = true;
        Options().WholeModel = true;
        TestCamera a = TestCameras[1], b = a;
        b.RotY += 4;
        Use(b);
        Draw();
        const QImage pictureB = Shown();
        const auto drawPart = [](const TestCamera& camera) {
            Use(camera);
            return Panel()->DrawPart(Scene(), Camera());
        };
        // Parts drawn with the camera cameraOfCall gives each call, until a
        // frame is shown: how many calls, and what the last one said.
        int calls = 0;
        TPartDrawn drawn = TPartDrawn::Drawing;
        const auto inParts = [&](const std::function<TestCamera(int)>& cameraOfCall) {
            Panel()->ForgetMeshes();
            const int frames = Panel()->FramesShown();
            drawn = TPartDrawn::Drawing;
            for (calls = 0; drawn == TPartDrawn::Drawing && calls < 10 * TViewPanel::FrameParts; ++calls)
                drawn = drawPart(cameraOfCall(calls));
            QCOMPARE(Panel()->FramesShown(), frames + 1);
            QCOMPARE(DifferentPixels(Shown(), pictureB), 0);
        };
        // Turned after the first part: the turned picture, shown once.
        inParts([&](int call) { return call == 0 ? a : b; });
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(drawn, TPartDrawn::Shown);
        QVERIFY2(calls == TViewPanel::FrameParts + 1, qPrintable(QString::number(calls)));
        // Turned back and forth at every part: b's picture, begun after a
        // frame's parts, while a was asked for last.
        inParts([&](int call) { return call % 2 == 0 ? a : b; });
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(drawn, TPartDrawn::ShownBehind);
        QVERIFY2(calls == 2 * TViewPanel::FrameParts - 1, qPrintable(QString::number(calls)));
        // As that, then the panel resized: a whole frame at the new size at
        // once, as for a window being resized.
        Panel()->ForgetMeshes();
        for (int call = 0; call < TViewPanel::FrameParts; ++call)
            QCOMPARE(drawPart(call % 2 == 0 ? a : b), TPartDrawn::Drawing);
        OwnPanel->resize(300, 300);
        QTRY_COMPARE(Panel()->DeviceSize().width(), DevicePixels(300));
        QCOMPARE(drawPart(b), TPartDrawn::Shown);
        QCOMPARE(Shown().size(), Panel()->DeviceSize());
        OwnPanel->resize(400, 400);
        QTRY_COMPARE(Panel()->DeviceSize().width(), DevicePixels(400));
    }

    void pickLooksOnlyNearTheClickAndFindsTheSame()
    {
        constexpr int Step = 71;
        int hit = 0, clicks = 0;
        for (int32_t mode : {0, 1}) {
            Selection().SetMode(mode, Model());
            for (const TestCamera& camera : {TestCameras[0], TestCameras[1]}) {
                Use(camera);
                for (int y = 3; y < Panel()->DeviceSize().height(); y += DevicePixels(Step))
                    for (int x = 3; x < Panel()->DeviceSize().width(); x += DevicePixels(Step)) {
                        const std::vector<GLuint> sent = Hits(x, y, false);
                        QVERIFY2(sent == Hits(x, y, true), qPrintable(QString("click at %1, %2").arg(x).arg(y)));
                        // The panel's pick is that pass: it finds the first.
                        const std::optional<int32_t> picked = Panel()->PickFace(Scene(), Camera(), x, y);
                        const bool none = sent.empty() || sent[0] == ~0u;
                        QVERIFY2(picked.has_value() != none && (none || *picked == int32_t(sent[0])),
                                 qPrintable(QString("click at %1, %2").arg(x).arg(y)));
                        hit += sent.empty() ? 0 : 1;
                        ++clicks;
                    }
            }
        }
        // Enough clicks land on the grids, and some beside them, at any scale.
        QVERIFY2(hit * 4 > clicks && hit < clicks, qPrintable(QString("%1 of %2 clicks hit").arg(hit).arg(clicks)));
    }
};

QTEST_MAIN(ViewPictureTest)
#include "view_picture_test.moc"
