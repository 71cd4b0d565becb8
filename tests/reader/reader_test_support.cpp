#include "reader_test_support.h"

#include "error_text.h"
#include "errors.h"

namespace readertest {

using namespace optbuild;

std::string ReadBytesAsOpt(TOpenModel& open, const TempDir& dir, const std::vector<uint8_t>& bytes,
                           const std::string& name)
{
    const std::string path = dir.File(name);
    WriteFileBytes(path, bytes);
    open.Reader.ReadOpt(path, open.Model);
    return path;
}

std::string DamagedMessage(const std::function<void()>& f)
{
    return MessageOf<EOptDamaged>(f);
}

std::string TruncatedText(const std::string& path, int64_t offset)
{
    return "File " + path + " is damaged or truncated (offset " + std::to_string(offset) + ")";
}

SampleModel::SampleModel()
{
    Texture = B.TextureNode();
    Mesh = B.Mesh();
    Verts = B.Vertices({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    GlowValues.Unused = 77;
    GlowValues.CoreColor = 0x80FF2010;
    GlowValues.OuterColor = 0x40102030;
    GlowValues.MainVec = {0.5f, -1, 2};
    GlowValues.Center = {10, 20, 30};
    GlowValues.Density0 = {0.1f, 0.2f, 0.3f};
    GlowValues.Density1 = {0.4f, 0.5f, 0.6f};
    GlowValues.Density2 = {0.7f, 0.8f, 0.9f};
    Glow = B.Glow(GlowValues);
    Group = B.GroupNode();
    GroupVerts = B.Vertices({{-1, -2, -3}});
    GroupGlowValues.CoreColor = 0xFFFFFFFF;
    GroupGlowValues.Center = {-5, -6, -7};
    GroupGlow = B.Glow(GroupGlowValues);

    FaceRecord quad = Quad(0, 1, 2, 3);
    quad.Quad2 = TFace{{10, 11, 12, 13}};
    quad.Quad3 = TFace{{20, 21, 22, 23}};
    quad.Quad4 = TFace{{30, 31, 32, 33}};
    quad.Normal = {0, 0, 1};
    for (uint32_t i = 0; i < 6; ++i)
        quad.TexVec[i] = 0xA0 + i;
    FaceRecord tri = Tri(1, 2, 3);
    tri.Normal = {1, 0, 0};
    tri.TexVec[5] = 0xDEADBEEF;
    Lod0 = {quad, tri};
    Lod1 = {Tri(0, 2, 3)};
    Lod = B.LodNode({100.5f, 2000});
    const NodeId lod0 = B.GroupNode();
    const NodeId lod1 = B.Node(MeshDefault);  // an LOD child's own type does not matter
    Faces0 = B.Faces(Lod0, 42);
    Faces1 = B.Faces(Lod1, -7);
    B.AddChild(lod0, Faces0);
    B.AddChild(lod1, Faces1);
    B.AddChild(Lod, lod0);
    B.AddChild(Lod, lod1);

    B.AddChild(Group, GroupVerts);
    B.AddChild(Group, GroupGlow);
    B.AddChild(Mesh, Verts);
    B.AddChild(Mesh, Glow);
    B.AddChild(Mesh, Group);
    B.AddChild(Mesh, Lod);
    B.AddTopLevel(Texture);
    B.AddTopLevel(Mesh);
}

}  // namespace readertest
