#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <numeric>

#include "errors.h"
#include "file_size_limit.h"
#include "messages.h"
#include "opt_builder.h"
#include "startup.h"
#include "temp_dir.h"
#include "view_colors.h"

namespace {

using optbuild::WriteFileBytes;

std::vector<uint8_t> FloatBytes(float f)
{
    std::vector<uint8_t> b(4);
    std::memcpy(b.data(), &f, 4);  // the test host is little-endian
    return b;
}

// Every test starts with a black table and its own data folder.
class ColorFileTest : public ::testing::Test {
protected:
    void SetUp() override { DataDir = Dir.Path(); }

    std::vector<uint8_t> TableBytes() const
    {
        std::vector<uint8_t> out;
        for (const TColorF& c : Colors)
            for (float f : {c.Red, c.Green, c.Blue}) {
                const auto b = FloatBytes(f);
                out.insert(out.end(), b.begin(), b.end());
            }
        return out;
    }

    TempDir Dir;
    std::string DataDir;
    TColorTable Colors{};
};

// Pure red for Selected, chosen through Set Colors, is written as 1, 0, 0
// (the GUI test checks those bytes); here every entry, in order.
TEST_F(ColorFileTest, TheTableIsWrittenInOrderAndReadsBack)
{
    for (int i = 0; i < ViewColorCount; ++i)
        Colors[i] = ScreenToColorF(0x00102030u * static_cast<uint32_t>(i + 1) & 0xFFFFFFu);
    WriteColorFile(DataDir, Colors);
    const std::vector<uint8_t> file = ReadBytes(DataDir + "Colors.dat");
    ASSERT_EQ(file.size(), 84u);
    EXPECT_EQ(file, TableBytes());

    // Reading it back gives the same table.
    const auto saved = TableBytes();
    Colors = ReadColorFile(DataDir).Colors;
    EXPECT_EQ(TableBytes(), saved);
}

TEST(ScreenColors, EveryByteSurvivesTheRoundTrip)
{
    const TColorF half = ScreenToColorF(0x00808080);
    EXPECT_EQ(FloatBytes(half.Red), (std::vector<uint8_t>{0x81, 0x80, 0x00, 0x3F}));
    EXPECT_EQ(half.Red, half.Green);
    EXPECT_EQ(half.Red, half.Blue);
    EXPECT_EQ(ColorFToScreen(half), 0x00808080u);
    for (uint32_t k = 0; k < 256; ++k) {
        const uint32_t screen = k | ((255 - k) << 8) | (((k * 7) & 255) << 16);
        ASSERT_EQ(ColorFToScreen(ScreenToColorF(screen)), screen) << k;
    }
    // Red sits in the low byte of a screen colour, blue in the third.
    const TColorF c = ScreenToColorF(0x00FF0000);
    EXPECT_EQ(c.Blue, 1.0f);
    EXPECT_EQ(c.Red, 0.0f);
    // The top byte of a screen colour is not a component.
    EXPECT_EQ(ColorFToScreen(ScreenToColorF(0xFF000000)), 0u);
}

TEST_F(ColorFileTest, ShortBytesFillTheTableFromTheFront)
{
    std::vector<uint8_t> bytes(30);
    std::iota(bytes.begin(), bytes.end(), uint8_t{1});
    Colors[ColPoint].Green = -1.0f;  // bytes 00 00 80 BF
    Colors[ColCone].Blue = 0.5f;
    ParseColorFile(bytes, Colors);
    const std::vector<uint8_t> table = TableBytes();
    std::vector<uint8_t> expected(84, 0);
    std::copy(bytes.begin(), bytes.end(), expected.begin());
    // The green of entry 2 gets its first two bytes from the file and keeps
    // the other two; everything past byte 30 keeps its previous value.
    expected[30] = 0x80;
    expected[31] = 0xBF;
    const auto half = FloatBytes(0.5f);
    std::copy(half.begin(), half.end(), expected.begin() + 80);
    EXPECT_EQ(table, expected);
}

TEST_F(ColorFileTest, BytesPastTheSeventhEntryAreIgnored)
{
    // 21 floats of 0.5 (00 00 00 3F), then 16 bytes that would make NaNs.
    std::vector<uint8_t> bytes(100, 0xEE);
    for (size_t i = 0; i < 84; ++i)
        bytes[i] = i % 4 == 3 ? 0x3F : 0x00;
    WriteFileBytes(DataDir + "Colors.dat", bytes);
    Colors = ReadColorFile(DataDir).Colors;
    EXPECT_EQ(TableBytes(), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 84));
}

// A file far longer than the seven colours holds no colours: only their bytes
// are read (a huge file would hold up the start), and it is damaged.
TEST_F(ColorFileTest, AFileFarLongerThanTheColoursIsDamaged)
{
    const std::string path = DataDir + "Colors.dat";
    WriteFileBytes(path, std::vector<uint8_t>(84, 0x3F));
    std::filesystem::resize_file(path, 100 << 20);
    const TColorRead read = ReadColorFile(DataDir);
    Colors = read.Colors;
    EXPECT_EQ(read.Found, TColorFile::FarTooLong);
    EXPECT_EQ(TableBytes(), std::vector<uint8_t>(std::begin(ShippedColorBytes), std::end(ShippedColorBytes)));
    EXPECT_EQ(DamagedColorsText(DataDir, TColorFile::FarTooLong),
              "File is damaged " + path + LineBreak +
                  "It holds more than 65536 bytes, far more than the 84 of the seven colours. The editor starts with "
                  "the shipped colours and leaves the file as it is; Set Colors saves all seven anew.");
    EXPECT_EQ(std::filesystem::file_size(path), uintmax_t{100} << 20);
}

TEST_F(ColorFileTest, FileErrorsNameThePath)
{
    const std::string path = DataDir + "Colors.dat";
    try {
        ReadColorFile(DataDir);
        ADD_FAILURE() << "a missing file was read";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
    }
    // A file the user made read-only is not replaced, also when root, who
    // may write it, runs the program.
    const std::vector<uint8_t> old(84, 0x3F);
    WriteFileBytes(path, old);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    {
        try {
            WriteColorFile(DataDir, Colors);
            ADD_FAILURE() << "a read-only file was replaced";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
        }
        EXPECT_EQ(ReadBytes(path), old);
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);

    DataDir = Dir.File("Missing/");
    try {
        WriteColorFile(DataDir, Colors);
        ADD_FAILURE() << "a file in a missing folder was written";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + DataDir + "Colors.dat");
    }
}

#ifdef NEG_HAVE_FILE_SIZE_LIMIT
TEST_F(ColorFileTest, AFailedWriteRaisesAndLeavesTheOldColoursWhole)
{
    const std::vector<uint8_t> old(84, 0x3F);
    WriteFileBytes(DataDir + "Colors.dat", old);
    Colors[ColCone].Blue = 0.25f;
    {
        FileSizeLimit limit(40);
        try {
            WriteColorFile(DataDir, Colors);
            ADD_FAILURE() << "a cut-short write passed";
        } catch (const EInOutError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot write file " + DataDir + "Colors.dat");
        }
    }
    EXPECT_EQ(ReadBytes(DataDir + "Colors.dat"), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(DataDir), {}), 1);  // no temporary file left
}
#endif

}  // namespace
