#include "mesh_lines.h"

#include <algorithm>
#include <bit>
#include <unordered_map>
#include <unordered_set>

namespace {

// A vertex's coordinates bit for bit: two vertices with the same bits are
// drawn at the same place whatever the camera.
struct TBits {
    uint32_t X, Y, Z;
    bool operator==(const TBits&) const = default;
};

struct TBitsHash {
    size_t operator()(const TBits& b) const
    {
        return std::hash<uint64_t>()((uint64_t(b.X) << 32 | b.Y) ^ (uint64_t(b.Z) * 0x9E3779B97F4A7C15ull));
    }
};

TBits Bits(const TVertex& v)
{
    return {std::bit_cast<uint32_t>(v.X), std::bit_cast<uint32_t>(v.Y), std::bit_cast<uint32_t>(v.Z)};
}

}  // namespace

// Why once is enough: a line's pixels do not depend on its direction except
// at its ends, where the first pixel is drawn and the last is left to the
// line that starts there. Each edge keeps the direction of the first face
// that has it, so every vertex begins the kept edge that leaves it in the
// first face it is a corner of, and its own pixel is drawn as the faces draw
// it. An edge from a vertex to itself draws nothing and is left out.

TMeshLines BuildMeshLines(const TOMesh& mesh)
{
    TMeshLines lines;
    lines.VertexCount = mesh.Vertices.Count();
    lines.FaceCount = mesh.Faces[0].Count();
    const std::vector<TVertex> vertices(mesh.Vertices.begin(), mesh.Vertices.end());
    // Each vertex stands for the first one with its coordinates.
    std::vector<int32_t> same(vertices.size());
    std::unordered_map<TBits, int32_t, TBitsHash> first;
    first.reserve(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i)
        same[i] = first.try_emplace(Bits(vertices[i]), int32_t(i)).first->second;

    // The faces' edges in drawing order, corner to next corner.
    std::unordered_set<uint64_t> seen;
    seen.reserve(size_t(lines.FaceCount) * 4);
    for (const TOFace& face : mesh.Faces[0]) {
        const int n = face.CornerCount();
        for (int c = 0; c < n; ++c)
            if (face.VertIdx.Index[c] < 0 || face.VertIdx.Index[c] >= lines.VertexCount) {
                // The frame stops here; it is never shown, so no line is needed.
                lines.BadVertex = face.VertIdx.Index[c];
                lines.Ends.clear();
                return lines;
            }
        for (int c = 0; c < n; ++c) {
            const int32_t from = face.VertIdx.Index[c], to = face.VertIdx.Index[(c + 1) % n];
            const int32_t a = same[size_t(from)], b = same[size_t(to)];
            if (a != b && seen.insert(uint64_t(uint32_t(std::min(a, b))) << 32 | uint32_t(std::max(a, b))).second) {
                lines.Ends.push_back(vertices[size_t(from)]);
                lines.Ends.push_back(vertices[size_t(to)]);
            }
        }
    }
    return lines;
}

