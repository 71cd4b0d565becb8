#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>

#include "error_text.h"
#include "errors.h"
#include "file_bytes.h"
#include "file_size_limit.h"
#include "glow_write.h"
#include "model.h"
#include "open_model.h"
#include "opt_builder.h"
#include "opt_file_io.h"
#include "temp_dir.h"
#include "working_copy.h"

namespace {

using optbuild::GlowRecord;
using optbuild::OptBuilder;
using optbuild::WriteFileBytes;

TEST(FileNamePart, TakesWhatFollowsTheLastSeparator)
{
    EXPECT_EQ(FileNamePart("/home/modder/ships/cruiser.opt"), "cruiser.opt");
    EXPECT_EQ(FileNamePart("cruiser.opt"), "cruiser.opt");
    EXPECT_EQ(FileNamePart("ships/"), "");
    EXPECT_EQ(FileNamePart(""), "");
#ifdef _WIN32
    EXPECT_EQ(FileNamePart("C:\\ships\\cruiser.opt"), "cruiser.opt");
    EXPECT_EQ(FileNamePart("C:cruiser.opt"), "cruiser.opt");
    EXPECT_EQ(FileNamePart("C:\\ships/sub\\cruiser.op1"), "cruiser.op1");
#else
    // Backslash and colon are ordinary characters of a POSIX name.
    EXPECT_EQ(FileNamePart("C:\\ships\\cruiser.opt"), "C:\\ships\\cruiser.opt");
    EXPECT_EQ(FileNamePart("/mnt/a:b\\c.opt"), "a:b\\c.opt");
#endif
}

// A model file with two glows on disk, and the glows as they were written.
struct GlowFile {
    std::vector<uint8_t> Bytes;
    GlowRecord First, Second;
    int32_t FirstPos = 0, SecondPos = 0;

    GlowFile()
    {
        First.Unused = 0x5A5A5A5A;
        First.CoreColor = 0xFF102030;
        First.OuterColor = 0x80405060;
        First.MainVec = {0, 0, 1};
        First.Center = {1.5f, -2.5f, 3.25f};
        First.Density0 = {0.1f, 0.2f, 0.3f};
        First.Density1 = {0.4f, 0.5f, 0.6f};
        First.Density2 = {0.7f, 0.8f, 0.9f};
        Second = First;
        Second.Center = {-9, -9, -9};
        OptBuilder b;
        const auto mesh = b.Mesh();
        const auto g1 = b.Glow(First);
        const auto g2 = b.Glow(Second);
        b.AddChild(mesh, g1);
        b.AddChild(mesh, g2);
        b.AddTopLevel(mesh);
        Bytes = b.Build(208);
        FirstPos = b.DataPos(g1);
        SecondPos = b.DataPos(g2);
    }

    static TEngineGlow ToGlow(const GlowRecord& r, int32_t pos) { return r.ToGlow(pos); }

    // The file once the first glow's core colour is written as `core`.
    std::vector<uint8_t> WithFirstCore(uint32_t core) const
    {
        std::vector<uint8_t> bytes = Bytes;
        for (size_t i = 0; i < 4; ++i)
            bytes[size_t(FirstPos) + 4 + i] = uint8_t(core >> (8 * i));
        return bytes;
    }
};

// Asserts that after and before differ at most inside [from, to).
void ExpectOnlyRangeChanged(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, size_t from, size_t to)
{
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        if (i < from || i >= to) {
            ASSERT_EQ(before[i], after[i]) << "byte " << i << " outside the block changed";
        }
    }
}

TEST(WriteGlow, WritesTheSixtyEightBytesInFileOrderAndNothingElse)
{
    TempDir dir;
    GlowFile f;
    const std::string path = dir.File("ship.opt");
    WriteFileBytes(path, f.Bytes);

    TEngineGlow glow;
    glow.FilePos = f.FirstPos;
    glow.CoreColor = 0x11223344;
    glow.OuterColor = 0xAABBCCDD;
    glow.MainVec = {1.0f, -2.0f, 0.5f};
    glow.Center = {2.0f, 0.0f, -0.5f};
    glow.Density0 = {0.25f, 1.0f, 0.0f};
    glow.Density1 = {0.5f, 0.5f, 0.5f};
    glow.Density2 = {1.0f, 0.25f, 0.75f};
    WriteGlow(path, glow);

    const std::vector<uint8_t> after = ReadBytes(path);
    const size_t p = static_cast<size_t>(f.FirstPos);
    ExpectOnlyRangeChanged(f.Bytes, after, p + 4, p + 72);
    const std::vector<uint8_t> expected = {
        0x44, 0x33, 0x22, 0x11, 0xDD, 0xCC, 0xBB, 0xAA,  // core, outer
        0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x3F,  // main vector
        0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xBF,  // centre
        0x00, 0x00, 0x80, 0x3E, 0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x00,  // density 0
        0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00, 0x3F,  // density 1
        0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x80, 0x3E, 0x00, 0x00, 0x40, 0x3F,  // density 2
    };
    EXPECT_EQ(std::vector<uint8_t>(after.begin() + p + 4, after.begin() + p + 72), expected);
    // The leading 4 bytes of the block stay as they were.
    EXPECT_EQ(after[p], 0x5A);
}

TEST(WriteGlow, ACoreColourChangeRewritesTheWholeBlockFromMemory)
{
    TempDir dir;
    GlowFile f;
    const std::string path = dir.File("ship.opt");
    WriteFileBytes(path, f.Bytes);
    TEngineGlow glow = GlowFile::ToGlow(f.Second, f.SecondPos);
    glow.CoreColor = 0x01020304;
    WriteGlow(path, glow);
    const size_t p = static_cast<size_t>(f.SecondPos);
    std::vector<uint8_t> expected = f.Bytes;
    expected[p + 4] = 0x04;
    expected[p + 5] = 0x03;
    expected[p + 6] = 0x02;
    expected[p + 7] = 0x01;
    EXPECT_EQ(ReadBytes(path), expected);

    // Bytes of the block that differ from memory are all replaced, not only
    // the changed field.
    std::vector<uint8_t> scrambled = expected;
    for (size_t i = p + 8; i < p + 72; ++i)
        scrambled[i] ^= 0xFF;
    WriteFileBytes(path, scrambled);
    WriteGlow(path, glow);
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST(WriteGlow, ABlockOutsideTheFileRaisesAndWritesNothing)
{
    TempDir dir;
    GlowFile f;
    const std::string path = dir.File("ship.opt");
    WriteFileBytes(path, f.Bytes);
    const int32_t size = static_cast<int32_t>(f.Bytes.size());
    TEngineGlow glow = GlowFile::ToGlow(f.First, 0);
    glow.CoreColor = 0xDEADBEEF;
    for (int32_t pos : {size - 71, size - 4, size, size + 100, -1, -4, INT32_MIN, INT32_MAX}) {
        glow.FilePos = pos;
        EXPECT_EQ(MessageOf<EInOutError>([&] { WriteGlow(path, glow); }), "Cannot write file " + path) << pos;
        ASSERT_EQ(ReadBytes(path), f.Bytes) << pos;
    }
    // The last block that still fits ends exactly at the end of the file.
    glow.FilePos = size - 72;
    WriteGlow(path, glow);
    const std::vector<uint8_t> after = ReadBytes(path);
    ExpectOnlyRangeChanged(f.Bytes, after, f.Bytes.size() - 68, f.Bytes.size());
    EXPECT_EQ(after[f.Bytes.size() - 68], 0xEF);
}

TEST(WriteGlow, AMissingFileIsNotCreated)
{
    TempDir dir;
    const std::string path = dir.File("gone.opt");
    EXPECT_EQ(MessageOf<EFOpenError>([&] { WriteGlow(path, TEngineGlow{}); }), "Cannot open file " + path);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(WriteGlow, ABlockPastTheTwoGigabyteMarkLandsInPlace)
{
    // The write-back starts past 2^31 bytes, beyond a 32-bit seek (long on
    // Windows). The file is sparse: it costs no disk space.
    TempDir dir;
    const std::string path = dir.File("big.opt");
    WriteFileBytes(path, {});
    TEngineGlow glow;
    glow.FilePos = INT32_MAX;
    glow.CoreColor = 0x11223344;
    const auto size = static_cast<std::uintmax_t>(glow.FilePos) + 72;
    std::filesystem::resize_file(path, size);
    WriteGlow(path, glow);
    EXPECT_EQ(std::filesystem::file_size(path), size);
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(glow.FilePos));
    uint8_t bytes[8] = {};
    in.read(reinterpret_cast<char*>(bytes), 8);
    ASSERT_TRUE(in);
    const uint8_t expected[8] = {0, 0, 0, 0, 0x44, 0x33, 0x22, 0x11};
    EXPECT_TRUE(std::equal(bytes, bytes + 8, expected));
}

#ifdef NEG_HAVE_FILE_SIZE_LIMIT
TEST(WriteGlow, AFailedOrShortWriteRaisesAndKeepsTheSize)
{
    TempDir dir;
    GlowFile f;
    const std::string path = dir.File("ship.opt");
    WriteFileBytes(path, f.Bytes);
    TEngineGlow glow = GlowFile::ToGlow(f.Second, f.SecondPos);
    glow.CoreColor = ~glow.CoreColor;  // bytes the file holds already would not be written
    const auto p = static_cast<rlim_t>(f.SecondPos);
    {
        FileSizeLimit limit(p + 4);  // not one byte of the block can be written
        EXPECT_EQ(MessageOf<EInOutError>([&] { WriteGlow(path, glow); }), "Cannot write file " + path);
    }
    EXPECT_EQ(ReadBytes(path), f.Bytes);
    {
        FileSizeLimit limit(p + 4 + 10);  // the write stops after 10 bytes
        EXPECT_EQ(MessageOf<EInOutError>([&] { WriteGlow(path, glow); }), "Cannot write file " + path);
    }
    EXPECT_EQ(ReadBytes(path).size(), f.Bytes.size());
}
#endif

TEST(WriteGlow, AGlowsBytesGoToTheWorkingCopyThenToMemoryAndABadIndexWritesNothing)
{
    TempDir dir;
    GlowFile f;
    TOpenModel open;
    open.ProjectDir = dir.Path();
    open.OptFileName = "ship.opt";
    WriteFileBytes(dir.File("ship.opt"), f.Bytes);
    ReadWorkingCopy(open);
    TEngineGlow glow = GlowFile::ToGlow(f.First, f.FirstPos);
    glow.OuterColor = 0x0A0B0C0D;
    // A bad index among the glows: not even the good one is written.
    const std::vector<TGlowPut> withBad = {{{0, 0}, EncodeGlowWriteBack(glow)}, {{0, 2}, {}}};
    EXPECT_THROW(PutGlowBytes(open, withBad), EListError);
    EXPECT_EQ(ReadBytes(dir.File("ship.opt")), f.Bytes);
    EXPECT_EQ(open.Model.Meshes.Get(0).Glows.Get(0).OuterColor, f.First.OuterColor);

    const std::vector<TGlowBytes> held = PutGlowBytes(open, std::span(withBad).first(1));
    const std::vector<uint8_t> after = ReadBytes(dir.File("ship.opt"));
    ExpectOnlyRangeChanged(f.Bytes, after, static_cast<size_t>(f.FirstPos) + 8, static_cast<size_t>(f.FirstPos) + 12);
    EXPECT_EQ(after[static_cast<size_t>(f.FirstPos) + 8], 0x0D);
    // What the file held before, and the glow in memory as the file now holds it.
    ASSERT_EQ(held.size(), 1u);
    EXPECT_TRUE(std::equal(held[0].begin(), held[0].end(), f.Bytes.begin() + f.FirstPos + GlowWriteBackOffset));
    EXPECT_EQ(open.Model.Meshes.Get(0).Glows.Get(0).OuterColor, 0x0A0B0C0Du);
}

// A glow node listed three times gives three glows at one block, and a
// damaged table can point a fourth glow into the middle of it: a write to one
// reaches them all, in memory as in the file, so an edit of another built
// from its values in memory (a paste) keeps what the first one wrote.
TEST(WriteGlow, GlowsThatShareBytesOfTheFileShareThemInMemory)
{
    GlowFile f;
    OptBuilder b;
    const auto mesh = b.Mesh();
    const auto shared = b.Glow(f.First);
    const auto inside = b.Glow(f.Second);
    for (int i = 0; i < 3; ++i)
        b.AddChild(mesh, shared);
    b.AddChild(mesh, inside);
    b.AddTopLevel(mesh);
    b.Build(8);
    const int32_t pos = b.DataPos(shared);
    b.SetStoredDataOffset(inside, pos + 24);  // with base 8, the stored offset is the position
    TempDir dir;
    WriteFileBytes(dir.File("ship.opt"), b.Build(8));
    ASSERT_EQ(b.DataPos(shared), pos);
    TOpenModel open;
    open.ProjectDir = dir.Path();
    open.OptFileName = "ship.opt";
    ReadWorkingCopy(open);
    ASSERT_EQ(open.Model.Meshes.Get(0).Glows.Count(), 4);
    ASSERT_EQ(open.GlowAt({0, 2}).FilePos, pos);
    ASSERT_EQ(open.GlowAt({0, 3}).FilePos, pos + 24);
    const auto expectMemoryHoldsTheFile = [&] {
        const std::vector<uint8_t> file = ReadBytes(dir.File("ship.opt"));
        for (int32_t g = 0; g < 4; ++g) {
            const TGlowBytes held = EncodeGlowWriteBack(open.GlowAt({0, g}));
            const auto at = file.begin() + open.GlowAt({0, g}).FilePos + GlowWriteBackOffset;
            EXPECT_TRUE(std::equal(held.begin(), held.end(), at)) << "glow " << g;
        }
    };

    TEngineGlow nudged = open.GlowAt({0, 1});
    nudged.Center = {7, 8, 9};
    const TGlowPut nudge{{0, 1}, EncodeGlowWriteBack(nudged)};
    PutGlowBytes(open, {&nudge, 1});
    expectMemoryHoldsTheFile();
    TEngineGlow pasted = open.GlowAt({0, 2});
    pasted.CoreColor = 0x11223344;
    const TGlowPut paste{{0, 2}, EncodeGlowWriteBack(pasted)};
    PutGlowBytes(open, {&paste, 1});
    expectMemoryHoldsTheFile();
    EXPECT_EQ(open.GlowAt({0, 0}).Center.Z, 9.0f);
    EXPECT_EQ(open.GlowAt({0, 0}).CoreColor, 0x11223344u);
}

// The working copy's write of glow's values at its FilePos; the bytes the
// file held there.
TGlowBytes WriteWorkingCopyGlow(TOpenModel& open, const TEngineGlow& glow)
{
    const TGlowPatch patch{glow.FilePos, EncodeGlowWriteBack(glow)};
    return PatchWorkingCopyGlows(open, {&patch, 1}).at(0);
}

// A write of no glow: the working copy's check alone.
void CheckWorkingCopy(TOpenModel& open)
{
    PatchWorkingCopyGlows(open, {});
}

// Another program writes the file a second after this one did: its own
// write already changed the identity, the second only makes sure that a file
// system with coarse timestamps tells the two apart.
void WriteBySomeoneElse(const std::string& path, const TEngineGlow& glow)
{
    WriteGlow(path, glow);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(1));
}

// A working copy of GlowFile's bytes, ship.opt in a folder of its own, not
// read yet (a test may change its times first).
class WorkingCopyWrites : public ::testing::Test {
protected:
    void SetUp() override
    {
        Open.ProjectDir = Dir.Path();
        Open.OptFileName = "ship.opt";
        WriteFileBytes(Path, F.Bytes);
    }

    TempDir Dir;
    GlowFile F;
    TOpenModel Open;
    const std::string Path = Dir.File("ship.opt");
};

TEST_F(WorkingCopyWrites, NothingIsWrittenOverAWorkingCopyThatChangedOnDisk)
{
    ReadWorkingCopy(Open);
    TEngineGlow glow = Open.Model.Meshes.Get(0).Glows.Get(0);
    // The editor's own writes are the file it knows.
    glow.CoreColor = 1;
    WriteWorkingCopyGlow(Open, glow);
    glow.CoreColor = 2;
    WriteWorkingCopyGlow(Open, glow);
    CheckWorkingCopy(Open);

    TEngineGlow theirs = glow;
    theirs.Center = {7, 7, 7};
    WriteBySomeoneElse(Path, theirs);
    const std::vector<uint8_t> changed = ReadBytes(Path);
    const std::string message = "The working copy " + Path +
                                " changed on disk since it was opened; nothing was written. Open it again to edit it";
    glow.CoreColor = 3;
    EXPECT_EQ(MessageOf<EFileChanged>([&] { WriteWorkingCopyGlow(Open, glow); }), message);
    EXPECT_EQ(MessageOf<EFileChanged>([&] { CheckWorkingCopy(Open); }), message);
    EXPECT_EQ(ReadBytes(Path), changed);

    // Replaced by another file of the same size and time whose bytes differ
    // outside every glow: not written either.
    ReadWorkingCopy(Open);
    std::vector<uint8_t> otherModel = changed;
    otherModel[0] ^= 1;
    const std::string other = Dir.File("other.opt");
    WriteFileBytes(other, otherModel);
    std::filesystem::last_write_time(other, std::filesystem::last_write_time(Path));
    std::filesystem::rename(other, Path);
    EXPECT_EQ(MessageOf<EFileChanged>([&] { WriteWorkingCopyGlow(Open, glow); }), message);
    EXPECT_EQ(ReadBytes(Path), otherModel);
}

// A working copy whose identity changed while its bytes did not (a chmod to
// the same mode, a hard link, the same bytes put back in its place) is still
// the editor's file: the write goes on, and the next one needs no new look
// at its bytes.
TEST_F(WorkingCopyWrites, ACopyWhoseIdentityAloneChangedIsWritten)
{
    ReadWorkingCopy(Open);
    // Through the model, as the editor writes: the model holds what the file holds.
    const auto put = [&](uint32_t core) {
        TEngineGlow glow = Open.Model.Meshes.Get(0).Glows.Get(0);
        glow.CoreColor = core;
        const TGlowPut change{{0, 0}, EncodeGlowWriteBack(glow)};
        PutGlowBytes(Open, {&change, 1});
    };
    put(1);
    namespace fs = std::filesystem;
    const auto identity = [&] { return TOpenFile(Path, TOpenFile::Reading, TLinks::Follow).Identity(); };
    const std::function<void()> changes[] = {
        [&] { fs::permissions(Path, fs::status(Path).permissions()); },
        [&] { fs::create_hard_link(Path, Dir.File("link.opt")); },
        [&] {
            WriteFileBytes(Dir.File("same.opt"), ReadBytes(Path));
            fs::rename(Dir.File("same.opt"), Path);
        },
    };
    uint32_t core = 2;
    for (const auto& change : changes) {
        [[maybe_unused]] const TFileIdentity before = identity();
        change();
#ifndef _WIN32
        ASSERT_NE(identity(), before) << core;  // Windows may keep a file's change time on a chmod
#endif
        put(core);
        EXPECT_EQ(ReadBytes(Path), F.WithFirstCore(core++));
        EXPECT_EQ(Open.KnownCopy->Identity, identity());
    }
    // A glow whose bytes differ from the model's is a change like any other.
    std::vector<uint8_t> theirs = ReadBytes(Path);
    theirs[size_t(F.SecondPos) + 30] ^= 1;
    WriteFileBytes(Path, theirs);
    EXPECT_THROW(put(9), EFileChanged);
    EXPECT_EQ(ReadBytes(Path), theirs);
}

// Another program's write within the same second as the editor's own differs
// only below the second: refused all the same where the file system keeps
// finer times.
TEST_F(WorkingCopyWrites, AnOutsideWriteWithinTheSameSecondIsRefused)
{
    ReadWorkingCopy(Open);
    TEngineGlow glow = Open.Model.Meshes.Get(0).Glows.Get(0);
    glow.CoreColor = 1;
    WriteWorkingCopyGlow(Open, glow);
    const auto ours = std::filesystem::last_write_time(Path);

    TEngineGlow theirs = glow;
    theirs.Center = {7, 7, 7};
    WriteGlow(Path, theirs);
    using std::chrono::milliseconds;
    const auto inSecond = ours - std::chrono::floor<std::chrono::seconds>(ours);
    std::filesystem::last_write_time(Path, inSecond < milliseconds(500) ? ours + milliseconds(1) : ours - milliseconds(1));
    if (std::filesystem::last_write_time(Path) == ours)
        GTEST_SKIP() << "the file system keeps whole seconds only";
    const std::vector<uint8_t> changed = ReadBytes(Path);
    glow.CoreColor = 2;
    EXPECT_THROW(WriteWorkingCopyGlow(Open, glow), EFileChanged);
    EXPECT_EQ(ReadBytes(Path), changed);
}

// Another program's write whose time it set back to the editor's own (touch
// -r, cp -p of a file of the same size): the file's status changed all the
// same, and the write is refused.
TEST_F(WorkingCopyWrites, AnOutsideWriteWhoseTimeWasSetBackIsRefused)
{
    ReadWorkingCopy(Open);
    TEngineGlow glow = Open.Model.Meshes.Get(0).Glows.Get(0);
    glow.CoreColor = 1;
    WriteWorkingCopyGlow(Open, glow);
    const auto ours = std::filesystem::last_write_time(Path);

    TEngineGlow theirs = glow;
    theirs.CoreColor = 0xEEEEEEEE;
    WriteGlow(Path, theirs);
    std::filesystem::last_write_time(Path, ours);
    const std::vector<uint8_t> changed = ReadBytes(Path);
    glow.CoreColor = 2;
    EXPECT_THROW(WriteWorkingCopyGlow(Open, glow), EFileChanged);
    EXPECT_EQ(ReadBytes(Path), changed);
}

// Writing the bytes the file already holds (Close on a glow left as it was)
// writes nothing: the file keeps its times, so a second editor still takes it
// for the file it read.
TEST_F(WorkingCopyWrites, TheBytesTheFileHoldsAreNotWrittenAgain)
{
    std::filesystem::last_write_time(Path, std::filesystem::last_write_time(Path) - std::chrono::hours(24 * 365));
    ReadWorkingCopy(Open);
    const TFileIdentity read = TOpenFile(Path, TOpenFile::Reading, TLinks::Follow).Identity();
    const TEngineGlow& glow = Open.Model.Meshes.Get(0).Glows.Get(0);
    const TGlowBytes held = WriteWorkingCopyGlow(Open, glow);
    EXPECT_TRUE(std::equal(held.begin(), held.end(), F.Bytes.begin() + F.FirstPos + GlowWriteBackOffset));
    EXPECT_EQ(TOpenFile(Path, TOpenFile::Reading, TLinks::Follow).Identity(), read);
    CheckWorkingCopy(Open);
}

#ifndef _WIN32
// A working copy made read-only (chmod 444) is not written, by root either,
// as a read-only Colors.dat is not; the bytes it holds already (Close on a
// glow left as it was) are taken without a word.
TEST_F(WorkingCopyWrites, ACopyMadeReadOnlyIsNotWritten)
{
    ReadWorkingCopy(Open);
    namespace fs = std::filesystem;
    fs::permissions(Path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    TEngineGlow glow = Open.Model.Meshes.Get(0).Glows.Get(0);
    WriteWorkingCopyGlow(Open, glow);
    glow.CoreColor = 1;
    EXPECT_EQ(MessageOf<EFOpenError>([&] { WriteWorkingCopyGlow(Open, glow); }), "Cannot open file " + Path);
    EXPECT_EQ(ReadBytes(Path), F.Bytes);
}
#endif

class CopyOptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(Root.File("Project"));
        Open.ProjectDir = Root.File("Project/");
    }

    std::string MakeFolder(const std::string& name)
    {
        std::filesystem::create_directory(Root.File(name));
        return Root.File(name + "/");
    }

    TempDir Root;
    TOpenModel Open;
};

#ifdef _WIN32
TEST_F(CopyOptTest, CopiesTheChosenFileAndKeepsOnlyItsArchiveAttribute)
{
    GlowFile f;
    const std::string chosen = MakeFolder("mods") + "ship.opt";
    WriteFileBytes(chosen, f.Bytes);
    ASSERT_TRUE(SetFileAttributesA(chosen.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                       FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    CopyOpt(Open, chosen);
    EXPECT_EQ(Open.OptFileName, "ship.opt");
    EXPECT_EQ(ReadBytes(Open.ProjectDir + "ship.opt"), f.Bytes);
    EXPECT_EQ(GetFileAttributesA(chosen.c_str()), DWORD(FILE_ATTRIBUTE_ARCHIVE));
}
#else
TEST_F(CopyOptTest, CopiesTheChosenFileAndLeavesItsPermissionsAlone)
{
    GlowFile f;
    const std::string chosen = MakeFolder("mods") + "ship.opt";
    WriteFileBytes(chosen, f.Bytes);
    ASSERT_EQ(chmod(chosen.c_str(), 0444), 0);
    CopyOpt(Open, chosen);
    EXPECT_EQ(Open.OptFileName, "ship.opt");
    EXPECT_EQ(ReadBytes(Open.ProjectDir + "ship.opt"), f.Bytes);
    struct stat st {};
    ASSERT_EQ(stat(chosen.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
}
#endif

// The program's paths are UTF-8. On Windows they reach the system as UTF-16,
// or every letter outside the ANSI code page would be lost.
TEST_F(CopyOptTest, NamesBeyondAsciiKeepEveryLetter)
{
    GlowFile f;
    const std::u8string folder = u8"données ✓", name = u8"Крейсер Ω.opt";
    const auto utf8 = [](const std::u8string& s) { return std::string(s.begin(), s.end()); };
    const std::filesystem::path dir = std::filesystem::path(Root.Path()) / folder;
    std::filesystem::create_directory(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(f.Bytes.data()), std::streamsize(f.Bytes.size()));
    CopyOpt(Open, Root.Path() + utf8(folder) + PathDelim + utf8(name));
    EXPECT_EQ(Open.OptFileName, utf8(name));
    std::vector<std::string> copies;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(Open.ProjectDir)))
        copies.push_back(utf8(entry.path().filename().u8string()));
    EXPECT_EQ(copies, std::vector<std::string>{utf8(name)});
    EXPECT_EQ(ReadWholeFile(Open.ProjectDir + utf8(name)), f.Bytes);
}

TEST_F(CopyOptTest, AFileInTheProjectFolderIsItsOwnWorkingCopy)
{
    GlowFile f;
    WriteFileBytes(Open.ProjectDir + "ship.opt", f.Bytes);
    CopyOpt(Open, Open.ProjectDir + "ship.opt");
    EXPECT_EQ(Open.OptFileName, "ship.opt");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Open.ProjectDir), {}), 1);
    ReadWorkingCopy(Open);
    TEngineGlow glow = GlowFile::ToGlow(f.First, f.FirstPos);
    glow.CoreColor = 0x0;
    WriteWorkingCopyGlow(Open, glow);
    EXPECT_EQ(ReadBytes(Open.ProjectDir + "ship.opt"), f.WithFirstCore(0));
}

TEST_F(CopyOptTest, ASecondFileOfTheSameNameReusesTheEditedCopy)
{
    GlowFile f;
    const std::string first = MakeFolder("a") + "ship.opt";
    const std::string second = MakeFolder("b") + "ship.opt";
    WriteFileBytes(first, f.Bytes);
    WriteFileBytes(second, {1, 2, 3});
    CopyOpt(Open, first);
    ReadWorkingCopy(Open);
    TEngineGlow glow = GlowFile::ToGlow(f.First, f.FirstPos);
    glow.CoreColor = 0xFFFFFFFF;
    WriteWorkingCopyGlow(Open, glow);
    const std::vector<uint8_t> edited = ReadBytes(Open.ProjectDir + "ship.opt");
    ASSERT_NE(edited, f.Bytes);

    CopyOpt(Open, second);
    EXPECT_EQ(Open.OptFileName, "ship.opt");
    EXPECT_EQ(ReadBytes(Open.ProjectDir + "ship.opt"), edited);
    EXPECT_EQ(ReadBytes(first), f.Bytes);  // the chosen file itself is never written
}

TEST_F(CopyOptTest, AnEmptyFileGivesAnEmptyCopy)
{
    const std::string chosen = MakeFolder("mods") + "empty.op1";
    WriteFileBytes(chosen, {});
    CopyOpt(Open, chosen);
    ASSERT_TRUE(std::filesystem::is_regular_file(Open.ProjectDir + "empty.op1"));
    EXPECT_EQ(std::filesystem::file_size(Open.ProjectDir + "empty.op1"), 0u);
}

TEST_F(CopyOptTest, AMissingSourceLeavesNoTarget)
{
    const std::string chosen = MakeFolder("mods") + "gone.opt";
    EXPECT_EQ(MessageOf<EFOpenError>([&] { CopyOpt(Open, chosen); }), "Cannot open file " + chosen);
    EXPECT_EQ(Open.OptFileName, "gone.opt");
    EXPECT_FALSE(std::filesystem::exists(Open.ProjectDir + "gone.opt"));

    // A folder named with its separator has no file name to copy.
    const std::string folder = MakeFolder("models");
    EXPECT_EQ(MessageOf<EFOpenError>([&] { CopyOpt(Open, folder); }), "Cannot open file " + folder);
}

#ifndef _WIN32
TEST_F(CopyOptTest, ANamedPipeIsRefusedWithoutWaitingForAWriter)
{
    const std::string chosen = MakeFolder("mods") + "pipe.opt";
    ASSERT_EQ(mkfifo(chosen.c_str(), 0600), 0);
    auto copy = std::async(std::launch::async, [&] { return MessageOf<EFOpenError>([&] { CopyOpt(Open, chosen); }); });
    const bool waited = copy.wait_for(std::chrono::seconds(10)) != std::future_status::ready;
    if (waited)
        close(open(chosen.c_str(), O_WRONLY | O_NONBLOCK));  // the writer it waits for, so the test ends
    EXPECT_FALSE(waited);
    EXPECT_EQ(copy.get(), "Cannot open file " + chosen);
    EXPECT_FALSE(std::filesystem::exists(Open.ProjectDir + "pipe.opt"));
}
#endif

#ifndef _WIN32
// Anything but a regular file of its own at Project/NAME.opt would be read or
// written outside the project folder, or would hang the open.
TEST_F(CopyOptTest, ALinkPipeOrFolderInPlaceOfTheWorkingCopyIsRefused)
{
    GlowFile f;
    const std::string chosen = MakeFolder("mods") + "ship.opt";
    WriteFileBytes(chosen, f.Bytes);
    const std::string elsewhere = MakeFolder("elsewhere") + "target.opt";
    const std::string copy = Open.ProjectDir + "ship.opt";
    const auto refused = [&](const std::string& what) {
        return "Cannot use the working copy " + copy + ": it is " + what;
    };

    // Dangling, the link would have the copy made at its target.
    ASSERT_EQ(symlink(elsewhere.c_str(), copy.c_str()), 0);
    EXPECT_EQ(MessageOf<EWorkingCopyRefused>([&] { CopyOpt(Open, chosen); }), refused("a symbolic link"));
    EXPECT_FALSE(std::filesystem::exists(elsewhere));

    // To a file elsewhere, the link is neither read nor written through,
    // also when it takes the place of a copy that was read.
    WriteFileBytes(elsewhere, f.Bytes);
    EXPECT_EQ(MessageOf<EWorkingCopyRefused>([&] { CopyOpt(Open, chosen); }), refused("a symbolic link"));
    EXPECT_EQ(MessageOf<EWorkingCopyRefused>([&] { ReadWorkingCopy(Open); }), refused("a symbolic link"));
    std::filesystem::remove(copy);
    CopyOpt(Open, chosen);
    ReadWorkingCopy(Open);
    std::filesystem::remove(copy);
    ASSERT_EQ(symlink(elsewhere.c_str(), copy.c_str()), 0);
    TEngineGlow glow = Open.Model.Meshes.Get(0).Glows.Get(0);
    glow.CoreColor = 0;
    EXPECT_EQ(MessageOf<EWorkingCopyRefused>([&] { WriteWorkingCopyGlow(Open, glow); }), refused("a symbolic link"));
    EXPECT_EQ(ReadBytes(elsewhere), f.Bytes);
    std::filesystem::remove(copy);

    // A named pipe is refused at once, not waited on.
    ASSERT_EQ(mkfifo(copy.c_str(), 0600), 0);
    auto opening =
        std::async(std::launch::async, [&] { return MessageOf<EWorkingCopyRefused>([&] { CopyOpt(Open, chosen); }); });
    const bool waited = opening.wait_for(std::chrono::seconds(10)) != std::future_status::ready;
    if (waited)
        close(open(copy.c_str(), O_RDONLY | O_NONBLOCK));  // the reader it waits for, so the test ends
    EXPECT_FALSE(waited);
    EXPECT_EQ(opening.get(), refused("a named pipe"));
    std::filesystem::remove(copy);

    std::filesystem::create_directory(copy);
    EXPECT_EQ(MessageOf<EWorkingCopyRefused>([&] { CopyOpt(Open, chosen); }), refused("a folder"));

    // A project folder that is itself a link is the user's choice.
    ASSERT_EQ(symlink(MakeFolder("real").c_str(), Root.File("linked").c_str()), 0);
    Open.ProjectDir = Root.File("linked/");
    CopyOpt(Open, chosen);
    ReadWorkingCopy(Open);
    WriteWorkingCopyGlow(Open, glow);
    EXPECT_EQ(ReadBytes(Root.File("real/ship.opt")), f.WithFirstCore(0));
}
#endif

TEST_F(CopyOptTest, ACopyKeepsAFileThatAppearedMeanwhileAndLeavesNoTemporaryFile)
{
    GlowFile f;
    const std::string chosen = MakeFolder("mods") + "ship.opt";
    WriteFileBytes(chosen, f.Bytes);
    const std::string target = Open.ProjectDir + "ship.opt";
    WriteFileBytes(target, {1, 2, 3});
    EXPECT_FALSE(CopyFileStream(chosen, target, TExisting::Keep));
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Open.ProjectDir), {}), 1);
}

TEST_F(CopyOptTest, AnOpenRemovesTheTemporaryFilesOfEditorsThatAreGone)
{
    GlowFile f;
    const std::string chosen = MakeFolder("mods") + "ship.opt";
    WriteFileBytes(chosen, f.Bytes);
#ifdef _WIN32
    const unsigned long running = GetCurrentProcessId();
#else
    const unsigned long running = static_cast<unsigned long>(getpid());
#endif
    // No process has the id 2^31 - 1: too large for Linux, odd for Windows.
    const std::string killed = Open.ProjectDir + ".big.opt.neg-2147483647-81723-0.tmp";
    const std::string copying = Open.ProjectDir + ".big.opt.neg-" + std::to_string(running) + "-81723-1.tmp";
    const std::string users = Open.ProjectDir + ".big.opt.neg-notes.tmp";
    for (const std::string& file : {killed, copying, users})
        WriteFileBytes(file, {1});
    CopyOpt(Open, chosen);
    EXPECT_FALSE(std::filesystem::exists(killed));
    EXPECT_TRUE(std::filesystem::exists(copying));
    EXPECT_TRUE(std::filesystem::exists(users));
    EXPECT_EQ(ReadBytes(Open.ProjectDir + "ship.opt"), f.Bytes);
}

// An export killed while it wrote left its temporary file beside the target:
// the next export into that folder takes it away.
TEST_F(CopyOptTest, AnExportRemovesTheTemporaryFilesOfExportsThatAreGone)
{
    GlowFile f;
    Open.OptFileName = "ship.opt";
    WriteFileBytes(Open.ProjectDir + "ship.opt", f.Bytes);
    ReadWorkingCopy(Open);
    const std::string game = MakeFolder("game");
    const std::string killed = game + ".ship.opt.neg-2147483647-81723-0.tmp";
    WriteFileBytes(killed, std::vector<uint8_t>(1000, 1));
    ExportWorkingCopy(Open, game + "ship.opt");
    EXPECT_FALSE(std::filesystem::exists(killed));
    EXPECT_EQ(ReadBytes(game + "ship.opt"), f.Bytes);
}

#ifndef _WIN32
// A name near the file system's limit of 255 bytes: the temporary file beside
// the copy must not take a name past it.
TEST_F(CopyOptTest, AChosenFileWithTheLongestNameGetsItsCopy)
{
    GlowFile f;
    const std::string name = std::string(251, 'n') + ".opt";
    WriteFileBytes(MakeFolder("mods") + name, f.Bytes);
    CopyOpt(Open, Root.File("mods/") + name);
    EXPECT_EQ(ReadBytes(Open.ProjectDir + name), f.Bytes);
}
#endif

TEST_F(CopyOptTest, ATargetThatCannotBeCreatedRaisesCreateError)
{
    const std::string chosen = MakeFolder("mods") + "ship.opt";
    WriteFileBytes(chosen, {1, 2, 3});
    Open.ProjectDir = Root.File("NoSuchFolder/");
    EXPECT_EQ(MessageOf<EFCreateError>([&] { CopyOpt(Open, chosen); }),
              "Cannot create file " + Open.ProjectDir + "ship.opt");
}

#ifdef NEG_HAVE_FILE_SIZE_LIMIT
TEST_F(CopyOptTest, AFailedCopyLeavesNoPartialWorkingCopy)
{
    GlowFile f;
    const std::string chosen = MakeFolder("mods") + "ship.opt";
    WriteFileBytes(chosen, f.Bytes);
    const std::string target = Open.ProjectDir + "ship.opt";
    {
        FileSizeLimit limit(f.Bytes.size() / 2);
        EXPECT_EQ(MessageOf<EInOutError>([&] { CopyOpt(Open, chosen); }), "Cannot write file " + target);
    }
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Open.ProjectDir), {}), 0);
    // The next open therefore makes a whole copy instead of reusing half a one.
    CopyOpt(Open, chosen);
    EXPECT_EQ(ReadBytes(target), f.Bytes);
}
#endif

// The same model with edited glows, but not another model nor a copy whose
// other bytes changed.
TEST(HoldsSameModel, IgnoresOnlyTheGlowsWriteBackBytes)
{
    GlowFile f;
    TModel model;
    OPTInFile().ReadOpt(f.Bytes, "ship.opt", model);
    std::vector<uint8_t> copy = f.Bytes;
    for (const int32_t pos : {f.FirstPos, f.SecondPos}) {
        copy[size_t(pos) + 4] ^= 0xFF;
        copy[size_t(pos) + 71] ^= 0xFF;
    }
    EXPECT_TRUE(HoldsSameModel(copy, f.Bytes, model));
    for (const size_t changed : {size_t(f.FirstPos) + 3, size_t(f.FirstPos) - 1, size_t(f.SecondPos), size_t(0)}) {
        std::vector<uint8_t> other = copy;
        other[changed] ^= 1;
        EXPECT_FALSE(HoldsSameModel(other, f.Bytes, model)) << "byte " << changed;
    }
    copy.push_back(0);
    EXPECT_FALSE(HoldsSameModel(copy, f.Bytes, model));
}

TEST(CopyFileStream, ReplacesAnExistingTargetWhole)
{
    TempDir dir;
    WriteFileBytes(dir.File("src"), {9, 8, 7});
    WriteFileBytes(dir.File("dst"), std::vector<uint8_t>(100, 1));
    CopyFileStream(dir.File("src"), dir.File("dst"));
    EXPECT_EQ(ReadBytes(dir.File("dst")), (std::vector<uint8_t>{9, 8, 7}));
}

}  // namespace
