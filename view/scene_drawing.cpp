#include "scene_drawing.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "app_state.h"
#include "glow_preview.h"
#include "mesh_lines.h"
#include "model.h"
#include "view_colors.h"
#include "view_projection.h"
#include "view_state.h"

std::function<TGlowDisplay()> GlowDisplay;

namespace {

// One glBegin/glEnd pair. The end also runs when a list error leaves the
// primitive half sent, so the context is never left inside glBegin.
class TPrimitive {
public:
    explicit TPrimitive(GLenum mode) { glBegin(mode); }
    ~TPrimitive() { glEnd(); }
    TPrimitive(const TPrimitive&) = delete;
    TPrimitive& operator=(const TPrimitive&) = delete;
};

TGlowDisplay CurrentDisplay()
{
    return GlowDisplay ? GlowDisplay() : TGlowDisplay{};
}

void SetColor(TViewColor entry)
{
    const TColorF& c = ViewColors[entry];
    glColor3f(c.Red, c.Green, c.Blue);
}

void Vertex(const TFloat3& p)
{
    glVertex3f(p.X, p.Y, p.Z);
}

TFloat3 Offset(const TFloat3& p, float dx, float dy, float dz)
{
    return {p.X + dx, p.Y + dy, p.Z + dz};
}

// A face outline: a quad, or a triangle when Index[3] is -1. Corners are read
// through the list's Get, so a bad vertex index raises its list error.
void DrawFace(const TOMesh& mesh, const TOFace& face)
{
    TPrimitive primitive(face.IsTriangle() ? GL_TRIANGLES : GL_QUADS);
    for (int corner = 0; corner < face.CornerCount(); ++corner) {
        const TVertex& v = mesh.Vertices.Get(face.VertIdx.Index[corner]);
        glVertex3f(v.X, v.Y, v.Z);
    }
}

void Triangle(const TFloat3& first, const TFloat3& second, const TFloat3& third)
{
    TPrimitive primitive(GL_TRIANGLES);
    Vertex(first);
    Vertex(second);
    Vertex(third);
}

// GL_VERTEX_ARRAY on for its lifetime.
class TVertexArray {
public:
    TVertexArray() { glEnableClientState(GL_VERTEX_ARRAY); }
    ~TVertexArray() { glDisableClientState(GL_VERTEX_ARRAY); }
    TVertexArray(const TVertexArray&) = delete;
    TVertexArray& operator=(const TVertexArray&) = delete;
};

// False only when the box of the face's corners, through m, lies wholly
// outside the clip square [-1, 1] x [-1, 1], by more than GL's single
// precision could err: then none of its edges can be hit. Corners are read
// through the list's Get, in DrawFace's order.
bool MayMeetClipSquare(const TOMesh& mesh, const TOFace& face, const TClipMatrix& m)
{
    constexpr double Inf = std::numeric_limits<double>::infinity();
    double lowX = Inf, highX = -Inf, lowY = Inf, highY = -Inf, size = 0;
    for (int corner = 0; corner < face.CornerCount(); ++corner) {
        const TVertex& v = mesh.Vertices.Get(face.VertIdx.Index[corner]);
        const double x = m[0] * v.X + m[4] * v.Y + m[8] * v.Z + m[12];
        const double y = m[1] * v.X + m[5] * v.Y + m[9] * v.Z + m[13];
        const double w = m[3] * v.X + m[7] * v.Y + m[11] * v.Z + m[15];
        if (!(w > 0) || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w))
            return true;
        lowX = std::min(lowX, x / w);
        highX = std::max(highX, x / w);
        lowY = std::min(lowY, y / w);
        highY = std::max(highY, y / w);
        // The terms' size bounds the rounding of GL's float sums.
        size = std::max(size, (std::fabs(m[0] * v.X) + std::fabs(m[4] * v.Y) + std::fabs(m[8] * v.Z) +
                               std::fabs(m[12]) + std::fabs(m[1] * v.X) + std::fabs(m[5] * v.Y) +
                               std::fabs(m[9] * v.Z) + std::fabs(m[13])) / w);
    }
    const double margin = 1e-3 + 1e-5 * size;
    return lowX <= 1 + margin && highX >= -1 - margin && lowY <= 1 + margin && highY >= -1 - margin;
}

// The faces of one mesh under their names. unsentLast is the name of the
// last face of the pass when pickRegion left it out, -1 when it was sent: the
// current face's outline counts under the last name loaded.
void SendFaces(int32_t meshIndex, const TOMesh& mesh, bool faceNames, const TClipMatrix* pickRegion,
               int64_t& unsentLast)
{
    int32_t f = 0;
    for (const TOFace& face : mesh.Faces[0]) {
        const GLuint name = GLuint(faceNames ? PackSelection(meshIndex, f) : meshIndex);
        if (pickRegion && !MayMeetClipSquare(mesh, face, *pickRegion)) {
            unsentLast = name;
        } else {
            glLoadName(name);
            DrawFace(mesh, face);
            unsentLast = -1;
        }
        ++f;
    }
}

// Face mode: the current face once more on top, in "Selected".
void DrawCurrentFace()
{
    SetColor(ColSelected);
    const TOMesh& mesh = TheModel.Meshes.Get(CurMesh);
    DrawFace(mesh, mesh.Faces[0].Get(CurFace));
}

TViewColor MeshColor(int32_t meshIndex)
{
    return meshIndex == CurMesh && SelectMode == 0 ? ColSelected : ColMeshLines;
}

// True when EditGlow names a glow of CurMesh. An index past the mesh's glows
// is treated as no glow, never read.
bool EditGlowShown()
{
    if (EditGlow == -1)
        return false;
    const TOMesh& mesh = TheModel.Meshes.Get(CurMesh);
    return EditGlow >= 0 && EditGlow < mesh.Glows.Count();
}

// What the meshes without glows are drawn in under "Whole Model": their
// colour, dimmed, so the meshes being worked on stand out.
constexpr float Dimmed = 0.45f;

bool MeshDrawn(const TOMesh& mesh)
{
    return mesh.Glows.Count() > 0 || ViewOptions.WholeModel;
}

void SetMeshColor(int32_t meshIndex, const TOMesh& mesh)
{
    if (mesh.Glows.Count() > 0) {
        SetColor(MeshColor(meshIndex));
        return;
    }
    const TColorF& c = ViewColors[ColMeshLines];
    glColor3f(c.Red * Dimmed, c.Green * Dimmed, c.Blue * Dimmed);
}

// Model to eye without the shift, column-major; the zoom scales it.
using TEyeTurn = std::array<double, 9>;

TEyeTurn CurrentEyeTurn()
{
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    return {m[0], m[1], m[2], m[4], m[5], m[6], m[8], m[9], m[10]};
}

// The solid picture: filled faces, depth-tested, pushed back a little so the
// outlines drawn over them at the same depth stay whole. Put back as it was
// however the pass ends.
class TSolidPass {
public:
    TSolidPass()
    {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
    }
    ~TSolidPass()
    {
        glDisable(GL_POLYGON_OFFSET_FILL);
        glDisable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    }
    TSolidPass(const TSolidPass&) = delete;
    TSolidPass& operator=(const TSolidPass&) = delete;
};

// Brightness of a face under the fixed light: a little everywhere, more the
// more it faces the light, from either side (a model's faces may wind either
// way). The light comes from the viewer's side, above and to the left.
float FaceLight(const TOMesh& mesh, const TOFace& face, const TEyeTurn& turn)
{
    const auto corner = [&](int i) { return mesh.Vertices.Get(face.VertIdx.Index[i]); };
    const auto minus = [](const TVertex& x, const TVertex& y) {
        return std::array<double, 3>{double(x.X) - y.X, double(x.Y) - y.Y, double(x.Z) - y.Z};
    };
    // A triangle's normal from two edges, a quad's from its diagonals.
    const TVertex v0 = corner(0), v1 = corner(1), v2 = corner(2);
    const auto a = face.IsTriangle() ? minus(v1, v0) : minus(v2, v0);
    const auto b = face.IsTriangle() ? minus(v2, v0) : minus(corner(3), v1);
    const double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    double e[3];
    for (int i = 0; i < 3; ++i)
        e[i] = turn[size_t(i)] * n[0] + turn[size_t(3 + i)] * n[1] + turn[size_t(6 + i)] * n[2];
    const double length = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
    constexpr double Light[3] = {-0.36, 0.48, -0.8};  // unit, towards the light
    const double facing = length > 0 ? std::fabs(e[0] * Light[0] + e[1] * Light[1] + e[2] * Light[2]) / length : 0;
    constexpr double Ambient = 0.3, Diffuse = 0.7;
    return float(Ambient + Diffuse * facing);
}

// The faces of level 0 of each mesh drawn, filled in a neutral grey lit by
// FaceLight. Corners are read through the list's Get.
void DrawFilledFaces()
{
    const TEyeTurn turn = CurrentEyeTurn();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1, 1);
    for (const TOMesh& mesh : TheModel.Meshes) {
        if (!MeshDrawn(mesh))
            continue;
        const float grey = mesh.Glows.Count() > 0 ? 0.6f : 0.6f * Dimmed;
        for (const TOFace& face : mesh.Faces[0]) {
            const float light = grey * FaceLight(mesh, face, turn);
            glColor3f(light, light, light);
            DrawFace(mesh, face);
        }
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
}

// RGBA of a glow's colour word (0xAARRGGBB), premultiplied by its alpha:
// blended so, a colour of alpha 0 adds nothing anywhere, also where it is
// shaded into the other colour.
std::array<float, 4> Premultiplied(uint32_t word)
{
    const float alpha = float(word >> 24) / 255;
    const auto channel = [&](int shift) { return float((word >> shift) & 0xFF) / 255 * alpha; };
    return {channel(16), channel(8), channel(0), alpha};
}

// Blending of premultiplied colours over the picture, for its lifetime.
class TBlend {
public:
    TBlend()
    {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    ~TBlend()
    {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glDisable(GL_BLEND);
    }
    TBlend(const TBlend&) = delete;
    TBlend& operator=(const TBlend&) = delete;
};

// The glow as a halo in its own colours, flat towards the viewer: the core
// colour at the centre shaded into the outer colour at the rim. The rim is
// the outline, as seen, of the half ellipsoid that the schematic's lines
// span (x: +-V.x/4, y: from the centre to V.y/2, z: +-V.z), never nearer the
// centre than a few pixels.
void DrawHalo(const TEngineGlow& glow)
{
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    const TFloat3& p = glow.Center;
    const TFloat3& v = glow.MainVec;
    const std::array<double, 3> centre{m[0] * p.X + m[4] * p.Y + m[8] * p.Z + m[12],
                                       m[1] * p.X + m[5] * p.Y + m[9] * p.Z + m[13],
                                       m[2] * p.X + m[6] * p.Y + m[10] * p.Z + m[14]};
    // The half axes as seen: x, y (the half the glow points to), z.
    const auto seen = [&](int axis, double length) {
        return std::array<double, 2>{m[4 * axis] * length, m[4 * axis + 1] * length};
    };
    const std::array<double, 2> axes[3] = {seen(0, v.X / 4.0), seen(1, v.Y / 2.0), seen(2, v.Z)};
    const TViewVolume volume = ViewVolume(ViewMin, ViewMax);
    constexpr double MinPixels = 4;
    const double least = MinPixels * (volume.High - volume.Low) / std::max(ViewWidth, 1);

    const auto core = Premultiplied(glow.CoreColor);
    const auto outer = Premultiplied(glow.OuterColor);
    glPushMatrix();
    glLoadIdentity();
    {
        TBlend blend;
        TPrimitive fan(GL_TRIANGLE_FAN);
        glColor4f(core[0], core[1], core[2], core[3]);
        glVertex3d(centre[0], centre[1], centre[2]);
        glColor4f(outer[0], outer[1], outer[2], outer[3]);
        constexpr int Steps = 64;
        for (int k = 0; k <= Steps; ++k) {
            // The outline's point farthest along the direction n: on the
            // ellipsoid where it faces the glow's half, else on its rim.
            const double angle = 2 * std::numbers::pi * (k % Steps) / Steps;
            const double n[2] = {std::cos(angle), std::sin(angle)};
            double along[3];
            for (int i = 0; i < 3; ++i)
                along[i] = axes[i][0] * n[0] + axes[i][1] * n[1];
            if (along[1] < 0)
                along[1] = 0;
            const double length = std::sqrt(along[0] * along[0] + along[1] * along[1] + along[2] * along[2]);
            double x = 0, y = 0;
            if (length > 0)
                for (int i = 0; i < 3; ++i) {
                    x += axes[i][0] * along[i] / length;
                    y += axes[i][1] * along[i] / length;
                }
            if (x * n[0] + y * n[1] < least) {
                x = least * n[0];
                y = least * n[1];
            }
            glVertex3d(centre[0] + x, centre[1] + y, centre[2]);
        }
    }
    glPopMatrix();
}

}  // namespace

void DrawScene()
{
    DrawMeshes();
    DrawSceneGlows();
}

void DrawSceneGlows()
{
    const TGlowDisplay display = CurrentDisplay();
    if (display.Showing) {
        if (!display.SelectedOnly)
            DrawAllGlows();
        else if (EditGlowShown())
            DrawGlow(CurMesh, EditGlow);
    }
    ViewReady = true;
}

void DrawMeshFaces(int32_t meshIndex, const TOMesh& mesh, bool faceNames)
{
    int64_t unsentLast = -1;
    SendFaces(meshIndex, mesh, faceNames, nullptr, unsentLast);
}

void DrawMeshes(const TClipMatrix* pickRegion)
{
    DecodeSelection();
    int64_t unsentLast = -1;
    int32_t i = 0;
    for (const TOMesh& mesh : TheModel.Meshes) {
        // Meshes without glows are neither drawn nor pickable.
        if (mesh.Glows.Count() > 0) {
            // Every face of a mesh has the mesh's colour: set once, not per face.
            SetColor(MeshColor(i));
            SendFaces(i, mesh, SelectMode == 1, pickRegion, unsentLast);
        }
        ++i;
    }
    if (SelectMode == 1) {
        // Under the last name loaded.
        if (unsentLast >= 0)
            glLoadName(GLuint(unsentLast));
        DrawCurrentFace();
    }
}

void DrawMeshPicture()
{
    DecodeSelection();
    std::optional<TSolidPass> solid;
    if (ViewOptions.Solid) {
        solid.emplace();
        DrawFilledFaces();
    }
    {
        TVertexArray vertexArray;
        int32_t i = 0;
        for (const TOMesh& mesh : TheModel.Meshes) {
            if (MeshDrawn(mesh)) {
                const TMeshLines& lines = MeshLines(i, mesh);
                if (lines.BadVertex)
                    ListIndexError(list_messages::Vertex, *lines.BadVertex);
                SetMeshColor(i, mesh);
                glVertexPointer(3, GL_FLOAT, sizeof(TVertex), lines.Ends.data());
                glDrawArrays(GL_LINES, 0, GLsizei(lines.Ends.size()));
            }
            ++i;
        }
    }
    if (SelectMode == 1)
        DrawCurrentFace();
}

void DrawAllGlows()
{
    // Every halo under every glow's lines, not only under its own.
    for (const bool halos : {true, false}) {
        if (halos && !ViewOptions.GlowColors)
            continue;
        int i = 0;
        for (const TOMesh& mesh : TheModel.Meshes) {
            for (int j = 0; j < mesh.Glows.Count(); ++j)
                halos ? DrawHalo(ShownValues({i, j})) : DrawGlowLines(i, j);
            ++i;
        }
    }
}

void DrawGlow(int meshIndex, int glowIndex)
{
    if (glowIndex == -1)
        return;
    if (ViewOptions.GlowColors)
        DrawHalo(ShownValues({meshIndex, glowIndex}));
    DrawGlowLines(meshIndex, glowIndex);
}

void DrawGlowLines(int meshIndex, int glowIndex)
{
    const TEngineGlow& glow = ShownValues({meshIndex, glowIndex});
    const TFloat3& p = glow.Center;
    const TFloat3& v = glow.MainVec;
    const float a = v.X / 4;
    const float b = v.Y / 2;
    // The glow being edited has the larger point, among all glows or alone.
    const bool edited = meshIndex == CurMesh && glowIndex == EditGlow;
    glPointSize(edited ? LargestGlowPoint : 4.0f);
    SetColor(ColPoint);
    {
        TPrimitive points(GL_POINTS);
        Vertex(p);
    }
    glPointSize(4.0f);
    {
        TPrimitive lines(GL_LINES);
        SetColor(ColXVector);
        Vertex(Offset(p, a, 0, 0));
        Vertex(p);
        Vertex(p);
        Vertex(Offset(p, -a, 0, 0));
        SetColor(ColYVector);
        Vertex(Offset(p, 0, b, 0));
        Vertex(p);
        SetColor(ColZVector);
        Vertex(Offset(p, 0, 0, v.Z));
        Vertex(p);
        Vertex(p);
        Vertex(Offset(p, 0, 0, -v.Z));
    }
    if (CurrentDisplay().Cones) {
        SetColor(ColCone);
        const TFloat3 apex = Offset(p, 0, b, 0);
        Triangle(Offset(p, 0, 0, -v.Z), apex, Offset(p, -a, 0, 0));
        Triangle(Offset(p, 0, 0, v.Z), apex, Offset(p, -a, 0, 0));
        Triangle(Offset(p, 0, 0, -v.Z), apex, Offset(p, a, 0, 0));
        Triangle(Offset(p, 0, 0, v.Z), apex, Offset(p, a, 0, 0));
        // The last two exchange the offsets: a on the z axis, V.z on the x axis.
        Triangle(Offset(p, 0, 0, -a), apex, Offset(p, -v.Z, 0, 0));
        Triangle(Offset(p, 0, 0, a), apex, Offset(p, v.Z, 0, 0));
    }
}
