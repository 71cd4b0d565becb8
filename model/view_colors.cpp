#include "view_colors.h"

#include <algorithm>
#include <cmath>

#include "byte_order.h"
#include "file_util.h"

namespace {

constexpr size_t RecordSize = 12;
static_assert(ViewColorFileSize == RecordSize * ViewColorCount);

void Serialise(const TColorTable& colors, uint8_t* table)
{
    for (int i = 0; i < ViewColorCount; ++i) {
        PutFloat32LE(table + i * RecordSize + 0, colors[i].Red);
        PutFloat32LE(table + i * RecordSize + 4, colors[i].Green);
        PutFloat32LE(table + i * RecordSize + 8, colors[i].Blue);
    }
}

}  // namespace

std::string ColorFilePath(const std::string& dataDir)
{
    return dataDir + "Colors.dat";
}

TColorRead ReadColorFile(const std::string& dataDir)
{
    // Only the colours' bytes: a file of gigabytes would hold up the start.
    TOpenFile file(ColorFilePath(dataDir), TOpenFile::Reading, TLinks::Follow);
    uint8_t bytes[ViewColorFileSize];
    // A cut file would leave colours black on black, or half a number.
    TColorFile found = TColorFile::Whole;
    if (file.Read(bytes, sizeof bytes) < sizeof bytes)
        found = TColorFile::Short;
    else if (file.Identity().Size > ViewColorFileMaxSize)
        found = TColorFile::FarTooLong;
    TColorRead read{{}, found};
    ParseColorFile(found == TColorFile::Whole ? std::span<const uint8_t>(bytes)
                                              : std::span<const uint8_t>(ShippedColorBytes),
                   read.Colors);
    return read;
}

void ParseColorFile(std::span<const uint8_t> bytes, TColorTable& colors)
{
    // Serialise the table, lay the file's bytes over it, and read it back:
    // a short file changes only the bytes it reaches.
    uint8_t table[ViewColorFileSize];
    Serialise(colors, table);
    std::copy_n(bytes.begin(), std::min(bytes.size(), ViewColorFileSize), table);
    for (int i = 0; i < ViewColorCount; ++i) {
        colors[i].Red = GetFloat32LE(table + i * RecordSize + 0);
        colors[i].Green = GetFloat32LE(table + i * RecordSize + 4);
        colors[i].Blue = GetFloat32LE(table + i * RecordSize + 8);
    }
}

void WriteColorFile(const std::string& dataDir, const TColorTable& colors)
{
    uint8_t table[ViewColorFileSize];
    Serialise(colors, table);
    // Through a temporary file: a failed save leaves the old colours whole.
    // A Colors.dat linked from elsewhere is saved where the link leads.
    WriteWholeFile(ThroughLinks(ColorFilePath(dataDir)), table, TExisting::Replace);
}

TColorF ScreenToColorF(uint32_t screenColor)
{
    const auto part = [](uint32_t k) { return static_cast<float>(static_cast<double>(k & 255u) / 255.0); };
    return {part(screenColor), part(screenColor >> 8), part(screenColor >> 16)};
}

uint32_t ColorFToScreen(const TColorF& color)
{
    // nearbyint rounds half to even in the default rounding mode.
    const auto part = [](float c) -> uint32_t {
        const double scaled = std::nearbyint(255.0 * c);
        // Out-of-range values from a hand-made file keep only their low byte.
        if (!std::isfinite(scaled) || std::fabs(scaled) > 9e15)
            return 0;
        return static_cast<uint32_t>(static_cast<int64_t>(scaled)) & 255u;
    };
    return part(color.Red) | (part(color.Green) << 8) | (part(color.Blue) << 16);
}
