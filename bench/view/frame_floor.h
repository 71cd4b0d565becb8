#pragma once
// The floors of a frame: the same frame as the view's, drawn from vertex
// arrays as plainly as OpenGL 1.1 allows, with the same colours, viewport,
// camera and glows. The wireframe floor draws every face's edges as
// GL_LINES from one array per mesh (an edge two faces share twice); the
// solid floor fills every level-0 face once, as triangles with a colour per
// corner, then draws every edge once, with the solid picture's GL state.

#include <vector>

#include "camera.h"
#include "mesh_faces.h"
#include "mesh_lines.h"
#include "model.h"
#include "scene.h"

class TViewPanel;

// Every face edge of LOD 0 of each mesh of model, as GL_LINES vertex pairs.
std::vector<std::vector<TVertex>> EdgeArrays(const TModel& model);
// One floor frame of those arrays on panel, for scene (its selection and
// glows) through camera, waited for (glFinish).
void DrawFloorFrame(TViewPanel& panel, const TScene& scene, const TCamera& camera,
                    const std::vector<std::vector<TVertex>>& arrays);

// What the solid floor draws of each mesh the solid picture shows (those
// with glows, and under Whole Model the others): its faces, each corner's
// colour as the view lights it through one camera, its edges once and their
// colour.
struct TSolidFloorMesh {
    TMeshFaces Faces;
    std::vector<TColor3> Colors;
    TMeshLines Edges;
    TColor3 EdgeColor;
};
std::vector<TSolidFloorMesh> SolidFloorArrays(TViewPanel& panel, const TScene& scene, const TCamera& camera);
// One solid floor frame of those arrays on panel through camera, with
// scene's glows, waited for.
void DrawSolidFloorFrame(TViewPanel& panel, const TScene& scene, const TCamera& camera,
                         const std::vector<TSolidFloorMesh>& meshes);

// The faces of LOD 0 of every mesh of model: what a frame draws.
int FaceCount(const TModel& model);
// Waits until panel's GL has drawn what it was sent.
void Finish(TViewPanel& panel);
