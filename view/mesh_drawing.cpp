// The meshes of a frame: wireframes face by face (picking, feedback) or from
// each mesh's kept edges (the picture), the selection highlight, and the lit
// faces under Solid.

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "gl_state.h"
#include "scene_drawing.h"

namespace {

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
bool MayMeetClipSquare(const TOMesh& mesh, const TOFace& face, const TGLMatrix& m)
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
void SendFaces(int32_t meshIndex, const TOMesh& mesh, bool faceNames, const TGLMatrix* pickRegion,
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
void DrawCurrentFace(const TScene& scene)
{
    SetColor(scene.Colors, ColSelected);
    const TOMesh& mesh = scene.Model.Meshes.Get(scene.Selection.CurMesh);
    DrawFace(mesh, mesh.Faces[0].Get(scene.Selection.CurFace));
}

TViewColor MeshColor(const TSelection& selection, int32_t meshIndex)
{
    return meshIndex == selection.CurMesh && selection.SelectMode == MeshMode ? ColSelected : ColMeshLines;
}

// What the meshes without glows are drawn in under "Whole Model": their
// colour, dimmed, so the meshes being worked on stand out.
constexpr float Dimmed = 0.45f;

bool MeshDrawn(const TScene& scene, const TOMesh& mesh)
{
    return mesh.Glows.Count() > 0 || scene.Options.WholeModel;
}

void SetMeshColor(const TScene& scene, int32_t meshIndex, const TOMesh& mesh)
{
    if (mesh.Glows.Count() > 0) {
        SetColor(scene.Colors, MeshColor(scene.Selection, meshIndex));
        return;
    }
    const TColorF& c = scene.Colors[ColMeshLines];
    glColor3f(c.Red * Dimmed, c.Green * Dimmed, c.Blue * Dimmed);
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
float FaceLight(const TOMesh& mesh, const TOFace& face, const TViewProjection& view)
{
    const auto corner = [&](int i) { return mesh.Vertices.Get(face.VertIdx.Index[i]); };
    const auto minus = [](const TVertex& x, const TVertex& y) {
        return TVec3{double(x.X) - y.X, double(x.Y) - y.Y, double(x.Z) - y.Z};
    };
    // A triangle's normal from two edges, a quad's from its diagonals.
    const TVertex v0 = corner(0), v1 = corner(1), v2 = corner(2);
    const auto a = face.IsTriangle() ? minus(v1, v0) : minus(v2, v0);
    const auto b = face.IsTriangle() ? minus(v2, v0) : minus(corner(3), v1);
    const TVec3 n{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    // The zoom scales the normal alike on every axis: the length divides it out.
    const TVec3 e = view.Turned(n);
    const double length = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
    constexpr double Light[3] = {-0.36, 0.48, -0.8};  // unit, towards the light
    const double facing = length > 0 ? std::fabs(e[0] * Light[0] + e[1] * Light[1] + e[2] * Light[2]) / length : 0;
    constexpr double Ambient = 0.3, Diffuse = 0.7;
    return float(Ambient + Diffuse * facing);
}

// The faces of level 0 of each mesh drawn, filled in a neutral grey lit by
// FaceLight. Corners are read through the list's Get.
void DrawFilledFaces(const TScene& scene, const TViewProjection& view)
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1, 1);
    for (const TOMesh& mesh : scene.Model.Meshes) {
        if (!MeshDrawn(scene, mesh))
            continue;
        const float grey = mesh.Glows.Count() > 0 ? 0.6f : 0.6f * Dimmed;
        for (const TOFace& face : mesh.Faces[0]) {
            const float light = grey * FaceLight(mesh, face, view);
            glColor3f(light, light, light);
            DrawFace(mesh, face);
        }
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
}

}  // namespace

void DrawScene(const TScene& scene, const TViewProjection& view)
{
    DrawMeshes(scene);
    DrawSceneGlows(scene, view);
}

void DrawMeshFaces(int32_t meshIndex, const TOMesh& mesh, bool faceNames)
{
    int64_t unsentLast = -1;
    SendFaces(meshIndex, mesh, faceNames, nullptr, unsentLast);
}

void DrawMeshes(const TScene& scene, const TGLMatrix* pickRegion)
{
    const TSelection& selection = scene.Selection;
    int64_t unsentLast = -1;
    int32_t i = 0;
    for (const TOMesh& mesh : scene.Model.Meshes) {
        // Meshes without glows are neither drawn nor pickable.
        if (mesh.Glows.Count() > 0) {
            // Every face of a mesh has the mesh's colour: set once, not per face.
            SetColor(scene.Colors, MeshColor(selection, i));
            SendFaces(i, mesh, selection.SelectMode == FaceMode, pickRegion, unsentLast);
        }
        ++i;
    }
    if (selection.SelectMode == FaceMode) {
        // Under the last name loaded.
        if (unsentLast >= 0)
            glLoadName(GLuint(unsentLast));
        DrawCurrentFace(scene);
    }
}

void DrawMeshPicture(const TScene& scene, const TViewProjection& view, TMeshLinesCache& kept)
{
    std::optional<TSolidPass> solid;
    if (scene.Options.Solid) {
        solid.emplace();
        DrawFilledFaces(scene, view);
    }
    {
        TVertexArray vertexArray;
        const auto drawLines = [&](int32_t i, const TOMesh& mesh) {
            const TMeshLines& lines = kept.Of(i, mesh);
            if (lines.BadVertex)
                ListIndexError(list_messages::Vertex, *lines.BadVertex);
            SetMeshColor(scene, i, mesh);
            glVertexPointer(3, GL_FLOAT, sizeof(TVertex), lines.Ends.data());
            glDrawArrays(GL_LINES, 0, GLsizei(lines.Ends.size()));
        };
        // The selected mesh last, its lines over the others': the user sees
        // which one it is where meshes overlap.
        const TSelection& s = scene.Selection;
        const int32_t selected = s.SelectMode == MeshMode ? s.CurMesh : -1;
        int32_t i = 0;
        for (const TOMesh& mesh : scene.Model.Meshes) {
            if (i != selected && MeshDrawn(scene, mesh))
                drawLines(i, mesh);
            ++i;
        }
        if (selected >= 0 && selected < scene.Model.Meshes.Count() &&
            MeshDrawn(scene, scene.Model.Meshes.Get(selected)))
            drawLines(selected, scene.Model.Meshes.Get(selected));
    }
    if (scene.Selection.SelectMode == FaceMode)
        DrawCurrentFace(scene);
}
