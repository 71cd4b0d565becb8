#pragma once
// The outlines of a mesh's level-0 faces as one array of line segments, each
// edge once: an edge that two faces share is drawn once instead of twice.
// Built when a mesh is first drawn and kept while the mesh keeps its vertex
// and face counts; the picture is the one the faces drawn one by one make.

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

// Each mesh's segments, kept by the view from frame to frame.
class TMeshLinesCache {
public:
    // The segments of mesh meshIndex, built now if they are missing or the
    // mesh's counts changed.
    const TMeshLines& Of(int32_t meshIndex, const TOMesh& mesh);
    // Drops every mesh's segments (another model, or meshes changed in place).
    void Forget() { Kept.clear(); }

private:
    std::vector<TMeshLines> Kept;
};
