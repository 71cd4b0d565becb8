#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <bit>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>

#include "opt_builder.h"
#include "optglow_commands.h"
#include "temp_dir.h"

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
    GlowRecord G0, G1;
    std::vector<uint8_t> Bytes;
    int32_t Pos0 = 0, Pos1 = 0;

    ToolModel()
    {
        G0.CoreColor = 0xABCDEF01;
        G0.OuterColor = 0x0000000F;
        G0.Center = {1, 2, 3};
        G0.MainVec = {0, -1, 0};
        G0.Density0 = {0.1f, 0.2f, 0.3f};
        G0.Density1 = {0.4f, 0.5f, 0.6f};
        G0.Density2 = {0.7f, 0.8f, 0.9f};
        G1 = G0;
        G1.CoreColor = 0xFF800000;
        G1.Center = {-5.5f, 6.25f, -7};
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
        Bytes = b.Build(1000);
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
        return ordered_json::parse(r.Out);
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
              "optglow: mesh 5 does not exist: the model has 2 meshes\n");
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

TEST(OptglowHelp, ExplainsBothCommands)
{
    const Result r = RunOptglow({"--help"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Err, "");
    EXPECT_NE(r.Out.find("optglow dump FILE"), std::string::npos);
    EXPECT_NE(r.Out.find("optglow set FILE MESH GLOW FIELD=VALUE"), std::string::npos);
    for (const char* field : {"core=", "outer=", "center=", "vector=", "density0=", "density1=", "density2="})
        EXPECT_NE(r.Out.find(field), std::string::npos) << field;
}

// The program itself: arguments and exit codes reach the shell.
TEST(OptglowProgram, ExitCodes)
{
    const auto exitCode = [](const std::string& args) {
#ifdef _WIN32
        // cmd.exe runs the line and hands back the program's exit code itself.
        const std::string exe = std::filesystem::path(OPTGLOW_EXE).make_preferred().string();
        return std::system((exe + " " + args + " >NUL 2>&1").c_str());
#else
        const int status = std::system((std::string(OPTGLOW_EXE) + " " + args + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    };
    EXPECT_EQ(exitCode("--help"), 0);
    EXPECT_EQ(exitCode(""), 2);
    EXPECT_EQ(exitCode("dump /nonexistent/none.opt"), 1);
    TempDir dir;
    ToolModel m;
    optbuild::WriteFileBytes(dir.File("m.opt"), m.Bytes);
    EXPECT_EQ(exitCode("set " + dir.File("m.opt") + " 0 0 outer=01020304"), 0);
    EXPECT_EQ(ReadBytes(dir.File("m.opt"))[static_cast<size_t>(m.Pos0) + 8], 0x04);
}

}  // namespace
