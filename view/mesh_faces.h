#pragma once
// The level-0 faces of a mesh as the solid picture fills them: every face's
// corners as triangles, face after face, and each face's normal. Built when
// a mesh is first filled and kept with its edges (TMeshArrays); a frame only
// finds each face's light, which turns with the camera.
//
// A quad goes as its triangles (0, 1, 2) and (0, 2, 3), not whole: a quad
// sent whole is split by the driver as it likes, and Mesa's software
// renderer split the same bent quads along one diagonal in one frame and
// along the other in the next (by how its batches of vertices fell), so one
// frame drawn twice differed in thousands of pixels and in depth. Split here,
// every face fills the same way in every frame, as that renderer's usual
// split fills it.

#include <cstdint>
#include <optional>
#include <vector>

#include "model.h"
#include "view_projection.h"

struct TMeshFaces {
    // GL_TRIANGLES corners in face order: three for a triangle, six for a quad.
    std::vector<TVertex> Corners;
    // Per face, in the same order: the normal its light is found from, and
    // its corners' count in Corners.
    struct TFace {
        TVec3 Normal;
        int Corners = 0;
    };
    std::vector<TFace> Faces;
    // The first vertex index, in face and corner order, that names no vertex
    // of the mesh: filling stops there with its list error.
    std::optional<int32_t> BadVertex;
    // What they were built from; -1: not built.
    int VertexCount = -1;
    int FaceCount = -1;
};

TMeshFaces BuildMeshFaces(const TOMesh& mesh);

// A drawing colour, as glColor3f takes it.
struct TColor3 {
    float Red = 0, Green = 0, Blue = 0;
};

// The colour of every corner of faces under view: grey times the face's
// light, the same for all corners of a face. Into colors, which keeps its
// room from frame to frame.
void LitCorners(const TMeshFaces& faces, float grey, const TViewProjection& view, std::vector<TColor3>& colors);

// A face's brightness under the fixed light, from 0.3 to 1: a little
// everywhere, more the more it faces the light, from either side (a model's
// faces may wind either way). The light comes from the viewer's side, above
// and to the left.
float FaceLight(const TVec3& normal, const TViewProjection& view);
