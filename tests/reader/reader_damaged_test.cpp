// Damaged files: every read must stay inside the file; a read that would not
// ends ReadOpt with EOptDamaged naming the file, keeping what was read before.
// Also the empty entries of the node tables.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <fstream>
#include <thread>

#include "byte_order.h"
#include "error_text.h"
#include "errors.h"
#include "model.h"
#include "open_model.h"
#include "opt_file_io.h"
#include "reader_test_support.h"
#include "temp_dir.h"

namespace {

using namespace optbuild;
using readertest::DamagedMessage;
using readertest::ReadBytesAsOpt;
using readertest::SampleModel;
using readertest::TruncatedText;

// Builder layout: a node's child table follows its 28-byte header.
int32_t ChildEntryPos(const OptBuilder& b, NodeId parent, int index)
{
    return b.NodePos(parent) + 28 + 4 * index;
}

int TotalItems(const TModel& model)
{
    int n = 0;
    for (const TOMesh& m : model.Meshes)
        n += m.Vertices.Count() + m.Glows.Count() + m.Faces[0].Count() + m.Faces[1].Count() + m.Faces[2].Count();
    return n;
}

TEST(ReaderDamaged, TruncationAtEveryByteEndsInACleanError)
{
    TOpenModel open;
    for (int32_t g : {8, -3000}) {
        SampleModel s;
        const std::vector<uint8_t> full = s.B.Build(g);
        TempDir dir;
        const std::string path = ReadBytesAsOpt(open, dir, full);
        const int fullItems = TotalItems(open.Model);
        const std::string prefix = "File " + path + " is damaged or truncated (offset ";
        for (size_t cut = 0; cut < full.size(); ++cut) {
            const std::vector<uint8_t> part(full.begin(), full.begin() + static_cast<long>(cut));
            // The file's last bytes are face data the walk reads, so every cut
            // must be noticed.
            const std::string msg = DamagedMessage([&] { ReadBytesAsOpt(open, dir, part); });
            ASSERT_EQ(msg.rfind(prefix, 0), 0u) << "cut at " << cut << ": " << msg;
            EXPECT_LE(open.Model.Meshes.Count(), 1);
            EXPECT_LE(TotalItems(open.Model), fullItems);
        }
    }
}

TEST(ReaderDamaged, GlowBlockCutByTheEndStaysAppendedAndTheErrorNamesItsOffset)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    b.AddChild(mesh, b.Vertices({{1, 2, 3}}));
    const NodeId glow = b.Glow({});
    b.AddChild(mesh, glow);
    b.AddTopLevel(mesh);
    std::vector<uint8_t> bytes = b.Build(4444);
    bytes.pop_back();
    TempDir dir;
    const std::string path = dir.File("m.opt");
    EXPECT_EQ(DamagedMessage([&] { ReadBytesAsOpt(open, dir, bytes); }), TruncatedText(path, b.DataPos(glow)));
    const TOMesh& m = open.Model.Meshes.Get(0);
    EXPECT_EQ(m.Vertices.Count(), 1);
    ASSERT_EQ(m.Glows.Count(), 1);
    EXPECT_EQ(m.Glows.Get(0).FilePos, b.DataPos(glow));
}

// One node's stored offset points somewhere else: the error names the
// converted position of the first read that would leave the file.
struct BadOffset {
    const char* What;  // the test's name suffix
    int32_t Position;  // converted position to store
};

void PrintTo(const BadOffset& p, std::ostream* out)
{
    *out << p.What << " (" << p.Position << ")";
}

class ReaderBadOffsets : public testing::TestWithParam<BadOffset> {};

TEST_P(ReaderBadOffsets, DataOrTableOutsideTheFileIsReported)
{
    TOpenModel open;
    const int32_t g = 1000;
    const int32_t pos = GetParam().Position;
    const int32_t stored = static_cast<int32_t>(static_cast<uint32_t>(pos) + uint32_t(g) - 8u);
    TempDir dir;
    const std::string path = dir.File("m.opt");
    const auto run = [&](auto patch, int64_t reportedOffset) {
        SampleModel s;
        patch(s);
        EXPECT_EQ(DamagedMessage([&] { ReadBytesAsOpt(open, dir, s.B.Build(g)); }),
                  TruncatedText(path, reportedOffset))
            << GetParam().What;
    };
    run([&](SampleModel& s) { s.B.SetStoredDataOffset(s.Verts, stored); }, pos);
    run([&](SampleModel& s) { s.B.SetStoredDataOffset(s.GroupGlow, stored); }, pos);
    run([&](SampleModel& s) { s.B.SetStoredDataOffset(s.Faces1, stored); }, int64_t(pos) + 4);
    run([&](SampleModel& s) { s.B.SetStoredDataOffset(s.Lod, stored); }, pos);
    run([&](SampleModel& s) { s.B.SetStoredChildTableOffset(s.Mesh, stored); }, pos);
    run([&](SampleModel& s) { s.B.SetStoredChildTableOffset(s.Group, stored); }, pos);
    run([&](SampleModel& s) { s.B.SetStoredChildTableOffset(s.Lod, stored); }, pos);
}

INSTANTIATE_TEST_SUITE_P(Positions, ReaderBadOffsets,
                         testing::Values(BadOffset{"JustBeforeTheFile", -5}, BadOffset{"FarBefore", INT32_MIN},
                                         BadOffset{"FarPastTheEnd", INT32_MAX}, BadOffset{"PastTheEnd", 100000}),
                         [](const testing::TestParamInfo<BadOffset>& info) { return std::string(info.param.What); });

TEST(ReaderDamaged, TopLevelTableOrNodeOutsideTheFileIsReported)
{
    TOpenModel open;
    OptBuilder b;
    b.AddTopLevel(b.Mesh());
    std::vector<uint8_t> bytes = b.Build(8);
    TempDir dir;
    const std::string path = dir.File("m.opt");
    PutInt32LE(&bytes[22], static_cast<int32_t>(bytes.size()) - 4);  // the mesh's node header is cut
    EXPECT_EQ(DamagedMessage([&] { ReadBytesAsOpt(open, dir, bytes); }),
              TruncatedText(path, int64_t(bytes.size()) - 4));
    EXPECT_EQ(open.Model.Meshes.Count(), 0);
    PutInt32LE(&bytes[18], -40);  // the top-level table
    EXPECT_EQ(DamagedMessage([&] { ReadBytesAsOpt(open, dir, bytes); }), TruncatedText(path, -40));
}

TEST(ReaderDamaged, HugeCountsAreCheckedBeforeAnythingIsAppended)
{
    TOpenModel open;
    TempDir dir;
    const std::string path = dir.File("m.opt");
    {
        SampleModel s;
        s.B.SetDataCount(s.Verts, INT32_MAX);
        const std::vector<uint8_t> bytes = s.B.Build(12);
        EXPECT_EQ(DamagedMessage([&] { ReadBytesAsOpt(open, dir, bytes); }),
                  TruncatedText(path, s.B.DataPos(s.Verts)));
        EXPECT_EQ(open.Model.Meshes.Get(0).Vertices.Count(), 0);
    }
    {
        SampleModel s;
        s.B.SetDataCount(s.Faces0, INT32_MAX);
        const std::vector<uint8_t> bytes = s.B.Build(12);
        EXPECT_EQ(DamagedMessage([&] { ReadBytesAsOpt(open, dir, bytes); }),
                  TruncatedText(path, s.B.DataPos(s.Faces0) + 4));
        const TOMesh& m = open.Model.Meshes.Get(0);
        EXPECT_EQ(m.Vertices.Count(), 4);  // read before the faces
        EXPECT_EQ(m.Faces[0].Count(), 0);
    }
    {
        // The LOD count is kept as announced before its distances are read.
        SampleModel s;
        s.B.SetChildCount(s.Lod, INT32_MAX);
        EXPECT_NE(DamagedMessage([&] { ReadBytesAsOpt(open, dir, s.B.Build(12)); }), "no error");
        EXPECT_EQ(open.Model.Meshes.Get(0).LodCount, INT32_MAX);
    }
    // Child counts are capped by the tables; whatever follows a table is read
    // as entries and must not crash the reader.
    for (int which = 0; which < 3; ++which) {
        SampleModel s;
        s.B.SetChildCount(which == 0 ? s.Mesh : which == 1 ? s.Group : s.Faces0 - 1, INT32_MAX);
        const std::string msg = DamagedMessage([&] { ReadBytesAsOpt(open, dir, s.B.Build(12)); });
        EXPECT_TRUE(msg == "no error" || msg.rfind("File " + path + " is damaged", 0) == 0) << msg;
    }
}

TEST(ReaderDamaged, CountsOfZeroOrLessReadNothingNotEvenTheirTable)
{
    TOpenModel open;
    for (int32_t count : {0, -1, INT32_MIN}) {
        SampleModel s;
        s.B.SetDataCount(s.Verts, count);
        s.B.SetStoredDataOffset(s.Verts, INT32_MIN);
        s.B.SetChildCount(s.Group, count);
        s.B.SetStoredChildTableOffset(s.Group, -5);
        s.B.SetDataCount(s.Faces1, count);
        s.B.SetStoredDataOffset(s.Faces1, INT32_MAX);
        TempDir dir;
        ReadBytesAsOpt(open, dir, s.B.Build(8));
        const TOMesh& m = open.Model.Meshes.Get(0);
        EXPECT_EQ(m.Vertices.Count(), 0);
        EXPECT_EQ(m.Glows.Count(), 1);
        EXPECT_EQ(m.Faces[0].Count(), 2);
        EXPECT_EQ(m.Faces[1].Count(), 0);
        // The group's vertices still come after a count of zero or less.
        SampleModel t;
        t.B.SetDataCount(t.Verts, count);
        ReadBytesAsOpt(open, dir, t.B.Build(8));
        EXPECT_EQ(open.Model.Meshes.Get(0).Vertices.Count(), 1);
    }
}

TEST(ReaderBounds, NodesReferredToOverAndOverStopAtTheNodeBound)
{
    TOpenModel open;
    // About 1,300 bytes whose tables all point at the same nodes: followed
    // to the end, the walk would look at 70 * 50 * 50 * 4 * 100 face nodes.
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId group = b.GroupNode();
    const NodeId lod = b.LodNode({1, 2, 3, 4});
    const NodeId lodChild = b.GroupNode();
    const NodeId faces = b.Faces({});
    for (int i = 0; i < 100; ++i)
        b.AddChild(lodChild, faces);
    for (int i = 0; i < 4; ++i)
        b.AddChild(lod, lodChild);
    for (int i = 0; i < 50; ++i) {
        b.AddChild(group, lod);
        b.AddChild(mesh, group);
    }
    for (int i = 0; i < 70; ++i)
        b.AddTopLevel(mesh);
    TempDir dir;
    const std::string path = dir.File("m.opt");
    EXPECT_EQ(MessageOf<EOptTooLarge>([&] { ReadBytesAsOpt(open, dir, b.Build()); }),
              "File " + path + " cannot be opened: its node tables lead to more than 2000000 nodes");
}

TEST(ReaderBounds, ANodeListedNineTimesIsReadUpToTheMemoryBound)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId verts = b.Vertices(std::vector<TVertex>(1000, TVertex{1, 2, 3}));
    for (int i = 0; i < 9; ++i)
        b.AddChild(mesh, verts);
    b.AddTopLevel(mesh);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build());
    EXPECT_EQ(open.Model.Meshes.Get(0).Vertices.Count(), 9000);

    // The same walk against a bound of exactly and just under the memory of
    // its vertices.
    const int64_t held = 9000 * int64_t(sizeof(TVertex));
    open.Reader.MaxModelBytes = held;
    ReadBytesAsOpt(open, dir, b.Build());
    open.Reader.MaxModelBytes = held - 1;
    EXPECT_EQ(MessageOf<EOptTooLarge>([&] { ReadBytesAsOpt(open, dir, b.Build()); }),
              "File " + dir.File("m.opt") + " cannot be opened: its model would take more than " +
                  std::to_string(held - 1) + " bytes of memory");
}

TEST(ReaderDamaged, ANodeMetTwiceIsStillRead)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId verts = b.Vertices({{1, 2, 3}});
    b.AddChild(mesh, verts);
    b.AddChild(mesh, verts);
    b.AddTopLevel(mesh);
    b.AddTopLevel(mesh);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build());
    ASSERT_EQ(open.Model.Meshes.Count(), 2);
    EXPECT_EQ(open.Model.Meshes.Get(1).Vertices.Count(), 2);
}

// Empty entries of the group, LOD and face-node tables are skipped, whether
// their stored value is 0 or their converted value is 0; the two differ
// unless G = 8, and with G = 1000 either one followed would fail the read.

#ifndef _WIN32
// Another program rewrites the model (cut to nothing, then written anew, as cp
// does) over and over while it is read: no read may end the process (a mapped
// file that is cut short would) or return a model made of two versions.
// Each read gives one whole version, or says that the file changed, or finds
// the file cut short. The writer pauses between versions for longer than a
// coarse file-system clock tick, so that every version gets a time of its own.
TEST(ReaderChangingFile, AFileRewrittenWhileItIsReadIsNeverTakenHalf)
{
    TOpenModel open;
    std::vector<std::vector<uint8_t>> versions;
    for (uint32_t core : {0xFF000001u, 0xFF000002u}) {
        OptBuilder b;
        for (int m = 0; m < 8; ++m) {
            const NodeId mesh = b.Mesh();
            b.AddChild(mesh, b.Vertices(std::vector<TVertex>(48000, TVertex{float(core & 3), 0, 0})));
            GlowRecord glow;
            glow.CoreColor = core;
            b.AddChild(mesh, b.Glow(glow));
            b.AddTopLevel(mesh);
        }
        versions.push_back(b.Build());
    }
    TempDir dir;
    const std::string path = dir.File("changing.opt");
    WriteFileBytes(path, versions[0]);
    // Stopped and joined however the test ends.
    struct TRewriter {
        std::atomic<bool> Done{false};
        std::thread Writer;
        ~TRewriter()
        {
            Done = true;
            Writer.join();
        }
    } rewriter;
    rewriter.Writer = std::thread([&] {
        for (size_t k = 1; !rewriter.Done; ++k) {
            std::ofstream(path, std::ios::binary | std::ios::trunc)
                .write(reinterpret_cast<const char*>(versions[k % 2].data()), std::streamsize(versions[k % 2].size()));
            std::this_thread::sleep_for(std::chrono::milliseconds(12));
        }
    });
    for (int i = 0; i < 300; ++i) {
        try {
            open.Reader.ReadOpt(path, open.Model);
            ASSERT_EQ(open.Model.Meshes.Count(), 8);
            const uint32_t core = open.Model.Meshes.Get(0).Glows.Get(0).CoreColor;
            for (const TOMesh& mesh : open.Model.Meshes) {
                ASSERT_EQ(mesh.Glows.Get(0).CoreColor, core);
                ASSERT_EQ(mesh.Vertices.Get(47999).X, float(core & 3));
            }
        } catch (const EFileChanged& e) {
            EXPECT_EQ(std::string(e.what()), "File " + path + " changed while it was being read; open it again");
        } catch (const EOptDamaged&) {
            // Read between the cut and the new bytes: a short file, whole.
        }
    }
}
#endif

TEST(ReaderEmptyEntries, StoredZeroIsSkippedInGroupLodAndFaceNodeTables)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId group = b.GroupNode();
    b.AddEmptyChild(group);
    b.AddChild(group, b.Vertices({{5, 5, 5}}));
    const NodeId lod = b.LodNode({1, 2});
    const NodeId lod1 = b.GroupNode();
    b.AddEmptyChild(lod1);
    b.AddChild(lod1, b.Faces({Tri(0, 1, 2)}));
    b.AddEmptyChild(lod);
    b.AddChild(lod, lod1);
    b.AddChild(group, lod);
    b.AddChild(mesh, group);
    b.AddTopLevel(mesh);
    TempDir dir;
    ReadBytesAsOpt(open, dir, b.Build(1000));
    const TOMesh& m = open.Model.Meshes.Get(0);
    EXPECT_EQ(m.Vertices.Count(), 1);
    EXPECT_EQ(m.LodCount, 2);
    EXPECT_EQ(m.Faces[0].Count(), 0);
    EXPECT_EQ(m.Faces[1].Count(), 1);  // the empty LOD 0 keeps its place
}

TEST(ReaderEmptyEntries, ConvertedZeroIsSkippedInGroupLodAndFaceNodeTables)
{
    TOpenModel open;
    const int32_t g = 1000;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    const NodeId group = b.GroupNode();
    const NodeId lod = b.LodNode({1, 2});
    const NodeId lod1 = b.GroupNode();
    const NodeId faces = b.Faces({Tri(0, 1, 2)});
    b.AddChild(group, mesh);  // placeholders, patched to position 0 below
    b.AddChild(lod1, mesh);
    b.AddChild(lod, mesh);
    b.AddChild(group, b.Vertices({{5, 5, 5}}));
    b.AddChild(lod1, faces);
    b.AddChild(lod, lod1);
    b.AddChild(group, lod);
    b.AddChild(mesh, group);
    b.AddTopLevel(mesh);
    std::vector<uint8_t> bytes = b.Build(g);
    for (NodeId parent : {group, lod1, lod})
        PutInt32LE(&bytes[static_cast<size_t>(ChildEntryPos(b, parent, 0))], g - 8);
    TempDir dir;
    for (int32_t headerType : {28, 1, 3}) {
        // Bytes 4..7 are never read as header; at position 0 they would be a
        // node type the walk acts on.
        PutInt32LE(&bytes[4], headerType);
        ReadBytesAsOpt(open, dir, bytes);
        const TOMesh& m = open.Model.Meshes.Get(0);
        EXPECT_EQ(m.Vertices.Count(), 1);
        EXPECT_EQ(m.Glows.Count(), 0);
        EXPECT_EQ(m.Faces[0].Count(), 0);
        EXPECT_EQ(m.Faces[1].Count(), 1);
    }
}

TEST(ReaderEmptyEntries, TopLevelAndMeshChildEntriesAreNeverSkipped)
{
    TOpenModel open;
    OptBuilder b;
    const NodeId mesh = b.Mesh();
    b.AddEmptyChild(mesh);  // stored 0 converts to -992: outside the file
    b.AddTopLevel(mesh);
    TempDir dir;
    EXPECT_EQ(DamagedMessage([&] { ReadBytesAsOpt(open, dir, b.Build(1000)); }),
              TruncatedText(dir.File("m.opt"), -992));
    EXPECT_EQ(open.Model.Meshes.Count(), 1);

    // With G = 8 a stored 0 is position 0, and a mesh child there is peeked:
    // bytes 4..7 of the file say "vertex node" here.
    std::vector<uint8_t> bytes = b.Build(8);
    PutInt32LE(&bytes[4], 3);
    EXPECT_NE(DamagedMessage([&] { ReadBytesAsOpt(open, dir, bytes); }), "no error");
}

}  // namespace
