#include "view_fixture.h"

#include <GL/gl.h>

#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <exception>
#include <sstream>

#include "scene_drawing.h"

namespace viewtest {

namespace {

struct TViewTestState {
    TModel Model;
    TSelection Selection;
    TGlowDisplay Display;
    TGlowPreview Preview;
    TViewOptions Options;
    TCamera Camera;
    TColorTable Colors{};
    TViewPanel* Panel = nullptr;
};

TViewTestState& State()
{
    static TViewTestState state;
    return state;
}

}  // namespace

TModel& Model()
{
    return State().Model;
}

TSelection& Selection()
{
    return State().Selection;
}

TGlowDisplay& Display()
{
    return State().Display;
}

TGlowPreview& Preview()
{
    return State().Preview;
}

TViewOptions& Options()
{
    return State().Options;
}

TColorTable& Colors()
{
    return State().Colors;
}

TCamera& Camera()
{
    return State().Camera;
}

TViewPanel* Panel()
{
    return State().Panel;
}

void UsePanel(TViewPanel* panel)
{
    State().Panel = panel;
}

TScene Scene()
{
    return {Model(), Selection(), Display(), Preview(), Options(), Colors()};
}

void Draw()
{
    Panel()->Draw(Scene(), Camera());
}

void Restart()
{
    FitToModel(Camera(), Model());
    Panel()->Restart();
    Draw();
}

bool Pick(int x, int y)
{
    const std::optional<int32_t> hit = Panel()->PickFace(Scene(), Camera(), x, y);
    if (hit)
        Selection().Select(*hit, Model());
    return bool(hit);
}

int AddMesh(const std::vector<TVertex>& vertices, const std::vector<std::array<int, 4>>& faces,
            const std::vector<Glow>& glows)
{
    TOMesh mesh = TModel::NewMesh();
    for (const TVertex& v : vertices)
        mesh.Vertices.Add(v);
    for (const auto& indices : faces) {
        TOFace face = TOMesh::NewFace();
        for (int c = 0; c < 4; ++c)
            face.VertIdx.Index[c] = indices[size_t(c)];
        mesh.Faces[0].Add(face);
    }
    for (const Glow& g : glows) {
        TEngineGlow glow = TOMesh::NewGlow();
        glow.Center = g.Center;
        glow.MainVec = g.MainVec;
        mesh.Glows.Add(glow);
    }
    return Model().Meshes.Add(std::move(mesh));
}

void SetDistinctColors()
{
    const TColorF colors[ViewColorCount] = {
        {0.25f, 0.25f, 0.25f}, {1, 1, 0}, {1, 1, 1}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0.5f, 1},
    };
    for (int i = 0; i < ViewColorCount; ++i)
        Colors()[i] = colors[i];
}

const TColorF& Color(TViewColor entry)
{
    return Colors()[entry];
}

void ResetViewState()
{
    TViewPanel* panel = State().Panel;
    State() = {};
    State().Panel = panel;
    Selection().EditGlow = -1;
    SetDistinctColors();
}

void ShowGlows(bool selectedOnly, bool cones)
{
    Display() = {true, selectedOnly, cones};
}

bool Near(const Point3& a, const Point3& b, float tolerance)
{
    return std::fabs(a.X - b.X) <= tolerance && std::fabs(a.Y - b.Y) <= tolerance &&
           std::fabs(a.Z - b.Z) <= tolerance;
}

std::string Text(const Point3& p)
{
    std::ostringstream out;
    out << "(" << p.X << ", " << p.Y << ", " << p.Z << ")";
    return out.str();
}

namespace {

// The volume the frame is drawn in: ViewMin..ViewMax on x and y, half a unit
// wider either side where they meet; depth 100 times the bound farthest from
// zero, near the positive plane.
struct Volume {
    float Low, High, Near, Far;
};

Volume ViewVolume()
{
    float low = float(Camera().ViewMin), high = float(Camera().ViewMax);
    if (low == high) {
        low -= 0.5f;
        high += 0.5f;
    }
    const float depth = 100 * std::max(std::fabs(low), std::fabs(high));
    return {low, high, depth, -depth};
}

// Window coordinates back to eye space through the viewport and the fitted
// orthographic volume.
Point3 ToModel(const GLfloat* v)
{
    const Volume volume = ViewVolume();
    const float span = volume.High - volume.Low;
    const float zNdc = 2 * v[2] - 1;
    const QSize size = Panel()->DeviceSize();
    return {volume.Low + v[0] / float(size.width()) * span, volume.Low + v[1] / float(size.height()) * span,
            -(zNdc * (volume.Far - volume.Near) + (volume.Far + volume.Near)) / 2};
}

}  // namespace

std::vector<Primitive> CaptureFrame()
{
    constexpr int VertexSize = 7;  // x, y, z, r, g, b, a
    std::vector<GLfloat> buffer(1 << 20);
    GLint count = 0;
    {
        TContextCurrent current(*Panel());
        glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
        glRenderMode(GL_FEEDBACK);
        try {
            Draw();
        } catch (...) {
            glRenderMode(GL_RENDER);
            throw;
        }
        count = glRenderMode(GL_RENDER);
    }
    std::vector<Primitive> out;
    auto vertex = [&](int& at, Primitive& p) {
        if (p.Vertices.empty())
            p.Color = {buffer[size_t(at) + 3], buffer[size_t(at) + 4], buffer[size_t(at) + 5]};
        p.Vertices.push_back(ToModel(&buffer[size_t(at)]));
        at += VertexSize;
    };
    for (int at = 0; at < count;) {
        const int token = int(buffer[size_t(at++)]);
        Primitive p;
        if (token == GL_POINT_TOKEN) {
            p.Type = Primitive::PointToken;
            vertex(at, p);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            p.Type = Primitive::LineToken;
            p.Reset = token == GL_LINE_RESET_TOKEN;
            vertex(at, p);
            vertex(at, p);
        } else if (token == GL_POLYGON_TOKEN) {
            p.Type = Primitive::PolygonToken;
            const int n = int(buffer[size_t(at++)]);
            for (int i = 0; i < n; ++i)
                vertex(at, p);
        } else {
            throw std::runtime_error("unexpected feedback token " + std::to_string(token));
        }
        out.push_back(p);
    }
    return out;
}

std::vector<Primitive> InColor(const std::vector<Primitive>& all, TViewColor entry)
{
    const TColorF& c = Colors()[entry];
    std::vector<Primitive> out;
    for (const Primitive& p : all)
        if (std::fabs(p.Color.Red - c.Red) < 1e-3f && std::fabs(p.Color.Green - c.Green) < 1e-3f &&
            std::fabs(p.Color.Blue - c.Blue) < 1e-3f)
            out.push_back(p);
    return out;
}

std::vector<std::vector<Point3>> Outlines(const std::vector<Primitive>& lines)
{
    std::vector<std::vector<Point3>> out;
    for (const Primitive& p : lines) {
        if (p.Type != Primitive::LineToken)
            continue;
        if (p.Reset || out.empty())
            out.emplace_back();
        out.back().push_back(p.Vertices[0]);
    }
    return out;
}

TViewPanel* ShowPanel(int size)
{
    auto* panel = new TViewPanel;
    State().Panel = panel;
    panel->resize(size, size);
    // Qt's first frame on screen: the panel's context is made and its window
    // composed, so the tests' own frames and grabs find both.
    QSignalSpy shown(panel, &TViewPanel::frameSwapped);
    panel->show();
    if (!QTest::qWaitForWindowExposed(panel) || !QTest::qWaitFor([&] { return !shown.isEmpty(); }, 60000))
        throw std::runtime_error("panel not shown");
    return panel;
}

int DevicePixels(int logical)
{
    return qRound(logical * Panel()->devicePixelRatio());
}

int GLInt(unsigned query)
{
    TContextCurrent current(*Panel());
    GLint value = 0;
    glGetIntegerv(query, &value);
    return value;
}

int PixelX(float x)
{
    const Volume volume = ViewVolume();
    return int(std::lround((x - volume.Low) / (volume.High - volume.Low) * float(Panel()->DeviceSize().width())));
}

int PixelY(float y)
{
    const Volume volume = ViewVolume();
    return int(std::lround((volume.High - y) / (volume.High - volume.Low) * float(Panel()->DeviceSize().height())));
}

}  // namespace viewtest
