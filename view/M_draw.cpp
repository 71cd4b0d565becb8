#include "M_draw.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "app_state.h"
#include "glow_preview.h"
#include "mesh_lines.h"
#include "model.h"
#include "view_colors.h"
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
    {
        TVertexArray vertexArray;
        int32_t i = 0;
        for (const TOMesh& mesh : TheModel.Meshes) {
            if (mesh.Glows.Count() > 0) {
                const TMeshLines& lines = MeshLines(i, mesh);
                if (lines.BadVertex)
                    ListIndexError(list_messages::Vertex, *lines.BadVertex);
                SetColor(MeshColor(i));
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
    int i = 0;
    for (const TOMesh& mesh : TheModel.Meshes) {
        for (int j = 0; j < mesh.Glows.Count(); ++j)
            DrawGlow(i, j);
        ++i;
    }
}

void DrawGlow(int meshIndex, int glowIndex)
{
    if (glowIndex == -1)
        return;
    const TEngineGlow& glow = ShownValues({meshIndex, glowIndex});
    const TFloat3& p = glow.Center;
    const TFloat3& v = glow.MainVec;
    const float a = v.X / 4;
    const float b = v.Y / 2;

    glPointSize(4.0f);
    SetColor(ColPoint);
    {
        TPrimitive points(GL_POINTS);
        Vertex(p);
    }
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
