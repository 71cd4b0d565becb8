#pragma once
// Each mesh's arrays, kept by the view from frame to frame while the mesh
// keeps its vertex and face counts: its edges, and once it was filled (Solid)
// its faces. A frame in which the camera or the selection changed draws
// from them; only the faces' light is found anew.

#include <cstdint>
#include <vector>

#include "mesh_faces.h"
#include "mesh_lines.h"
#include "model.h"

class TMeshArrays {
public:
    // The edges or the faces of mesh meshIndex, built now if they are missing
    // or the mesh's counts changed.
    const TMeshLines& Lines(int32_t meshIndex, const TOMesh& mesh);
    const TMeshFaces& Faces(int32_t meshIndex, const TOMesh& mesh);
    // Room for the colours of one mesh's faces in a frame, kept so that a
    // frame does not allocate it anew.
    std::vector<TColor3>& Colors() { return FaceColors; }
    // Drops every mesh's arrays (another model, or meshes changed in place).
    void Forget();

private:
    std::vector<TMeshLines> KeptLines;
    std::vector<TMeshFaces> KeptFaces;
    std::vector<TColor3> FaceColors;
};
