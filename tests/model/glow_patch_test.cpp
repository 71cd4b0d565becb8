// Glows patched several at once, all or nothing: a failure part-way, one that
// cannot be taken back, and the record that the next open finds.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "error_text.h"
#include "errors.h"
#include "file_size_limit.h"
#include "glow_patch.h"
#include "opt_builder.h"
#include "temp_dir.h"
#include "working_copy.h"
#include "write_faults.h"

namespace {

using optbuild::OptBuilder;
using optbuild::WriteFileBytes;

// A model whose two glows lie far apart, a vertex node between them, and a
// write that gives both another core colour.
struct FarGlows {
    std::vector<uint8_t> Bytes;
    int32_t First = 0, Second = 0;

    FarGlows()
    {
        OptBuilder b;
        const auto mesh = b.Mesh();
        optbuild::GlowRecord glow;
        glow.CoreColor = 0xFF000001;
        const auto first = b.Glow(glow);
        const auto vertices = b.Vertices(std::vector<TVertex>(400, TVertex{1, 2, 3}));
        const auto second = b.Glow(glow);
        for (const auto child : {first, vertices, second})
            b.AddChild(mesh, child);
        b.AddTopLevel(mesh);
        Bytes = b.Build();
        First = b.DataPos(first);
        Second = b.DataPos(second);
    }

    std::vector<TGlowPatch> NewCores() const
    {
        TGlowPatch first{First, {}}, second{Second, {}};
        std::copy_n(Bytes.begin() + First + 4, 68, first.Bytes.begin());
        std::copy_n(Bytes.begin() + Second + 4, 68, second.Bytes.begin());
        first.Bytes[0] = second.Bytes[0] = 0x77;
        return {first, second};
    }

    // The file with the first glow's patch alone, as a crash could leave it.
    std::vector<uint8_t> FirstPatched() const
    {
        std::vector<uint8_t> bytes = Bytes;
        bytes[size_t(First) + 4] = 0x77;
        return bytes;
    }
};

class GlowPatchTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFileBytes(Path, F.Bytes); }

    std::ptrdiff_t FilesInFolder() const
    {
        return std::distance(std::filesystem::directory_iterator(Dir.Path()), {});
    }

#ifdef NEG_HAVE_WRITE_FAULTS
    // Writes both patches with every flush of the file failing: neither the
    // write nor its taking back can be made sure of. Returns the message.
    std::string WriteWithFailingFlush() const
    {
        const std::string message = Dir.File("message.txt");
        const int result = WithFailingFlushOfFirstFile([&] {
            try {
                WriteGlowPatches(Path, F.NewCores());
                return 0;
            } catch (const EInOutError& e) {
                std::ofstream(message) << e.what();
                return 1;
            }
        });
        EXPECT_EQ(result, 1);
        const std::vector<uint8_t> text = ReadBytes(message);
        std::filesystem::remove(message);
        return {text.begin(), text.end()};
    }
#endif

    TempDir Dir;
    FarGlows F;
    std::string Path = Dir.File("ship.opt");
    std::string Record = Dir.File(".ship.opt.neg-record");
};

#ifdef NEG_HAVE_FILE_SIZE_LIMIT
// The second glow's write fails (a disk full past the first glow): the first
// glow goes back at once, the record is removed, and the failure is the
// write's own.
TEST_F(GlowPatchTest, AWriteThatFailsPartWayPutsBackWhatItWrote)
{
    ASSERT_LT(F.First + 72 + 4000, F.Second);
    {
        FileSizeLimit limit(rlim_t(F.Second) + 10);  // the second block's first 6 bytes fit
        EXPECT_EQ(MessageOf<EInOutError>([&] { WriteGlowPatches(Path, F.NewCores()); }), "Cannot write file " + Path);
    }
    EXPECT_EQ(ReadBytes(Path), F.Bytes);
    EXPECT_EQ(FilesInFolder(), 1);
}
#endif

#ifdef NEG_HAVE_WRITE_FAULTS
// Where the old bytes cannot be made sure of either, the record stays, the
// message says what the file may hold, and the next open puts back the old
// bytes, byte for byte, and removes the record.
TEST_F(GlowPatchTest, AWriteThatCannotBeTakenBackLeavesItsRecordForTheNextOpen)
{
    EXPECT_EQ(WriteWithFailingFlush(),
              "Cannot write file " + Path + ", nor put back what this write changed: up to 2 of its 2 glows may "
              "hold new bytes until the file is opened again, which puts back the old ones kept in " + Record);
    ASSERT_TRUE(std::filesystem::exists(Record));
    WriteFileBytes(Path, F.FirstPatched());
    const TTakeBack back = TakeBackUnfinishedWrite(Path, TLinks::Refuse);
    EXPECT_EQ(back.Kind, TTakeBack::TakenBack);
    EXPECT_EQ(back.Text, "An unfinished write of 2 glows into " + Path + " was taken back: the file is as it was before it");
    EXPECT_EQ(ReadBytes(Path), F.Bytes);
    EXPECT_EQ(FilesInFolder(), 1);
    EXPECT_EQ(TakeBackUnfinishedWrite(Path, TLinks::Refuse).Kind, TTakeBack::NoRecord);
}

// A record that the file no longer matches (a glow written since by someone
// who did not know of it), or that is damaged: the open says so and leaves
// both alone, and a write of several glows meanwhile writes nothing.
TEST_F(GlowPatchTest, ARecordTheFileNoLongerMatchesIsLeftAlone)
{
    WriteWithFailingFlush();
    std::vector<uint8_t> other = F.Bytes;
    other[size_t(F.Second) + 4] = 0x55;  // neither the old byte nor the new
    WriteFileBytes(Path, other);
    const std::vector<uint8_t> record = ReadBytes(Record);
    TTakeBack back = TakeBackUnfinishedWrite(Path, TLinks::Refuse);
    EXPECT_EQ(back.Kind, TTakeBack::LeftAlone);
    EXPECT_EQ(back.Text, Path + " no longer matches the unfinished write recorded in " + Record +
                             "; both were left as they are");
    EXPECT_EQ(MessageOf<EUnfinishedWrite>([&] { WriteGlowPatches(Path, F.NewCores()); }),
              "The file " + Path + " has an unfinished write recorded in " + Record +
                  "; nothing was written. Open it again to take that write back");
    EXPECT_EQ(ReadBytes(Path), other);
    EXPECT_EQ(ReadBytes(Record), record);

    std::vector<uint8_t> damaged = record;
    damaged[40] ^= 1;
    WriteFileBytes(Record, damaged);
    WriteFileBytes(Path, F.FirstPatched());
    back = TakeBackUnfinishedWrite(Path, TLinks::Refuse);
    EXPECT_EQ(back.Kind, TTakeBack::LeftAlone);
    EXPECT_EQ(back.Text, "The record of an unfinished write " + Record + " cannot be read; it and " + Path +
                             " were left as they are");
    EXPECT_EQ(ReadBytes(Path), F.FirstPatched());
}
#endif

}  // namespace
