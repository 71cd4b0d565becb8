#pragma once
// Writes synthetic OPT files: any tree of nodes, in any layout order, with any
// offset base G. Used by the tests, the fuzzer's seed corpus, the benchmarks
// and the demo model tool.

#include <cstdint>
#include <optional>
#include <vector>

#include "model.h"

namespace optbuild {

// Node types the reader knows.
enum NodeType : int32_t {
    Group = 0,
    FaceData = 1,
    VertexData = 3,
    Texture = 20,
    Lod = 21,
    EngineGlow = 28,
    MeshDefault = 25,  // any type but 20 becomes a mesh at top level
};

// An engine glow's data block: the glow's values (its FilePos unused: the
// layout gives the block's place) and the block's first word.
struct GlowRecord : TEngineGlow {
    int32_t Unused = 0;  // +0, never read or written by the editor

    // The glow as the reader makes it of this record at file position pos.
    TEngineGlow ToGlow(int32_t pos = 0) const;
};

struct FaceRecord {
    TFace VertIdx, Quad2, Quad3, Quad4;
    TVertexN Normal;
    uint32_t TexVec[6] = {0, 0, 0, 0, 0, 0};
};

// A triangle (fourth index -1) or a quad.
FaceRecord Tri(int32_t a, int32_t b, int32_t c);
FaceRecord Quad(int32_t a, int32_t b, int32_t c, int32_t d);

using NodeId = int;

class OptBuilder {
public:
    // A bare node of any type; children and data are added below.
    NodeId Node(int32_t type);

    NodeId Mesh(int32_t type = MeshDefault) { return Node(type); }
    NodeId GroupNode() { return Node(Group); }
    NodeId TextureNode() { return Node(Texture); }
    NodeId Vertices(const std::vector<TVertex>& vertices);
    NodeId Glow(const GlowRecord& glow);
    // An LOD node with these distances; its children (one per LOD) are added
    // with AddChild, each holding face-data children.
    NodeId LodNode(const std::vector<float>& distances);
    NodeId Faces(const std::vector<FaceRecord>& faces, int32_t extraValue = 0);

    // An LOD node whose LOD i holds one face-data node with faces[i].
    NodeId LodWithFaces(const std::vector<float>& distances, const std::vector<std::vector<FaceRecord>>& faces);

    void AddTopLevel(NodeId node);
    void AddChild(NodeId parent, NodeId child);
    // A child-table entry with stored value 0 (an empty entry).
    void AddEmptyChild(NodeId parent);

    // Overrides for damaged files: the stored counts and offsets as written.
    void SetChildCount(NodeId node, int32_t count);
    void SetDataCount(NodeId node, int32_t count);
    void SetStoredDataOffset(NodeId node, int32_t stored);
    void SetStoredChildTableOffset(NodeId node, int32_t stored);
    void SetTopLevelCount(int32_t count);

    // Lays the nodes out in this order (default: the order of creation).
    void SetLayoutOrder(const std::vector<NodeId>& order);

    // The file, with offset base g (stored offset = file position + g - 8).
    std::vector<uint8_t> Build(int32_t g = 8);

    // After Build: file position of a node, and of its data block.
    int32_t NodePos(NodeId node) const;
    int32_t DataPos(NodeId node) const;

private:
    struct NodeData {
        int32_t Type = 0;
        std::vector<std::optional<NodeId>> Children;  // nullopt: empty entry
        std::vector<uint8_t> Data;
        int32_t DataCount = 0;
        int32_t Extra = 0;
        std::optional<int32_t> ChildCountOverride, DataCountOverride, StoredDataOffset, StoredChildTable;
        int32_t Pos = 0, ChildTablePos = 0, DataPos = 0;
    };
    std::vector<NodeData> Nodes;
    std::vector<NodeId> TopLevel;
    std::optional<int32_t> TopLevelCount;
    std::vector<NodeId> Order;
};

// Writes bytes to path (for tests that need a file on disk).
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace optbuild
