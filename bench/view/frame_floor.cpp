#include "frame_floor.h"

#include <GL/gl.h>

#include "scene_drawing.h"
#include "view_colors.h"
#include "view_panel.h"

namespace {

TColor3 LineColor(const TScene& scene, int meshIndex)
{
    const TSelection& s = scene.Selection;
    const TColorF& c = scene.Colors[meshIndex == s.CurMesh && s.SelectMode == MeshMode ? ColSelected : ColMeshLines];
    return {c.Red, c.Green, c.Blue};
}

void DrawLines(const std::vector<TVertex>& ends, const TColor3& color)
{
    glColor3f(color.Red, color.Green, color.Blue);
    glVertexPointer(3, GL_FLOAT, sizeof(TVertex), ends.data());
    glDrawArrays(GL_LINES, 0, GLsizei(ends.size()));
}

}  // namespace

std::vector<std::vector<TVertex>> EdgeArrays(const TModel& model)
{
    std::vector<std::vector<TVertex>> arrays;
    for (const TOMesh& mesh : model.Meshes) {
        std::vector<TVertex>& lines = arrays.emplace_back();
        for (const TOFace& face : mesh.Faces[0])
            for (int c = 0; c < face.CornerCount(); ++c) {
                lines.push_back(mesh.Vertices.Get(face.VertIdx.Index[c]));
                lines.push_back(mesh.Vertices.Get(face.VertIdx.Index[(c + 1) % face.CornerCount()]));
            }
    }
    return arrays;
}

void DrawFloorFrame(TViewPanel& panel, const TScene& scene, const TCamera& camera,
                    const std::vector<std::vector<TVertex>>& arrays)
{
    panel.DrawWith(camera, [&](const TViewProjection& view) {
        glEnableClientState(GL_VERTEX_ARRAY);
        for (size_t m = 0; m < arrays.size(); ++m)
            DrawLines(arrays[m], LineColor(scene, int(m)));
        glDisableClientState(GL_VERTEX_ARRAY);
        DrawAllGlows(scene, view);
    });
    Finish(panel);
}

std::vector<TSolidFloorMesh> SolidFloorArrays(TViewPanel& panel, const TScene& scene, const TCamera& camera)
{
    const TViewProjection view = panel.Projection(camera);
    std::vector<TSolidFloorMesh> meshes;
    int m = 0;
    for (const TOMesh& mesh : scene.Model.Meshes) {
        const bool glows = mesh.Glows.Count() > 0;
        if (glows || scene.Options.WholeModel) {
            TSolidFloorMesh& floor = meshes.emplace_back();
            floor.Faces = BuildMeshFaces(mesh);
            LitCorners(floor.Faces, glows ? 0.6f : 0.6f * 0.45f, view, floor.Colors);
            floor.Edges = BuildMeshLines(mesh);
            const TColor3 line = LineColor(scene, m);
            floor.EdgeColor = glows ? line : TColor3{line.Red * 0.45f, line.Green * 0.45f, line.Blue * 0.45f};
        }
        ++m;
    }
    return meshes;
}

void DrawSolidFloorFrame(TViewPanel& panel, const TScene& scene, const TCamera& camera,
                         const std::vector<TSolidFloorMesh>& meshes)
{
    panel.DrawWith(camera, [&](const TViewProjection& view) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1, 1);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        for (const TSolidFloorMesh& mesh : meshes) {
            glVertexPointer(3, GL_FLOAT, sizeof(TVertex), mesh.Faces.Corners.data());
            glColorPointer(3, GL_FLOAT, sizeof(TColor3), mesh.Colors.data());
            glDrawArrays(GL_TRIANGLES, 0, GLsizei(mesh.Faces.Corners.size()));
        }
        glDisableClientState(GL_COLOR_ARRAY);
        glDisable(GL_POLYGON_OFFSET_FILL);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        for (const TSolidFloorMesh& mesh : meshes)
            DrawLines(mesh.Edges.Ends, mesh.EdgeColor);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        DrawAllGlows(scene, view);
    });
    Finish(panel);
}

int FaceCount(const TModel& model)
{
    int n = 0;
    for (const TOMesh& mesh : model.Meshes)
        n += mesh.Faces[0].Count();
    return n;
}

void Finish(TViewPanel& panel)
{
    TContextCurrent current(panel);
    glFinish();
}
