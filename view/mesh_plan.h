#pragma once
// The meshes' picture on screen planned as a list of draws from each mesh's
// kept arrays (TMeshArrays), cut into parts of about equal numbers of
// vertices (a small model's into fewer), so that a frame can be drawn a part
// at a time. A plan holds all
// it draws with (colours, what is filled, the current face) but the meshes'
// vertices: parts drawn later draw the picture planned, whatever the scene
// became meanwhile, so long as its meshes stay the same.

#include <cstdint>
#include <vector>

#include "mesh_faces.h"

struct TMeshStroke {
    enum TKind { Faces, Lines, CurrentFace } Kind = Lines;
    int32_t Mesh = 0;
    size_t First = 0, Count = 0;  // vertices of the mesh's kept array
    TColor3 Color;                // Lines, CurrentFace: the colour
    float Grey = 0;               // Faces: the grey their light scales
    int32_t Face = 0;             // CurrentFace: the face
};
using TMeshPart = std::vector<TMeshStroke>;
struct TMeshPlan {
    bool Solid = false;
    std::vector<TMeshPart> Parts;  // at least one
};
