#pragma once
// The outlines of a mesh's level-0 faces as one array of line segments, each
// edge once: an edge that two faces share is drawn once instead of twice.
// Built when a mesh is first drawn and kept with its faces (TMeshArrays); the
// picture is the one the faces drawn one by one make.

#include <cstdint>
#include <optional>
#include <vector>

#include "model.h"

struct TMeshLines {
    // GL_LINES vertex pairs.
    std::vector<TVertex> Ends;
    // The first vertex index, in face and corner order, that names no vertex
    // of the mesh: the faces drawn one by one stop there with its list error.
    std::optional<int32_t> BadVertex;
    // What they were built from; -1: not built.
    int VertexCount = -1;
    int FaceCount = -1;
};

TMeshLines BuildMeshLines(const TOMesh& mesh);
