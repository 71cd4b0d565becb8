#include "opt_builder.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <numeric>
#include <stdexcept>

#include "byte_order.h"
#include "glow_record.h"

namespace optbuild {

namespace {

constexpr int32_t HeaderSize = 22;
constexpr int32_t NodeHeaderSize = 28;

// Grows out by four bytes and returns where they start. Writing in place
// rather than inserting a four-byte range also keeps GCC 12 at -O3 from a false
// -Wstringop-overflow inside vector::insert.
uint8_t* Grow4(std::vector<uint8_t>& out)
{
    out.resize(out.size() + 4);
    return out.data() + out.size() - 4;
}

void AppendU32(std::vector<uint8_t>& out, uint32_t v)
{
    PutUInt32LE(Grow4(out), v);
}

void AppendF32(std::vector<uint8_t>& out, float v)
{
    PutFloat32LE(Grow4(out), v);
}

void AppendQuad(std::vector<uint8_t>& out, const TFace& f)
{
    for (int32_t i : f.Index)
        AppendU32(out, static_cast<uint32_t>(i));
}

}  // namespace

TEngineGlow GlowRecord::ToGlow(int32_t pos) const
{
    TEngineGlow g = *this;
    g.FilePos = pos;
    return g;
}

FaceRecord Tri(int32_t a, int32_t b, int32_t c)
{
    FaceRecord f;
    f.VertIdx = TFace{{a, b, c, -1}};
    return f;
}

FaceRecord Quad(int32_t a, int32_t b, int32_t c, int32_t d)
{
    FaceRecord f;
    f.VertIdx = TFace{{a, b, c, d}};
    return f;
}

NodeId OptBuilder::Node(int32_t type)
{
    NodeData n;
    n.Type = type;
    Nodes.push_back(n);
    return static_cast<NodeId>(Nodes.size() - 1);
}

NodeId OptBuilder::Vertices(const std::vector<TVertex>& vertices)
{
    const NodeId id = Node(VertexData);
    auto& n = Nodes[id];
    for (const TVertex& v : vertices) {
        AppendF32(n.Data, v.X);
        AppendF32(n.Data, v.Y);
        AppendF32(n.Data, v.Z);
    }
    n.DataCount = static_cast<int32_t>(vertices.size());
    return id;
}

NodeId OptBuilder::Glow(const GlowRecord& glow)
{
    const NodeId id = Node(EngineGlow);
    auto& n = Nodes[id];
    AppendU32(n.Data, static_cast<uint32_t>(glow.Unused));
    const auto written = EncodeGlowWriteBack(glow);
    n.Data.resize(n.Data.size() + written.size());
    std::copy(written.begin(), written.end(), n.Data.end() - std::ptrdiff_t(written.size()));
    n.DataCount = 1;
    return id;
}

NodeId OptBuilder::LodNode(const std::vector<float>& distances)
{
    const NodeId id = Node(Lod);
    auto& n = Nodes[id];
    for (float d : distances)
        AppendF32(n.Data, d);
    n.DataCount = static_cast<int32_t>(distances.size());
    return id;
}

NodeId OptBuilder::Faces(const std::vector<FaceRecord>& faces, int32_t extraValue)
{
    const NodeId id = Node(FaceData);
    auto& n = Nodes[id];
    AppendU32(n.Data, 0);  // the 4 bytes at D are not part of the records
    for (const FaceRecord& f : faces) {
        AppendQuad(n.Data, f.VertIdx);
        AppendQuad(n.Data, f.Quad2);
        AppendQuad(n.Data, f.Quad3);
        AppendQuad(n.Data, f.Quad4);
    }
    for (const FaceRecord& f : faces) {
        AppendF32(n.Data, f.Normal.X);
        AppendF32(n.Data, f.Normal.Y);
        AppendF32(n.Data, f.Normal.Z);
    }
    for (const FaceRecord& f : faces)
        for (uint32_t t : f.TexVec)
            AppendU32(n.Data, t);
    n.DataCount = static_cast<int32_t>(faces.size());
    n.Extra = extraValue;
    return id;
}

NodeId OptBuilder::LodWithFaces(const std::vector<float>& distances, const std::vector<std::vector<FaceRecord>>& faces)
{
    const NodeId lod = LodNode(distances);
    for (const auto& lodFaces : faces) {
        const NodeId lodChild = GroupNode();
        AddChild(lodChild, Faces(lodFaces));
        AddChild(lod, lodChild);
    }
    return lod;
}

void OptBuilder::AddTopLevel(NodeId node)
{
    TopLevel.push_back(node);
}

void OptBuilder::AddChild(NodeId parent, NodeId child)
{
    Nodes.at(parent).Children.push_back(child);
}

void OptBuilder::AddEmptyChild(NodeId parent)
{
    Nodes.at(parent).Children.push_back(std::nullopt);
}

void OptBuilder::SetChildCount(NodeId node, int32_t count)
{
    Nodes.at(node).ChildCountOverride = count;
}

void OptBuilder::SetDataCount(NodeId node, int32_t count)
{
    Nodes.at(node).DataCountOverride = count;
}

void OptBuilder::SetStoredDataOffset(NodeId node, int32_t stored)
{
    Nodes.at(node).StoredDataOffset = stored;
}

void OptBuilder::SetStoredChildTableOffset(NodeId node, int32_t stored)
{
    Nodes.at(node).StoredChildTable = stored;
}

void OptBuilder::SetTopLevelCount(int32_t count)
{
    TopLevelCount = count;
}

void OptBuilder::SetLayoutOrder(const std::vector<NodeId>& order)
{
    Order = order;
}

std::vector<uint8_t> OptBuilder::Build(int32_t g)
{
    std::vector<NodeId> order = Order;
    if (order.empty()) {
        order.resize(Nodes.size());
        std::iota(order.begin(), order.end(), 0);
    }
    if (order.size() != Nodes.size())
        throw std::logic_error("layout order must name every node once");

    // Positions: header, top-level table, then each node with its child
    // table and data right behind it.
    int32_t pos = HeaderSize;
    const int32_t topTablePos = pos;
    pos += 4 * static_cast<int32_t>(TopLevel.size());
    for (NodeId id : order) {
        NodeData& n = Nodes[id];
        n.Pos = pos;
        pos += NodeHeaderSize;
        n.ChildTablePos = pos;
        pos += 4 * static_cast<int32_t>(n.Children.size());
        n.DataPos = pos;
        pos += static_cast<int32_t>(n.Data.size());
    }

    const auto stored = [g](int32_t filePos) {
        return static_cast<uint32_t>(filePos) + static_cast<uint32_t>(g) - 8u;
    };

    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(pos));
    AppendU32(out, 0);
    AppendU32(out, 0);
    AppendU32(out, static_cast<uint32_t>(g));
    out.push_back(0);
    out.push_back(0);
    AppendU32(out, static_cast<uint32_t>(TopLevelCount.value_or(static_cast<int32_t>(TopLevel.size()))));
    AppendU32(out, stored(topTablePos));
    for (NodeId id : TopLevel)
        AppendU32(out, stored(Nodes.at(id).Pos));
    for (NodeId id : order) {
        const NodeData& n = Nodes[id];
        AppendU32(out, 0);
        AppendU32(out, static_cast<uint32_t>(n.Type));
        AppendU32(out, static_cast<uint32_t>(n.ChildCountOverride.value_or(static_cast<int32_t>(n.Children.size()))));
        AppendU32(out, n.StoredChildTable ? static_cast<uint32_t>(*n.StoredChildTable) : stored(n.ChildTablePos));
        AppendU32(out, static_cast<uint32_t>(n.DataCountOverride.value_or(n.DataCount)));
        AppendU32(out, n.StoredDataOffset ? static_cast<uint32_t>(*n.StoredDataOffset) : stored(n.DataPos));
        AppendU32(out, static_cast<uint32_t>(n.Extra));
        for (const auto& child : n.Children)
            AppendU32(out, child ? stored(Nodes.at(*child).Pos) : 0u);
        out.insert(out.end(), n.Data.begin(), n.Data.end());
    }
    return out;
}

int32_t OptBuilder::NodePos(NodeId node) const
{
    return Nodes.at(node).Pos;
}

int32_t OptBuilder::DataPos(NodeId node) const
{
    return Nodes.at(node).DataPos;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace optbuild
