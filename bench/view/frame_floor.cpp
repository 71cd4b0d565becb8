#include "frame_floor.h"

#include <GL/gl.h>

#include "scene_drawing.h"
#include "view_colors.h"
#include "view_panel.h"

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
        const TSelection& s = scene.Selection;
        glEnableClientState(GL_VERTEX_ARRAY);
        for (size_t m = 0; m < arrays.size(); ++m) {
            const TColorF& c = scene.Colors[int(m) == s.CurMesh && s.SelectMode == 0 ? ColSelected : ColMeshLines];
            glColor3f(c.Red, c.Green, c.Blue);
            glVertexPointer(3, GL_FLOAT, sizeof(TVertex), arrays[m].data());
            glDrawArrays(GL_LINES, 0, GLsizei(arrays[m].size()));
        }
        glDisableClientState(GL_VERTEX_ARRAY);
        DrawAllGlows(scene, view);
    });
    Finish(panel);
}

void Finish(TViewPanel& panel)
{
    TContextCurrent current(panel);
    glFinish();
}
