#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>

#include "file_util.h"
#include "opt_builder.h"
#include "optglow_commands.h"
#include "temp_dir.h"
#include "write_faults.h"

namespace {

using nlohmann::ordered_json;
using optbuild::GlowRecord;
using optbuild::OptBuilder;
using optbuild::Quad;
using optbuild::Tri;

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// A float as dump writes it, read back.
float JsonFloat(const ordered_json& j)
{
    if (j.is_string()) {
        const std::string s = j.get<std::string>();
        if (s == "nan")
            return NaN;
        if (s == "inf")
            return Inf;
        if (s == "-inf")
            return -Inf;
        ADD_FAILURE() << "unexpected string " << s;
        return 0;
    }
    EXPECT_TRUE(j.is_number()) << j.dump();
    return static_cast<float>(j.get<double>());
}

// Same float32, bit for bit (any NaN matches any NaN).
void ExpectSameFloat(const ordered_json& j, float expected)
{
    const float got = JsonFloat(j);
    if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(got)) << j.dump();
    else
        EXPECT_EQ(std::bit_cast<uint32_t>(got), std::bit_cast<uint32_t>(expected)) << j.dump() << " vs " << expected;
}

void ExpectVector(const ordered_json& j, float x, float y, float z)
{
    ASSERT_TRUE(j.is_array());
    ASSERT_EQ(j.size(), 3u);
    ExpectSameFloat(j[0], x);
    ExpectSameFloat(j[1], y);
    ExpectSameFloat(j[2], z);
}

void ExpectVector(const ordered_json& j, const TFloat3& v)
{
    ExpectVector(j, v.X, v.Y, v.Z);
}

struct Result {
    int Code;
    std::string Out, Err;
};

Result RunOptglow(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = optglow::Run(args, out, err);
    return {code, out.str(), err.str()};
}

// A texture node, a mesh with awkward floats, three LODs and two glows, and a
// mesh with nothing but vertices.
struct ToolModel {
    std::vector<TVertex> Verts = {
        {0.1f, -0.0f, std::numeric_limits<float>::max()},
        {NaN, Inf, -Inf},
        {std::numeric_limits<float>::denorm_min(), 1e-30f, 16777216.0f},
        {-40, 40, 3.14159274f},
    };
    std::vector<std::vector<optbuild::FaceRecord>> Lods = {
        {Quad(0, 1, 2, 3), Tri(3, 2, 1), Quad(1, 2, 3, 0)},
        {Tri(0, 1, 2)},
        {Tri(2, 1, 0), Quad(3, 3, 3, 3)},
    };
    GlowRecord G0 = DefaultGlow(), G1 = DefaultGlow(0xFF800000, {-5.5f, 6.25f, -7});
    std::vector<uint8_t> Bytes;
    int32_t Pos0 = 0, Pos1 = 0;

    static GlowRecord DefaultGlow(uint32_t core = 0xABCDEF01, TFloat3 center = {1, 2, 3})
    {
        GlowRecord g;
        g.CoreColor = core;
        g.OuterColor = 0x0000000F;
        g.Center = center;
        g.MainVec = {0, -1, 0};
        g.Density0 = {0.1f, 0.2f, 0.3f};
        g.Density1 = {0.4f, 0.5f, 0.6f};
        g.Density2 = {0.7f, 0.8f, 0.9f};
        return g;
    }

    ToolModel() { Build(); }
    // Another version of the model: these glows, and the nodes laid out
    // elsewhere in the file (offset base, one vertex more).
    ToolModel(const GlowRecord& g0, const GlowRecord& g1) : G0(g0), G1(g1)
    {
        Verts.push_back({9, 9, 9});
        Build(8);
    }

    // The 68 written bytes of a glow whose block starts at pos.
    std::vector<uint8_t> WrittenBytes(int32_t pos) const
    {
        return {Bytes.begin() + pos + 4, Bytes.begin() + pos + 72};
    }

private:
    void Build(int32_t offsetBase = 1000)
    {
        OptBuilder b;
        b.AddTopLevel(b.TextureNode());
        const auto mesh = b.Mesh();
        b.AddChild(mesh, b.Vertices(Verts));
        b.AddChild(mesh, b.LodWithFaces({10, 20.5f, 30}, Lods));
        const auto glow0 = b.Glow(G0);
        const auto glow1 = b.Glow(G1);
        b.AddChild(mesh, glow0);
        b.AddChild(mesh, glow1);
        b.AddTopLevel(mesh);
        const auto bare = b.Mesh();
        b.AddChild(bare, b.Vertices({{1, 1, 1}}));
        b.AddTopLevel(bare);
        Bytes = b.Build(offsetBase);
        Pos0 = b.DataPos(glow0);
        Pos1 = b.DataPos(glow1);
    }
};

class OptglowTest : public ::testing::Test {
protected:
    void SetUp() override { optbuild::WriteFileBytes(Path, M.Bytes); }

    void ExpectUntouched() { EXPECT_EQ(ReadBytes(Path), M.Bytes); }

    // Expects that the file differs from the original only in [from, to).
    void ExpectChangedOnlyIn(size_t from, size_t to)
    {
        const std::vector<uint8_t> now = ReadBytes(Path);
        ASSERT_EQ(now.size(), M.Bytes.size());
        for (size_t i = 0; i < now.size(); ++i) {
            if (i < from || i >= to) {
                ASSERT_EQ(now[i], M.Bytes[i]) << "byte " << i;
            }
        }
    }

    ordered_json Dump()
    {
        const Result r = RunOptglow({"dump", Path});
        EXPECT_EQ(r.Code, 0) << r.Err;
        EXPECT_EQ(r.Err, "");
        const ordered_json j = ordered_json::parse(r.Out);
        // Printed as it goes, the text is still the document's compact dump.
        EXPECT_EQ(j.dump() + "\n", r.Out);
        return j;
    }

    TempDir Dir;
    ToolModel M;
    std::string Path = Dir.File("tool.opt");
};

TEST_F(OptglowTest, DumpShowsEveryMeshWithItsValues)
{
    const ordered_json j = Dump();
    ASSERT_EQ(j["meshes"].size(), 2u);
    const ordered_json& m = j["meshes"][0];
    std::vector<std::string> keys;
    for (const auto& item : m.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"lodCount", "lodDist", "vertices", "faces", "glows"}));

    EXPECT_EQ(m["lodCount"], 3);
    ExpectVector(m["lodDist"], 10, 20.5f, 30);
    ASSERT_EQ(m["vertices"].size(), M.Verts.size());
    for (size_t i = 0; i < M.Verts.size(); ++i)
        ExpectVector(m["vertices"][i], M.Verts[i].X, M.Verts[i].Y, M.Verts[i].Z);
    ASSERT_EQ(m["faces"].size(), 3u);
    for (size_t lod = 0; lod < 3; ++lod) {
        ASSERT_EQ(m["faces"][lod].size(), M.Lods[lod].size());
        for (size_t f = 0; f < M.Lods[lod].size(); ++f) {
            const auto& idx = M.Lods[lod][f].VertIdx.Index;
            EXPECT_EQ(m["faces"][lod][f], ordered_json::array({idx[0], idx[1], idx[2], idx[3]}));
        }
    }

    ASSERT_EQ(m["glows"].size(), 2u);
    const ordered_json& g = m["glows"][0];
    EXPECT_EQ(g["filePos"], M.Pos0);
    EXPECT_EQ(g["coreColor"], "ABCDEF01");
    EXPECT_EQ(g["outerColor"], "0000000F");
    ExpectVector(g["center"], M.G0.Center);
    ExpectVector(g["mainVec"], M.G0.MainVec);
    ExpectVector(g["density0"], M.G0.Density0);
    ExpectVector(g["density1"], M.G0.Density1);
    ExpectVector(g["density2"], M.G0.Density2);
    EXPECT_EQ(m["glows"][1]["filePos"], M.Pos1);
    EXPECT_EQ(m["glows"][1]["coreColor"], "FF800000");

    const ordered_json& bare = j["meshes"][1];
    EXPECT_EQ(bare["lodCount"], 0);
    EXPECT_EQ(bare["faces"], ordered_json::parse("[[],[],[]]"));
    EXPECT_EQ(bare["glows"], ordered_json::array());
}

TEST(OptglowJson, EveryFloatReadsBackExactly)
{
    std::vector<uint32_t> patterns = {0x00000000, 0x80000000, 0x00000001, 0x007FFFFF, 0x00800000, 0x7F7FFFFF,
                                      0xFF7FFFFF, 0x3F800000, 0x3DCCCCCD, 0x4B800001, 0x3EAAAAAB};
    std::mt19937 random(20261207);
    for (int i = 0; i < 200000; ++i)
        patterns.push_back(static_cast<uint32_t>(random()));
    for (uint32_t bits : patterns) {
        const float f = std::bit_cast<float>(bits);
        const ordered_json parsed = ordered_json::parse(optglow::FloatToJson(f).dump());
        ExpectSameFloat(parsed, f);
        if (::testing::Test::HasFailure())
            return;
    }
    EXPECT_EQ(optglow::FloatToJson(0.8f).dump(), "0.8");
    EXPECT_EQ(optglow::FloatToJson(-Inf), "-inf");
}

TEST_F(OptglowTest, SetPatchesOnlyTheGlowsSixtyEightBytes)
{
    const Result r = RunOptglow({"set", Path, "0", "1", "core=11223344", "outer=aabbccdd", "center=1.5,-2,0.5",
                                 "vector=2,0,-0.5", "density0=0.25,1,0", "density1=0.5,0.5,0.5", "density2=1,0.25,0.75"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "");
    const size_t p = static_cast<size_t>(M.Pos1);
    ExpectChangedOnlyIn(p + 4, p + 72);
    const std::vector<uint8_t> now = ReadBytes(Path);
    EXPECT_EQ(std::vector<uint8_t>(now.begin() + p + 4, now.begin() + p + 12),
              (std::vector<uint8_t>{0x44, 0x33, 0x22, 0x11, 0xDD, 0xCC, 0xBB, 0xAA}));

    const ordered_json g = Dump()["meshes"][0]["glows"][1];
    EXPECT_EQ(g["coreColor"], "11223344");
    EXPECT_EQ(g["outerColor"], "AABBCCDD");
    ExpectVector(g["center"], 1.5f, -2, 0.5f);
    ExpectVector(g["mainVec"], 2, 0, -0.5f);
    ExpectVector(g["density0"], 0.25f, 1, 0);
    ExpectVector(g["density1"], 0.5f, 0.5f, 0.5f);
    ExpectVector(g["density2"], 1, 0.25f, 0.75f);
}

TEST_F(OptglowTest, SetOfOneFieldKeepsEveryOtherValue)
{
    ASSERT_EQ(RunOptglow({"set", Path, "0", "0", "density2=0.1,0.2,0.3"}).Code, 0);
    // The whole block is rewritten, but only density 2 (+60..+71) differs.
    const size_t p = static_cast<size_t>(M.Pos0);
    ExpectChangedOnlyIn(p + 60, p + 72);
    ExpectVector(Dump()["meshes"][0]["glows"][0]["density2"], 0.1f, 0.2f, 0.3f);
    // Numbers with blanks and a leading '+'; the later of two settings wins.
    ASSERT_EQ(RunOptglow({"set", Path, "0", "0", "center=+1e1, -2.5 ,0", "center=7,8,9"}).Code, 0);
    ExpectVector(Dump()["meshes"][0]["glows"][0]["center"], 7, 8, 9);
}

TEST_F(OptglowTest, BadIndicesValuesAndFieldsLeaveTheFileAlone)
{
    const std::vector<std::vector<std::string>> cases = {
        {"2", "0", "core=FF000000"},   // mesh 2 does not exist
        {"1", "0", "core=FF000000"},   // mesh 1 has no glows
        {"0", "2", "core=FF000000"},
        {"-1", "0", "core=FF000000"},
        {"x", "0", "core=FF000000"},
        {"0", "0x1", "core=FF000000"},
        {"0", "0", "core=1234567"},
        {"0", "0", "core=123456789"},
        {"0", "0", "core=GG000000"},
        {"0", "0", "core=+1234567"},
        {"0", "0", "outer=0x123456"},
        {"0", "0", "center=1,2"},
        {"0", "0", "center=1,2,3,4"},
        {"0", "0", "center=1,,3"},
        {"0", "0", "center=a,b,c"},
        {"0", "0", "center=1;2;3"},
        {"0", "0", "center=1,5,2,5,3,5"},
        {"0", "0", "vector=nan,0,0"},
        {"0", "0", "vector=inf,0,0"},
        {"0", "0", "vector=1e39,0,0"},
        {"0", "0", "vector=+-1,0,0"},
        {"0", "0", "density0=0,0,1.5"},
        {"0", "0", "density1=-0.1,0,0"},
        {"0", "0", "density2=0,0,1.0001"},
        {"0", "0", "colour=FF000000"},
        {"0", "0", "core=FF000000", "bogus=1"},  // a good value before a bad one writes nothing
        {"0", "0", "core=FF000000", "center=1,2"},
    };
    for (const auto& tail : cases) {
        std::vector<std::string> args = {"set", Path};
        args.insert(args.end(), tail.begin(), tail.end());
        const Result r = RunOptglow(args);
        EXPECT_EQ(r.Code, 1) << ::testing::PrintToString(tail);
        EXPECT_NE(r.Err, "") << ::testing::PrintToString(tail);
        EXPECT_EQ(r.Out, "");
        ExpectUntouched();
    }
}

TEST_F(OptglowTest, MessagesSayWhatIsWrong)
{
    EXPECT_EQ(RunOptglow({"set", Path, "5", "0", "core=FF000000"}).Err,
              "optglow: mesh 5 does not exist: " + Path + " has 2 meshes\n");
    EXPECT_EQ(RunOptglow({"set", Path, "1", "0", "core=FF000000"}).Err,
              "optglow: glow 0 does not exist: mesh 1 has 0 glows\n");
    EXPECT_EQ(RunOptglow({"set", Path, "0", "0", "density0=0,0,2"}).Err,
              "optglow: '0,0,2': a density lies between 0.0 and 1.0\n");
    EXPECT_EQ(RunOptglow({"dump", Dir.File("none.opt")}).Err, "optglow: Cannot open file " + Dir.File("none.opt") + "\n");
}

TEST_F(OptglowTest, DamagedOrMissingFilesAreErrors)
{
    // Cut inside the last glow's block: glow 0 of mesh 0 was readable, but the
    // file as a whole is not, so nothing is written.
    std::vector<uint8_t> cut(M.Bytes.begin(), M.Bytes.begin() + M.Pos1 + 40);
    const std::string damaged = Dir.File("damaged.opt");
    optbuild::WriteFileBytes(damaged, cut);
    Result r = RunOptglow({"set", damaged, "0", "0", "core=FF000000"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(ReadBytes(damaged), cut);
    r = RunOptglow({"dump", damaged});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "");  // no half a model

    const std::string missing = Dir.File("missing.opt");
    EXPECT_EQ(RunOptglow({"set", missing, "0", "0", "core=FF000000"}).Code, 1);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(OptglowTest, MalformedCommandLinesAreUsageErrors)
{
    const std::vector<std::vector<std::string>> cases = {
        {}, {"frobnicate"}, {"dump"}, {"dump", Path, "extra"}, {"set", Path, "0", "0"}, {"set", Path, "0", "0", "core"},
        {"--help", "dump"},
    };
    for (const auto& args : cases) {
        const Result r = RunOptglow(args);
        EXPECT_EQ(r.Code, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.Err.find("Usage: optglow"), std::string::npos);
        ExpectUntouched();
    }
}

TEST(OptglowHelp, ExplainsEveryCommand)
{
    const Result r = RunOptglow({"--help"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Err, "");
    EXPECT_NE(r.Out.find("optglow dump FILE"), std::string::npos);
    EXPECT_NE(r.Out.find("optglow set FILE MESH GLOW FIELD=VALUE"), std::string::npos);
    for (const char* usage : {"optglow glows FILE [--json]", "optglow diff OLD NEW [--text]",
                              "optglow apply FILE EDITS [--dry-run]", "diff: 0 no difference, 1 differences, 2 wrong usage, 3 error."})
        EXPECT_NE(r.Out.find(usage), std::string::npos) << usage;
    for (const char* field : {"core=", "outer=", "center=", "vector=", "density0=", "density1=", "density2="})
        EXPECT_NE(r.Out.find(field), std::string::npos) << field;
}


// The next version of ToolModel, as a modder would have edited it: other
// colours, floats that only bit-exact numbers carry, a glow changed in two
// fields only; its glows lie elsewhere in the file.
ToolModel EditedModel()
{
    GlowRecord g0 = ToolModel::DefaultGlow(0xFF8040C0, {-0.0f, 1e-30f, 0.1f});
    g0.OuterColor = 0x80102030;
    g0.MainVec = {std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min(), 3.14159274f};
    g0.Density0 = {0, 1, 0.333333343f};
    GlowRecord g1 = ToolModel::DefaultGlow(0xFF800000, {-5.5f, 6.25f, -7});
    g1.MainVec = {-0.0f, -1, 0};  // equal as numbers, not as bits
    g1.Density1 = {0.0999999940f, 0.5f, 0.6f};
    return ToolModel(g0, g1);
}

class OptglowBatchTest : public OptglowTest {
protected:
    // Writes an edit list into the test folder and returns its path.
    std::string Edits(const std::string& json)
    {
        const std::string path = Dir.File("edits.json");
        optbuild::WriteFileBytes(path, std::vector<uint8_t>(json.begin(), json.end()));
        return path;
    }

    // M's file with the 68 written bytes of glow 0 and 1 replaced.
    std::vector<uint8_t> WithGlows(const std::vector<uint8_t>& glow0, const std::vector<uint8_t>& glow1) const
    {
        std::vector<uint8_t> bytes = M.Bytes;
        std::copy(glow0.begin(), glow0.end(), bytes.begin() + M.Pos0 + 4);
        std::copy(glow1.begin(), glow1.end(), bytes.begin() + M.Pos1 + 4);
        return bytes;
    }

    ToolModel Edited = EditedModel();
    std::string EditedPath = Dir.File("edited.opt");
};

TEST_F(OptglowBatchTest, DiffThenApplyMakesEveryWrittenByteTheTargets)
{
    optbuild::WriteFileBytes(EditedPath, Edited.Bytes);
    ASSERT_NE(M.Pos0, Edited.Pos0);

    Result same = RunOptglow({"diff", Path, Path});
    EXPECT_EQ(same.Code, 0) << same.Err;
    EXPECT_EQ(same.Out, "{\"edits\": []}\n");

    const Result diff = RunOptglow({"diff", Path, EditedPath});
    ASSERT_EQ(diff.Code, 1) << diff.Err;
    const ordered_json edits = ordered_json::parse(diff.Out)["edits"];
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[1], ordered_json::parse(R"({"mesh":0,"glow":1,"vector":[-0.0,-1,0],"density1":[0.099999994,0.5,0.6]})"));

    const std::string editsPath = Edits(diff.Out);
    const Result dry = RunOptglow({"apply", Path, editsPath, "--dry-run"});
    EXPECT_EQ(dry.Code, 0) << dry.Err;
    EXPECT_EQ(dry.Out, RunOptglow({"diff", "--text", Path, EditedPath}).Out + "dry run: would patch 2 glows of " +
                           Path + ", nothing written\n");
    ExpectUntouched();

    const Result apply = RunOptglow({"apply", Path, editsPath});
    ASSERT_EQ(apply.Code, 0) << apply.Err;
    EXPECT_EQ(apply.Out + apply.Err, "");
    EXPECT_EQ(ReadBytes(Path), WithGlows(Edited.WrittenBytes(Edited.Pos0), Edited.WrittenBytes(Edited.Pos1)));
    same = RunOptglow({"diff", Path, EditedPath});
    EXPECT_EQ(same.Code, 0);
    EXPECT_EQ(same.Out, "{\"edits\": []}\n");
}

TEST_F(OptglowBatchTest, StarsSelectEveryGlowAndLaterEditsWin)
{
    const std::string edits = Edits(R"({"edits": [
        {"mesh": "*", "glow": "*", "core": "11223344", "vector": [1, 2, 3]},
        {"mesh": "*", "glow": 1, "core": "55667788"},
        {"mesh": 0, "glow": 0, "vector": [0.5, 0, -0.0]},
        {"mesh": 0, "glow": 1, "outer": "AAAAAAAA"},
        {"mesh": 0, "glow": "*", "outer": "12345678"}]})");
    ASSERT_EQ(RunOptglow({"apply", Path, edits}).Code, 0);
    ToolModel expected;
    expected.G0.CoreColor = 0x11223344;
    expected.G0.MainVec = {0.5f, 0, -0.0f};
    expected.G1.CoreColor = 0x55667788;
    expected.G1.MainVec = {1, 2, 3};
    // The later edit wins, however few glows the earlier one named.
    expected.G0.OuterColor = expected.G1.OuterColor = 0x12345678;
    expected = ToolModel(expected.G0, expected.G1);
    EXPECT_EQ(ReadBytes(Path), WithGlows(expected.WrittenBytes(expected.Pos0), expected.WrittenBytes(expected.Pos1)));
}

// A glow node listed twice is one block: apply gives each field of it the
// latest edit of either glow, and both glows' patches carry that.
TEST_F(OptglowBatchTest, GlowsThatShareABlockArePatchedAlike)
{
    const auto build = [](const GlowRecord& shared, const GlowRecord& other) {
        OptBuilder b;
        const auto mesh = b.Mesh();
        const auto glow = b.Glow(shared);
        b.AddChild(mesh, glow);
        b.AddChild(mesh, b.Glow(other));
        b.AddChild(mesh, glow);
        b.AddTopLevel(mesh);
        return b.Build();
    };
    optbuild::WriteFileBytes(EditedPath, build(M.G0, M.G1));
    const std::string edits = Edits(R"({"edits": [
        {"mesh": 0, "glow": 2, "core": "11111111"},
        {"mesh": 0, "glow": 0, "center": [4, 5, 6]},
        {"mesh": 0, "glow": "*", "outer": "22222222"},
        {"mesh": 0, "glow": 2, "outer": "33333333"}]})");
    const Result dry = RunOptglow({"apply", EditedPath, edits, "--dry-run"});
    EXPECT_NE(dry.Out.find("mesh 0 glow 0 core: ABCDEF01 -> 11111111\n"), std::string::npos) << dry.Out;
    EXPECT_NE(dry.Out.find("mesh 0 glow 2 center: 1,2,3 -> 4,5,6\n"), std::string::npos) << dry.Out;
    const Result r = RunOptglow({"apply", EditedPath, edits});
    ASSERT_EQ(r.Code, 0) << r.Err;
    GlowRecord shared = M.G0, other = M.G1;
    shared.CoreColor = 0x11111111;
    shared.Center = {4, 5, 6};
    shared.OuterColor = 0x33333333;
    other.OuterColor = 0x22222222;
    EXPECT_EQ(ReadBytes(EditedPath), build(shared, other));
}

// A mesh that lists 51 glows: every command that reads the file says on
// stderr that one is left out, and works on the 50 it read.
TEST_F(OptglowBatchTest, EveryCommandThatReadsSaysWhatTheReaderLeftOut)
{
    OptBuilder b;
    const auto mesh = b.Mesh();
    for (int i = 0; i < 51; ++i)
        b.AddChild(mesh, b.Glow(M.G0));
    b.AddTopLevel(mesh);
    optbuild::WriteFileBytes(EditedPath, b.Build());
    const std::string said = "optglow: " + EditedPath + ": 1 glow past the reader's limits is left out\n";
    const std::string edits = Edits(R"({"edits": [{"mesh": 0, "glow": 49, "core": "FF000000"}]})");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"dump", EditedPath},
             {"glows", EditedPath},
             {"diff", EditedPath, EditedPath},
             {"apply", EditedPath, edits},
             {"set", EditedPath, "0", "49", "outer=FF000000"}}) {
        const Result r = RunOptglow(args);
        EXPECT_EQ(r.Code, 0) << args[0] << ": " << r.Err;
        EXPECT_EQ(r.Err, args[0] == "diff" ? said + said : said) << args[0];
    }
    EXPECT_EQ(RunOptglow({"glows", Path}).Err, "");
}

TEST_F(OptglowBatchTest, BadEditListsLeaveTheFileAloneAndSayWhere)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"({"edits": [{"mesh": 0, "glow": 0, "core": "FF000000"})", "not valid JSON: parse error at line 1, column 54"},
        {R"({"edits": [{"mesh": 0, "glow": 0, "vector": [1e400, 0, 0]}]})",
         "not valid JSON: number overflow parsing '1e400'"},
        {R"([])", "expected an edit list {\"edits\": [...]}"},
        {R"({"edits": [], "comment": 1})", "unknown key \"comment\""},
        // The parser would keep the last of two equal keys.
        {R"({"edits": [], "edits": [{"mesh": 0, "glow": 0, "core": "FF000000"}]})", "key \"edits\" given twice"},
        {R"({"edits": [3, {"mesh": 0, "mesh": 1, "glow": 0, "core": "FF000000"}]})",
         "edit 1, field \"mesh\": given twice"},
        {R"({"edits": [{"mesh": 0, "glow": 0, "core": "FF000000", "core": "FF000001"}]})",
         "edit 0, field \"core\": given twice"},
        {R"({"edits": {}})", "\"edits\" is not an array"},
        {R"({"edits": [3]})", "edit 0: expected an object"},
        {R"({"edits": [{"glow": 0, "core": "FF000000"}]})", "edit 0, field \"mesh\": missing"},
        {R"({"edits": [{"mesh": "0", "glow": 0, "core": "FF000000"}]})", "edit 0, field \"mesh\": expected a mesh index"},
        {R"({"edits": [{"mesh": -1, "glow": 0, "core": "FF000000"}]})", "edit 0, field \"mesh\": expected a mesh index"},
        {R"({"edits": [{"mesh": 1.0, "glow": 0, "core": "FF000000"}]})", "edit 0, field \"mesh\": expected"},
        {R"({"edits": [{"mesh": 2, "glow": 0, "core": "FF000000"}]})",
         "edit 0, field \"mesh\": mesh 2 does not exist: " + Path + " has 2 meshes"},
        {R"({"edits": [{"mesh": 0, "glow": 2, "core": "FF000000"}]})",
         "edit 0, field \"glow\": glow 2 does not exist: mesh 0 has 2 glows"},
        {R"({"edits": [{"mesh": 1, "glow": "*", "core": "FF000000"}]})",
         "edit 0, field \"glow\": selects no glow: mesh 1 has none"},
        {R"({"edits": [{"mesh": "*", "glow": 2, "core": "FF000000"}]})",
         "edit 0, field \"glow\": glow 2 does not exist in any mesh of " + Path},
        {R"({"edits": [{"mesh": 0, "glow": 0, "colour": "FF000000"}]})", "edit 0, field \"colour\": unknown field"},
        {R"({"edits": [{"mesh": 0, "glow": 0}]})", "edit 0: changes no field"},
        {R"({"edits": [{"mesh": 0, "glow": 0, "core": 4278190080}]})", "edit 0, field \"core\": expected a colour"},
        {R"({"edits": [{"mesh": 0, "glow": 0, "outer": "FF00000"}]})",
         "edit 0, field \"outer\": 'FF00000' is not a colour of 8 hexadecimal digits AARRGGBB"},
        {R"({"edits": [{"mesh": 0, "glow": 0, "center": [1, 2]}]})", "edit 0, field \"center\": expected three numbers"},
        {R"({"edits": [{"mesh": 0, "glow": 0, "center": [1, "2", 3]}]})", "edit 0, field \"center\": expected three"},
        {R"({"edits": [{"mesh": 0, "glow": 0, "center": [1, true, 3]}]})", "edit 0, field \"center\": expected three"},
        {R"({"edits": [{"mesh": 0, "glow": 0, "vector": [3.4028236e38, 0, 0]}]})",
         "edit 0, field \"vector\": 3.4028236e+38 lies outside the float32 range"},
        {R"({"edits": [{"mesh": 0, "glow": 0, "core": "FF000000"}, {"mesh": 0, "glow": 1, "density0": [0, 0, 1.5]}]})",
         "edit 1, field \"density0\": '[0,0,1.5]': a density lies between 0.0 and 1.0"},
        {R"({"edits": [{"mesh": 0, "glow": 0, "density2": [-0.1, 0, 0]}]})", "edit 0, field \"density2\": '[-0.1,0,0]'"},
        // Nested a million deep: the message shows the value shallowly.
        {R"({"edits": [{"mesh": 0, "glow": 0, "center": [1, )" + std::string(1'000'000, '[') +
             std::string(1'000'000, ']') + "]}]}",
         "edit 0, field \"center\": expected three numbers [x, y, z], got [1,[...]]\n"},
    };
    for (const auto& [json, message] : cases) {
        const std::string edits = Edits(json);
        const Result r = RunOptglow({"apply", Path, edits});
        EXPECT_EQ(r.Code, 1) << json;
        EXPECT_EQ(r.Err.rfind("optglow: " + edits + ": " + message, 0), 0u) << json << "\n" << r.Err;
        EXPECT_EQ(r.Out, "");
        ExpectUntouched();
    }
    // The largest float32 itself is in range, as diff writes it.
    EXPECT_EQ(RunOptglow({"apply", Path, Edits(R"({"edits": [{"mesh": 0, "glow": 0, "vector": [3.4028235e38, 0, 0]}]})")})
                  .Code,
              0);

    // A glow block cut by the end of the file: the file is refused whole.
    const std::vector<uint8_t> cut(M.Bytes.begin(), M.Bytes.begin() + M.Pos1 + 40);
    optbuild::WriteFileBytes(Path, cut);
    const Result r = RunOptglow({"apply", Path, Edits(R"({"edits": [{"mesh": 0, "glow": 0, "core": "FF000000"}]})")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find(Path), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(Path), cut);
}

TEST_F(OptglowBatchTest, DiffSaysWhenTheFilesDoNotHoldTheSameGlows)
{
    GlowRecord nan = M.G1;
    nan.Center.Y = NaN;
    OptBuilder b;
    const auto mesh = b.Mesh();
    b.AddChild(mesh, b.Glow(M.G0));
    b.AddTopLevel(mesh);
    optbuild::WriteFileBytes(EditedPath, b.Build());
    Result r = RunOptglow({"diff", Path, EditedPath});
    EXPECT_EQ(r.Code, 3);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "optglow: " + Path + " and " + EditedPath + " do not hold the same glows: " + Path +
                         " has 2 meshes, " + EditedPath + " 1 mesh; mesh 0 has 2 glows in " + Path + ", 1 in " +
                         EditedPath + "\n");

    optbuild::WriteFileBytes(EditedPath, ToolModel(M.G0, nan).Bytes);
    r = RunOptglow({"diff", Path, EditedPath});
    EXPECT_EQ(r.Code, 3);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err.rfind("optglow: mesh 0 glow 1 center of " + EditedPath + ": '-5.5,nan,-7' holds a number that is "
                          "not finite", 0), 0u) << r.Err;
    EXPECT_EQ(RunOptglow({"diff", Path, Dir.File("none.opt")}).Code, 3);
    EXPECT_EQ(RunOptglow({"diff", Path}).Code, 2);
}

TEST_F(OptglowBatchTest, GlowsListsEveryGlowInAlignedColumns)
{
    Result r = RunOptglow({"glows", Path});
    ASSERT_EQ(r.Code, 0) << r.Err;
    std::istringstream lines(r.Out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].rfind("mesh  glow  filePos  core      outer     center", 0), 0u) << rows[0];
    const size_t vectorColumn = rows[0].find("vector");
    EXPECT_EQ(rows[2].substr(0, vectorColumn),
              "   0     1  " + std::string(7 - std::to_string(M.Pos1).size(), ' ') + std::to_string(M.Pos1) +
                  "  FF800000  0000000F  -5.5,6.25,-7  ");
    EXPECT_EQ(rows[1].substr(vectorColumn), "0,-1,0  0.1,0.2,0.3  0.4,0.5,0.6  0.7,0.8,0.9");

    r = RunOptglow({"glows", "--json", Path});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const ordered_json glows = ordered_json::parse(r.Out)["glows"];
    ASSERT_EQ(glows.size(), 2u);
    ordered_json expected = {{"mesh", 0}, {"glow", 1}};
    expected.update(Dump()["meshes"][0]["glows"][1]);
    EXPECT_EQ(glows[1].dump(), expected.dump());
}

// An output that takes nothing, as a full disk does.
class FullBuffer : public std::streambuf {
protected:
    int overflow(int) override { return traits_type::eof(); }
};

TEST_F(OptglowBatchTest, OutputThatCannotBeWrittenIsAnError)
{
    for (const auto& [args, code] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"dump", Path}, 1}, {{"glows", Path}, 1}, {{"diff", Path, Path}, 3}, {{"--help"}, 1}}) {
        FullBuffer full;
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(optglow::Run(args, out, err), code) << args[0];
        EXPECT_EQ(err.str(), "optglow: cannot write the output\n");
    }
}

// The program itself: arguments and exit codes reach the shell.
#ifdef _WIN32
constexpr const char* NullDevice = "NUL";
#else
constexpr const char* NullDevice = "/dev/null";
#endif

TEST(OptglowProgram, ExitCodes)
{
    // Output to the null device unless args send it elsewhere.
    const auto exitCode = [](const std::string& args) {
        const std::string redirect = args.find('>') == std::string::npos ? std::string(" >") + NullDevice : "";
#ifdef _WIN32
        // cmd.exe runs the line and hands back the program's exit code itself.
        const std::string exe = std::filesystem::path(OPTGLOW_EXE).make_preferred().string();
        return _wsystem(SystemPath(exe + " " + args + redirect + " 2>NUL").c_str());
#else
        const int status = std::system((std::string(OPTGLOW_EXE) + " " + args + redirect + " 2>/dev/null").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    };
    EXPECT_EQ(exitCode("--help"), 0);
    EXPECT_EQ(exitCode(""), 2);
    EXPECT_EQ(exitCode("dump /nonexistent/none.opt"), 1);
    TempDir dir;
    ToolModel m;
    optbuild::WriteFileBytes(dir.File("m.opt"), m.Bytes);
    EXPECT_EQ(exitCode("dump " + dir.File("m.opt")), 0);
#ifndef _WIN32
    EXPECT_EQ(exitCode("dump " + dir.File("m.opt") + " >/dev/full"), 1);
#endif
    EXPECT_EQ(exitCode("diff " + dir.File("m.opt") + " " + dir.File("m.opt")), 0);
    EXPECT_EQ(exitCode("set " + dir.File("m.opt") + " 0 0 outer=01020304"), 0);
    EXPECT_EQ(ReadBytes(dir.File("m.opt"))[static_cast<size_t>(m.Pos0) + 8], 0x04);
    // A name beyond ASCII reaches the program whole (on Windows only by the
    // wide command line).
    const std::u8string name = u8"Крейсер Ω.opt";
    const std::string path = dir.Path() + std::string(name.begin(), name.end());
    std::ofstream(SystemPath(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(m.Bytes.data()), std::streamsize(m.Bytes.size()));
    EXPECT_EQ(exitCode("diff \"" + path + "\" \"" + path + "\""), 0);
}

#ifndef _WIN32
// A file-size limit (ulimit -f) that the patch of the second glow runs into:
// the write fails and is reported as any failed write is, instead of the
// limit's signal ending the program unheard, and the first glow, already
// patched, is put back: apply writes all or nothing.
TEST(OptglowProgram, AFileSizeLimitFailsTheWriteAndIsReported)
{
    TempDir dir;
    ToolModel m;
    const std::string path = dir.File("m.opt");
    optbuild::WriteFileBytes(path, m.Bytes);
    const std::string edits = dir.File("edits.json");
    std::ofstream(edits) << R"({"edits": [{"mesh": 0, "glow": "*", "core": "FF102030"}]})";
    ASSERT_LT(m.Pos0 + 72, m.Pos1);
    int error[2];
    ASSERT_EQ(pipe(error), 0);
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{rlim_t(m.Pos1), rlim_t(m.Pos1)};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        dup2(error[1], 2);
        execl(OPTGLOW_EXE, OPTGLOW_EXE, "apply", path.c_str(), edits.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(error[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(error[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    close(error[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(text, "optglow: Cannot write file " + path + "\n");
    EXPECT_EQ(ReadBytes(path), m.Bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);  // no record left
}
#endif

#ifdef NEG_HAVE_WRITE_FAULTS
// apply killed between the patches of its two glows: the file holds one glow
// new and one old, and the record beside it says what was overwritten. The
// reading commands say so and change nothing; the next apply first puts the
// old bytes back, byte for byte, and says so.
TEST(OptglowProgram, AnApplyKilledPartWayIsTakenBackByTheNextWrite)
{
    TempDir dir;
    ToolModel m;
    const std::string path = dir.File("m.opt");
    const std::string record = dir.File(".m.opt.neg-record");
    optbuild::WriteFileBytes(path, m.Bytes);
    const std::string edits = dir.File("edits.json");
    std::ofstream(edits) << R"({"edits": [{"mesh": 0, "glow": "*", "core": "FF102030"}]})";
    ASSERT_TRUE(KilledAtWrite(m.Pos1 + 4, OPTGLOW_EXE, {"apply", path, edits}));
    const std::vector<uint8_t> cut = ReadBytes(path);
    EXPECT_EQ(cut[size_t(m.Pos0) + 4], 0x30);
    EXPECT_EQ(cut[size_t(m.Pos1) + 4], m.Bytes[size_t(m.Pos1) + 4]);
    ASSERT_TRUE(std::filesystem::exists(record));

    const std::string note = "optglow: " + path + " has an unfinished write of 2 glows recorded in " + record +
                             "; set and apply take it back before they write, the editor when it opens the file. "
                             "Nothing was changed\n";
    for (const std::vector<std::string>& reading : std::vector<std::vector<std::string>>{
             {"dump", path}, {"glows", path}, {"diff", path, path}, {"apply", path, edits, "--dry-run"}}) {
        const Result r = RunOptglow(reading);
        EXPECT_EQ(r.Err, reading[0] == "diff" ? note + note : note) << reading[0];
        EXPECT_EQ(ReadBytes(path), cut) << reading[0];
    }
    ASSERT_TRUE(std::filesystem::exists(record));

    std::ofstream(edits) << R"({"edits": []})";
    const Result r = RunOptglow({"apply", path, edits});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Err, "optglow: An unfinished write of 2 glows into " + path +
                         " was taken back: the file is as it was before it\n");
    EXPECT_EQ(ReadBytes(path), m.Bytes);
    EXPECT_FALSE(std::filesystem::exists(record));
}
#endif

}  // namespace
