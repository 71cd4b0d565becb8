// What the reader takes from sound files: the walk, the field layout, the
// offset base, the order of the lists and the capacities of the node tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>

#include "byte_order.h"
#include "error_text.h"
#include "errors.h"
#include "model.h"
#include "open_model.h"
#include "opt_file_io.h"
#include "reader_test_support.h"

namespace {

using namespace optbuild;
using readertest::ReadBytesAsOpt;
using readertest::SampleModel;

void ExpectFloat3(const TFloat3& v, const TFloat3& want)
{
    EXPECT_EQ(v.X, want.X);
    EXPECT_EQ(v.Y, want.Y);
    EXPECT_EQ(v.Z, want.Z);
}

void ExpectGlow(const TEngineGlow& g, const GlowRecord& want)
{
    EXPECT_EQ(g.CoreColor, want.CoreColor);
    EXPECT_EQ(g.OuterColor, want.OuterColor);
    ExpectFloat3(g.MainVec, want.MainVec);
    ExpectFloat3(g.Center, want.Center);
    ExpectFloat3(g.Density0, want.Density0);
    ExpectFloat3(g.Density1, want.Density1);
    ExpectFloat3(g.Density2, want.Density2);
}

void ExpectFace(const TOFace& f, const FaceRecord& want, int32_t extra)
{
    EXPECT_EQ(f.ExtraValue, extra);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(f.VertIdx.Index[i], want.VertIdx.Index[i]);
        EXPECT_EQ(f.Quad2.Index[i], want.Quad2.Index[i]);
        EXPECT_EQ(f.Quad3.Index[i], want.Quad3.Index[i]);
        EXPECT_EQ(f.Quad4.Index[i], want.Quad4.Index[i]);
    }
    EXPECT_EQ(f.Normal.X, want.Normal.X);
    EXPECT_EQ(f.Normal.Y, want.Normal.Y);
    EXPECT_EQ(f.Normal.Z, want.Normal.Z);
    EXPECT_TRUE(std::equal(f.TexVec, f.TexVec + 6, want.TexVec));
}

// The sample model read with one offset base G and one node layout order.
struct LayoutCase {
    int32_t G;
    bool Reverse;
};

std::string CaseName(const testing::TestParamInfo<LayoutCase>& info)
{
    // Appended piece by piece: "literal" + std::string&& draws a false
    // -Wrestrict from GCC 12 at -O3.
    const int64_t g = info.param.G;
    std::string name = g < 0 ? "GMinus" : "G";
    name += std::to_string(g < 0 ? -g : g);
    name += info.param.Reverse ? "Reversed" : "Shuffled";
    return name;
}

void PrintTo(const LayoutCase& c, std::ostream* out)
{
    *out << "G " << c.G << (c.Reverse ? ", reversed" : ", shuffled");
}

class SampleLayouts : public testing::TestWithParam<LayoutCase> {};

TEST_P(SampleLayouts, EveryFieldLandsWhereItBelongs)
{
    TOpenModel open;
    SampleModel s;
    const int nodes = s.Faces1 + 1;
    std::vector<NodeId> order(static_cast<size_t>(nodes));
    for (int i = 0; i < nodes; ++i)
        order[static_cast<size_t>(i)] = GetParam().Reverse ? nodes - 1 - i : (i * 5) % nodes;  // 5 is prime to 12
    ASSERT_EQ(nodes, 12);
    s.B.SetLayoutOrder(order);
    TempDir dir;
    ReadBytesAsOpt(open, dir, s.B.Build(GetParam().G));

    ASSERT_EQ(open.Model.Meshes.Count(), 1);  // the texture node is not a mesh
    const TOMesh& m = open.Model.Meshes.Get(0);
    // Vertices of the mesh and of its group, in walk order, one list.
    ASSERT_EQ(m.Vertices.Count(), 4);
    EXPECT_EQ(m.Vertices.Get(0).X, 1);
    EXPECT_EQ(m.Vertices.Get(2).Z, 9);
    EXPECT_EQ(m.Vertices.Get(3).Y, -2);

    ASSERT_EQ(m.Glows.Count(), 2);
    ExpectGlow(m.Glows.Get(0), s.GlowValues);
    ExpectGlow(m.Glows.Get(1), s.GroupGlowValues);
    EXPECT_EQ(m.Glows.Get(0).FilePos, s.B.DataPos(s.Glow));
    EXPECT_EQ(m.Glows.Get(1).FilePos, s.B.DataPos(s.GroupGlow));

    EXPECT_EQ(m.LodCount, 2);
    EXPECT_EQ(m.LodDist.X, 100.5f);
    EXPECT_EQ(m.LodDist.Y, 2000);
    EXPECT_EQ(m.LodDist.Z, 0);
    ASSERT_EQ(m.Faces[0].Count(), 2);
    ASSERT_EQ(m.Faces[1].Count(), 1);
    EXPECT_EQ(m.Faces[2].Count(), 0);
    ExpectFace(m.Faces[0].Get(0), s.Lod0[0], 42);
    ExpectFace(m.Faces[0].Get(1), s.Lod0[1], 42);
    EXPECT_TRUE(m.Faces[0].Get(1).IsTriangle());
    ExpectFace(m.Faces[1].Get(0), s.Lod1[0], -7);
}

// G = 8 makes stored offsets file positions; the others exercise the base,
// including bases that make every stored offset wrap around 32 bits.
INSTANTIATE_TEST_SUITE_P(Bases, SampleLayouts,
                         testing::Values(LayoutCase{8, false}, LayoutCase{8, true}, LayoutCase{208, false},
                                         LayoutCase{-100000, true}, LayoutCase{INT32_MAX, false},
                                         LayoutCase{INT32_MIN, true}, LayoutCase{INT32_MIN + 3, false}),
                         CaseName);

TEST(Reader, WithGEightStoredOffsetsAreFilePositions)
{
    TOpenModel open;
    SampleModel s;
    const std::vector<uint8_t> bytes = s.B.Build(8);
    // The top-level table sits right after the 22-byte header; its second
    // entry is the mesh node's position as it is.
    EXPECT_EQ(GetInt32LE(&bytes[18]), 22);
    EXPECT_EQ(GetInt32LE(&bytes[26]), s.B.NodePos(s.Mesh));
    TempDir dir;
    ReadBytesAsOpt(open, dir, bytes);
    EXPECT_EQ(open.Model.Meshes.Get(0).Glows.Get(0).FilePos, s.B.DataPos(s.Glow));
}

// Written here byte by byte, not by the test builder, so that a misreading
// the builder shares with the reader shows. G = 108: stored = position + 100.
// The LOD node announces 4 LODs, and only 3 distances end the file.
TEST(Reader, SmallModelWrittenByHand)
{
    TOpenModel open;
    std::vector<uint8_t> f;
    const auto i32 = [&f](int32_t v) {
        for (int i = 0; i < 4; ++i)
            f.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    };
    const auto f32 = [&i32](float v) { i32(std::bit_cast<int32_t>(v)); };
    const auto node = [&i32](int32_t type, int32_t children, int32_t table, int32_t count, int32_t data) {
        for (int32_t v : {0, type, children, table, count, data})
            i32(v);
    };
    // Where the next byte goes, as the stored offsets above it expect.
    const auto at = [&f](size_t pos) { EXPECT_EQ(f.size(), pos); };
    i32(0), i32(0), i32(108), f.push_back(0), f.push_back(0), i32(1), i32(122);  // header: G, N, table
    at(22);
    i32(126);  // top-level table: the mesh
    at(26);
    node(25, 3, 150, 0, 0);  // mesh
    at(50);
    i32(162), i32(222), i32(318);  // its children
    at(62);
    node(3, 0, 0, 3, 186);  // vertices
    at(86);
    for (float v : {1.5f, 2.f, 3.f, -4.f, 5.f, 6.f, 7.f, 8.f, -9.25f})
        f32(v);
    at(122);
    node(28, 0, 0, 1, 246);  // glow
    at(146);
    i32(-1), i32(int32_t(0x80FF2010)), i32(0x40102030);
    for (float v : {0.5f, -1.f, 2.f, 10.f, 20.f, 30.f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f})
        f32(v);
    at(218);
    node(21, 4, 342, 4, 518);  // LOD node
    at(242);
    i32(358), i32(0), i32(0), i32(0);  // LOD table: LOD 0 only
    at(258);
    node(25, 1, 382, 0, 0);  // LOD 0
    at(282);
    i32(386);  // its face-node table
    at(286);
    node(1, 0, 0, 1, 414), i32(77);  // face data, extra value 77
    at(314);
    i32(0);  // not part of the faces
    for (int32_t v : {0, 1, 2, -1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})
        i32(v);
    f32(0), f32(0), f32(1);  // normal
    for (int32_t v : {21, 22, 23, 24, 25, 26})
        i32(v);
    at(418);
    f32(100.5f), f32(200), f32(300);  // three distances, then the end

    TempDir dir;
    ReadBytesAsOpt(open, dir, f);
    ASSERT_EQ(open.Model.Meshes.Count(), 1);
    const TOMesh& m = open.Model.Meshes.Get(0);
    ASSERT_EQ(m.Vertices.Count(), 3);
    ExpectFloat3({m.Vertices.Get(0).X, m.Vertices.Get(0).Y, m.Vertices.Get(0).Z}, {1.5f, 2, 3});
    ExpectFloat3({m.Vertices.Get(2).X, m.Vertices.Get(2).Y, m.Vertices.Get(2).Z}, {7, 8, -9.25f});
    ASSERT_EQ(m.Glows.Count(), 1);
    const TEngineGlow& g = m.Glows.Get(0);
    EXPECT_EQ(g.FilePos, 146);
    EXPECT_EQ(g.CoreColor, 0x80FF2010u);
    EXPECT_EQ(g.OuterColor, 0x40102030u);
    ExpectFloat3(g.MainVec, {0.5f, -1, 2});
    ExpectFloat3(g.Center, {10, 20, 30});
    ExpectFloat3(g.Density0, {0.1f, 0.2f, 0.3f});
    ExpectFloat3(g.Density2, {0.7f, 0.8f, 0.9f});
    EXPECT_EQ(m.LodCount, 4);
    ExpectFloat3(m.LodDist, {100.5f, 200, 300});
    ASSERT_EQ(m.Faces[0].Count(), 1);
    const TOFace& face = m.Faces[0].Get(0);
    EXPECT_EQ(face.ExtraValue, 77);
    EXPECT_TRUE(face.IsTriangle());
    EXPECT_EQ(face.VertIdx.Index[2], 2);
    EXPECT_EQ(face.Quad2.Index[0], 4);
    EXPECT_EQ(face.Quad4.Index[3], 15);
    EXPECT_EQ(face.Normal.Z, 1);
    EXPECT_EQ(face.TexVec[0], 21u);
    EXPECT_EQ(face.TexVec[5], 26u);
    EXPECT_EQ(m.Faces[1].Count() + m.Faces[2].Count(), 0);

    // One byte less, and the third distance is cut.
    f.pop_back();
    EXPECT_NE(readertest::DamagedMessage([&] { ReadBytesAsOpt(open, dir, f); }), "no error");
}

TEST(Reader, FileOfTextureNodesOnlyHasNoMeshes)
{
    TOpenModel open;
    OptBuilder b;
    b.AddTopLevel(b.TextureNode());
    b.AddTopLevel(b.TextureNode());
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(300));
    EXPECT_EQ(open.Model.Meshes.Count(), 0);
}

TEST(Reader, TopLevelNodeOfAnyTypeButTextureIsAMeshEvenWithNothingInIt)
{
    TOpenModel open;
    OptBuilder b;
    const std::vector<int32_t> types = {0, 1, 3, 21, 28, 25, -1, 19};
    for (int32_t type : types) {
        const NodeId mesh = b.Node(type);
        b.AddChild(mesh, b.TextureNode());  // a child the walk does not know
        b.AddTopLevel(mesh);
    }
    b.AddTopLevel(b.TextureNode());
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build());
    ASSERT_EQ(open.Model.Meshes.Count(), static_cast<int>(types.size()));
    for (const TOMesh& m : open.Model.Meshes) {
        EXPECT_EQ(m.Vertices.Count() + m.Glows.Count() + m.Faces[0].Count(), 0);
        EXPECT_EQ(m.LodCount, 0);
    }
}

TEST(Reader, GlowNodeWithDataCountThreeYieldsOneGlow)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    GlowRecord g;
    g.CoreColor = 0x11223344;
    const NodeId glow = b.Glow(g);
    b.SetDataCount(glow, 3);
    b.AddChild(mesh, glow);
    b.AddTopLevel(mesh);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(1234));
    ASSERT_EQ(open.Model.Meshes.Get(0).Glows.Count(), 1);
    EXPECT_EQ(open.Model.Meshes.Get(0).Glows.Get(0).CoreColor, 0x11223344u);
}

TEST(Reader, SecondLodNodeSetsLodCountOverwritesDistancesAndAddsFaces)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId group = b.GroupNode();
    b.AddChild(mesh, b.LodWithFaces({1, 2, 3}, {{Tri(0, 1, 2)}, {Tri(3, 4, 5)}, {Tri(6, 7, 8)}}));
    b.AddChild(mesh, group);
    b.AddChild(group, b.LodWithFaces({7, 8}, {{Quad(9, 9, 9, 9)}, {}}));
    b.AddTopLevel(mesh);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(-8));
    const TOMesh& m = open.Model.Meshes.Get(0);
    EXPECT_EQ(m.LodCount, 2);
    ExpectFloat3(m.LodDist, {7, 8, 3});
    ASSERT_EQ(m.Faces[0].Count(), 2);
    EXPECT_EQ(m.Faces[0].Get(0).VertIdx.Index[0], 0);
    EXPECT_EQ(m.Faces[0].Get(1).VertIdx.Index[0], 9);
    EXPECT_EQ(m.Faces[1].Count(), 1);
    EXPECT_EQ(m.Faces[2].Count(), 1);
}

TEST(Reader, GroupInGroupAndFaceDataOutsideAnLodAreIgnored)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId outer = b.GroupNode();
    const NodeId inner = b.GroupNode();
    b.AddChild(inner, b.Vertices({{1, 1, 1}}));
    b.AddChild(inner, b.Glow({}));
    b.AddChild(outer, inner);
    b.AddChild(outer, b.Faces({Tri(0, 1, 2)}));
    b.AddChild(mesh, outer);
    b.AddChild(mesh, b.Faces({Tri(0, 1, 2)}));
    b.AddChild(mesh, b.Vertices({{2, 2, 2}}));
    b.AddTopLevel(mesh);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(99));
    const TOMesh& m = open.Model.Meshes.Get(0);
    ASSERT_EQ(m.Vertices.Count(), 1);
    EXPECT_EQ(m.Vertices.Get(0).X, 2);
    EXPECT_EQ(m.Glows.Count(), 0);
    for (const TFaceL& faces : m.Faces)
        EXPECT_EQ(faces.Count(), 0);
}

TEST(Reader, MeshNumberingFollowsTheTopLevelTableNotTheLayout)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId a = b.Mesh();
    const NodeId tex = b.TextureNode();
    const NodeId c = b.Mesh(3);
    b.AddChild(a, b.Vertices({{1, 0, 0}}));
    b.AddChild(c, b.Vertices({{3, 0, 0}}));
    b.AddTopLevel(c);
    b.AddTopLevel(tex);
    b.AddTopLevel(a);
    b.SetLayoutOrder({4, 3, 2, 1, 0});
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build());
    ASSERT_EQ(open.Model.Meshes.Count(), 2);
    EXPECT_EQ(open.Model.Meshes.Get(0).Vertices.Get(0).X, 3);
    EXPECT_EQ(open.Model.Meshes.Get(1).Vertices.Get(0).X, 1);
}

TEST(Reader, ANewReadReplacesTheModel)
{
    TOpenModel open;
    SampleModel s;
    TempDir dir;
    ReadBytesAsOpt(open, dir, s.B.Build());
    ReadBytesAsOpt(open, dir, s.B.Build(), "again.opt");
    EXPECT_EQ(open.Model.Meshes.Count(), 1);
    EXPECT_EQ(open.Model.Meshes.Get(0).Vertices.Count(), 4);
}

TEST(Reader, FileThatCannotBeOpenedRaisesAfterTheModelWasEmptied)
{
    TOpenModel open;
    SampleModel s;
    TempDir dir;
    ReadBytesAsOpt(open, dir, s.B.Build());
    ASSERT_EQ(open.Model.Meshes.Count(), 1);
    const std::string missing = dir.File("missing.opt");
    try {
        open.Reader.ReadOpt(missing, open.Model);
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_STREQ(e.what(), ("Cannot open file " + missing).c_str());
    }
    EXPECT_EQ(open.Model.Meshes.Count(), 0);
}

TEST(Reader, ADirectoryCannotBeOpened)
{
    TOpenModel open;
    TempDir dir;
    EXPECT_EQ(MessageOf<EFOpenError>([&] { open.Reader.ReadOpt(dir.Path(), open.Model); }),
              "Cannot open file " + dir.Path());
}

// Capacities: 70 top-level entries, 50 mesh and 50 group children, 4 LODs
// (3 distances, 3 face lists), 100 face nodes per LOD. Entries past them are
// not read, so whatever they hold does no harm.

TEST(ReaderCapacity, SeventyFirstTopLevelNodeIsIgnored)
{
    TOpenModel open;
    OptBuilder b;
    for (int i = 0; i < 71; ++i) {
        const NodeId mesh = b.Mesh();
        b.AddChild(mesh, b.Vertices({{float(i), 0, 0}}));
        b.AddTopLevel(mesh);
    }
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(5000));
    ASSERT_EQ(open.Model.Meshes.Count(), 70);
    EXPECT_EQ(open.Model.Meshes.Get(69).Vertices.Get(0).X, 69);
    EXPECT_EQ(open.Reader.LeftOut, (TLeftOut{0, 1, 0}));
}

TEST(ReaderCapacity, AnnouncedCountsPastTheTablesAreNotRead)
{
    TOpenModel open;
    // Counts far beyond the file: a check of the whole announced run would
    // fail, so this passes only when no more than the capacity is read.
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    b.AddTopLevel(mesh);
    b.SetTopLevelCount(INT32_MAX);
    for (int i = 1; i < 70; ++i)
        b.AddTopLevel(b.TextureNode());
    for (int i = 0; i < 50; ++i)
        b.AddChild(mesh, b.Vertices({{float(i), 0, 0}}));
    b.SetChildCount(mesh, INT32_MAX);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(77));
    ASSERT_EQ(open.Model.Meshes.Count(), 1);
    EXPECT_EQ(open.Model.Meshes.Get(0).Vertices.Count(), 50);
}

TEST(ReaderCapacity, FiftyChildrenOfAMeshAndOfAGroup)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId group = b.GroupNode();
    b.AddChild(mesh, group);
    for (int i = 0; i < 50; ++i)
        b.AddChild(mesh, b.Vertices({{1, 0, 0}}));  // the 50th is not read
    for (int i = 0; i < 51; ++i)
        b.AddChild(group, b.Vertices({{2, 0, 0}}));  // the 51st is not read
    b.AddTopLevel(mesh);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(16));
    const TOMesh& m = open.Model.Meshes.Get(0);
    ASSERT_EQ(m.Vertices.Count(), 50 + 49);
    EXPECT_EQ(m.Vertices.Get(49).X, 2);
    EXPECT_EQ(m.Vertices.Get(50).X, 1);
}

TEST(ReaderCapacity, FiveLodsKeepCountThreeDistancesAndThreeFaceLists)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId lod = b.LodWithFaces({1, 2, 3, 4, 5}, {{Tri(0, 0, 0)}, {Tri(1, 1, 1)}, {Tri(2, 2, 2)}, {Tri(3, 3, 3)}});
    b.SetChildCount(lod, 5);  // a fifth LOD child entry is announced but not there: not read
    b.AddChild(mesh, lod);
    b.AddTopLevel(mesh);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(-77));
    const TOMesh& m = open.Model.Meshes.Get(0);
    EXPECT_EQ(m.LodCount, 5);
    ExpectFloat3(m.LodDist, {1, 2, 3});
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(m.Faces[i].Count(), 1);
        EXPECT_EQ(m.Faces[i].Get(0).VertIdx.Index[0], i);
    }
}

TEST(ReaderCapacity, FacesOfTheFourthLodAreCheckedThoughNotKept)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId lod = b.LodWithFaces({1, 2, 3, 4}, {{}, {}, {}, {Tri(3, 3, 3)}});
    b.AddChild(mesh, lod);
    b.AddTopLevel(mesh);
    std::vector<uint8_t> bytes = b.Build();
    TempDir dir;
    ReadBytesAsOpt(open, dir, bytes);
    EXPECT_EQ(open.Model.Meshes.Get(0).LodCount, 4);
    // The fourth LOD's face data is the last thing in the file.
    bytes.pop_back();
    EXPECT_NE(readertest::DamagedMessage([&] { ReadBytesAsOpt(open, dir, bytes); }), "no error");
}

TEST(ReaderCapacity, HundredFaceNodesPerLod)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId lod = b.LodNode({1});
    const NodeId lod0 = b.GroupNode();
    for (int i = 0; i < 101; ++i)
        b.AddChild(lod0, b.Faces({Tri(i, i, i)}));
    b.AddChild(lod, lod0);
    b.AddChild(mesh, lod);
    b.AddTopLevel(mesh);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(1 << 20));
    const TFaceL& faces = open.Model.Meshes.Get(0).Faces[0];
    ASSERT_EQ(faces.Count(), 100);
    EXPECT_EQ(faces.Get(99).VertIdx.Index[0], 99);
    EXPECT_EQ(open.Reader.LeftOut, (TLeftOut{0, 0, 1}));
}

// What the tables list past their capacities is counted for the user, as
// the walk would have taken it: a glow node listed many times is as many
// glows, an empty entry or a texture among a group's children is nothing.
TEST(ReaderCapacity, WhatIsLeftOutIsCountedForTheUser)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId group = b.GroupNode();
    const NodeId glow = b.Glow({});
    b.AddChild(mesh, group);
    for (int i = 0; i < 59; ++i)
        b.AddChild(mesh, glow);  // 49 read, 10 not
    for (int i = 0; i < 50; ++i)
        b.AddChild(group, b.Glow({}));
    b.AddEmptyChild(group);
    b.AddChild(group, b.Vertices({{1, 2, 3}}));
    b.AddChild(group, b.TextureNode());
    b.AddChild(group, glow);
    b.AddTopLevel(mesh);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(300));
    EXPECT_EQ(open.Model.Meshes.Get(0).Glows.Count(), 49 + 50);
    EXPECT_EQ(open.Reader.LeftOut, (TLeftOut{11, 0, 1}));
    EXPECT_EQ(LeftOutText(open.Reader.LeftOut), "11 glows and 1 other node past the reader's limits are left out");
    EXPECT_EQ(LeftOutText({1, 0, 0}), "1 glow past the reader's limits is left out");

    // The next read counts its own.
    ReadBytesAsOpt(open, dir, SampleModel().B.Build());
    EXPECT_EQ(open.Reader.LeftOut, TLeftOut{});
    EXPECT_EQ(LeftOutText(open.Reader.LeftOut), "");
}

}  // namespace
