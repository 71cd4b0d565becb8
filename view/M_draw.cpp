#include "M_draw.h"

#include <GL/gl.h>

#include "app_state.h"
#include "glow_preview.h"
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
    int32_t f = 0;
    for (const TOFace& face : mesh.Faces[0]) {
        glLoadName(GLuint(faceNames ? PackSelection(meshIndex, f) : meshIndex));
        DrawFace(mesh, face);
        ++f;
    }
}

void DrawMeshes()
{
    DecodeSelection();
    int32_t i = 0;
    for (const TOMesh& mesh : TheModel.Meshes) {
        // Meshes without glows are neither drawn nor pickable.
        if (mesh.Glows.Count() > 0) {
            // Every face of a mesh has the mesh's colour: set once, not per face.
            SetColor(i == CurMesh && SelectMode == 0 ? ColSelected : ColMeshLines);
            DrawMeshFaces(i, mesh, SelectMode == 1);
        }
        ++i;
    }
    if (SelectMode == 1) {
        // The current face once more on top, under the last name loaded.
        SetColor(ColSelected);
        const TOMesh& mesh = TheModel.Meshes.Get(CurMesh);
        DrawFace(mesh, mesh.Faces[0].Get(CurFace));
    }
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
