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

// A client array (GL_VERTEX_ARRAY, GL_COLOR_ARRAY) on for its lifetime.
class TClientArray {
public:
    explicit TClientArray(GLenum array) : Array(array) { glEnableClientState(array); }
    ~TClientArray() { glDisableClientState(Array); }
    TClientArray(const TClientArray&) = delete;
    TClientArray& operator=(const TClientArray&) = delete;

private:
    GLenum Array;
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

// Filling from the kept faces, with their colours from the colour array, or
// outlining: switched only where a part goes from one to the other, and
// always left outlining.
class TFilling {
public:
    TFilling() = default;
    ~TFilling() { Set(false); }
    TFilling(const TFilling&) = delete;
    TFilling& operator=(const TFilling&) = delete;
    void Set(bool on)
    {
        if (on == Filling)
            return;
        Filling = on;
        if (on) {
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            glEnable(GL_POLYGON_OFFSET_FILL);
            glPolygonOffset(1, 1);
            glEnableClientState(GL_COLOR_ARRAY);
        } else {
            glDisableClientState(GL_COLOR_ARRAY);
            glDisable(GL_POLYGON_OFFSET_FILL);
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        }
    }

private:
    bool Filling = false;
};

TColor3 MeshLineColor(const TScene& scene, int32_t meshIndex, const TOMesh& mesh)
{
    const TColorF& c = mesh.Glows.Count() > 0 ? scene.Colors[MeshColor(scene.Selection, meshIndex)]
                                               : scene.Colors[ColMeshLines];
    const float dim = mesh.Glows.Count() > 0 ? 1.0f : Dimmed;
    return {c.Red * dim, c.Green * dim, c.Blue * dim};
}

// Appends stroke to the parts, cut where a part has its share of vertices,
// never within a primitive of `corners` vertices.
void CutInto(std::vector<TMeshPart>& parts, size_t perPart, size_t& inPart, TMeshStroke stroke, size_t corners)
{
    while (stroke.Count > 0) {
        if (inPart >= perPart && !parts.back().empty()) {
            parts.emplace_back();
            inPart = 0;
        }
        const size_t room = perPart > inPart ? perPart - inPart : 0;
        const size_t take = std::min(stroke.Count, std::max(room / corners, size_t(1)) * corners);
        TMeshStroke piece = stroke;
        piece.Count = take;
        parts.back().push_back(piece);
        stroke.First += take;
        stroke.Count -= take;
        inPart += take;
    }
}

}  // namespace

TMeshPlan PlanMeshPicture(const TScene& scene, TMeshArrays& arrays, int parts)
{
    // Every array is built (and its list error raised) here, in the order
    // the picture draws them: the faces under Solid, then the outlines.
    std::vector<TMeshStroke> strokes;
    size_t vertices = 0;
    int32_t i = 0;
    if (scene.Options.Solid)
        for (const TOMesh& mesh : scene.Model.Meshes) {
            if (MeshDrawn(scene, mesh)) {
                const TMeshFaces& faces = arrays.Faces(i, mesh);
                if (faces.BadVertex)
                    ListIndexError(list_messages::Vertex, *faces.BadVertex);
                const float grey = mesh.Glows.Count() > 0 ? 0.6f : 0.6f * Dimmed;
                strokes.push_back({TMeshStroke::Faces, i, 0, faces.Corners.size(), {}, grey});
                vertices += faces.Corners.size();
            }
            ++i;
        }
    const auto addLines = [&](int32_t index, const TOMesh& mesh) {
        const TMeshLines& lines = arrays.Lines(index, mesh);
        if (lines.BadVertex)
            ListIndexError(list_messages::Vertex, *lines.BadVertex);
        strokes.push_back({TMeshStroke::Lines, index, 0, lines.Ends.size(), MeshLineColor(scene, index, mesh), 0});
        vertices += lines.Ends.size();
    };
    // The selected mesh last, its lines over the others': the user sees
    // which one it is where meshes overlap.
    const TSelection& s = scene.Selection;
    const int32_t selected = s.SelectMode == MeshMode ? s.CurMesh : -1;
    i = 0;
    for (const TOMesh& mesh : scene.Model.Meshes) {
        if (i != selected && MeshDrawn(scene, mesh))
            addLines(i, mesh);
        ++i;
    }
    if (selected >= 0 && selected < scene.Model.Meshes.Count() && MeshDrawn(scene, scene.Model.Meshes.Get(selected)))
        addLines(selected, scene.Model.Meshes.Get(selected));

    TMeshPlan plan{scene.Options.Solid, {{}}};
    // A part of a small model would cost more in turns and flushes than it
    // draws.
    constexpr size_t LeastPart = 1024;
    const size_t count = size_t(std::max(parts, 1));
    const size_t perPart = std::max((vertices + count - 1) / count, LeastPart);
    size_t inPart = 0;
    for (const TMeshStroke& stroke : strokes)
        CutInto(plan.Parts, perPart, inPart, stroke, stroke.Kind == TMeshStroke::Faces ? 3 : 2);
    if (s.SelectMode == FaceMode) {
        const TColorF& c = scene.Colors[ColSelected];
        const TMeshStroke current{TMeshStroke::CurrentFace, s.CurMesh, 0, 0, {c.Red, c.Green, c.Blue}, 0, s.CurFace};
        plan.Parts.back().push_back(current);
    }
    return plan;
}

void DrawMeshPart(const TModel& model, const TMeshPlan& plan, size_t part, const TViewProjection& view,
                  TMeshArrays& arrays)
{
    std::optional<TSolidPass> solid;
    if (plan.Solid)
        solid.emplace();
    TClientArray vertices(GL_VERTEX_ARRAY);
    TFilling filling;
    for (const TMeshStroke& stroke : plan.Parts.at(part)) {
        const TOMesh& mesh = model.Meshes.Get(stroke.Mesh);
        switch (stroke.Kind) {
        case TMeshStroke::Faces: {
            const TMeshFaces& faces = arrays.Faces(stroke.Mesh, mesh);
            // A mesh's light is found once, at its first draw; a later part
            // goes on with it.
            if (stroke.First == 0 || arrays.Colors().size() != faces.Corners.size())
                LitCorners(faces, stroke.Grey, view, arrays.Colors());
            if (stroke.First >= faces.Corners.size())
                break;
            filling.Set(true);
            glVertexPointer(3, GL_FLOAT, sizeof(TVertex), faces.Corners.data());
            glColorPointer(3, GL_FLOAT, sizeof(TColor3), arrays.Colors().data());
            glDrawArrays(GL_TRIANGLES, GLint(stroke.First),
                         GLsizei(std::min(stroke.Count, faces.Corners.size() - stroke.First)));
            break;
        }
        case TMeshStroke::Lines: {
            const TMeshLines& lines = arrays.Lines(stroke.Mesh, mesh);
            if (stroke.First >= lines.Ends.size())
                break;
            filling.Set(false);
            glColor3f(stroke.Color.Red, stroke.Color.Green, stroke.Color.Blue);
            glVertexPointer(3, GL_FLOAT, sizeof(TVertex), lines.Ends.data());
            glDrawArrays(GL_LINES, GLint(stroke.First),
                         GLsizei(std::min(stroke.Count, lines.Ends.size() - stroke.First)));
            break;
        }
        case TMeshStroke::CurrentFace:
            filling.Set(false);
            glColor3f(stroke.Color.Red, stroke.Color.Green, stroke.Color.Blue);
            DrawFace(mesh, mesh.Faces[0].Get(stroke.Face));
            break;
        }
    }
}

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

void DrawMeshPicture(const TScene& scene, const TViewProjection& view, TMeshArrays& arrays)
{
    const TMeshPlan plan = PlanMeshPicture(scene, arrays, 1);
    for (size_t part = 0; part < plan.Parts.size(); ++part)
        DrawMeshPart(scene.Model, plan, part, view, arrays);
}
