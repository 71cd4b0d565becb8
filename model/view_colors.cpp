#include "view_colors.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "byte_order.h"
#include "file_bytes.h"

TColorF ViewColors[ViewColorCount];

namespace {
constexpr size_t RecordSize = 12;
static_assert(ViewColorFileSize == RecordSize * ViewColorCount);
}  // namespace

std::string ColorFilePath(const std::string& dataDir)
{
    return dataDir + "Colors.dat";
}

bool ReadColorFile(const std::string& dataDir)
{
    const std::vector<uint8_t> bytes = ReadWholeFile(ColorFilePath(dataDir));
    // A cut file would leave colours black on black, or half a number.
    const bool whole = bytes.size() >= ViewColorFileSize;
    ParseColorFile(whole ? std::span<const uint8_t>(bytes) : std::span<const uint8_t>(ShippedColorBytes));
    return whole;
}

void ParseColorFile(std::span<const uint8_t> bytes)
{
    // Serialise the table, lay the file's bytes over it, and read it back:
    // a short file changes only the bytes it reaches.
    uint8_t table[ViewColorFileSize];
    for (int i = 0; i < ViewColorCount; ++i) {
        PutFloat32LE(table + i * RecordSize + 0, ViewColors[i].Red);
        PutFloat32LE(table + i * RecordSize + 4, ViewColors[i].Green);
        PutFloat32LE(table + i * RecordSize + 8, ViewColors[i].Blue);
    }
    std::copy_n(bytes.begin(), std::min(bytes.size(), ViewColorFileSize), table);
    for (int i = 0; i < ViewColorCount; ++i) {
        ViewColors[i].Red = GetFloat32LE(table + i * RecordSize + 0);
        ViewColors[i].Green = GetFloat32LE(table + i * RecordSize + 4);
        ViewColors[i].Blue = GetFloat32LE(table + i * RecordSize + 8);
    }
}

void WriteColorFile(const std::string& dataDir)
{
    uint8_t table[ViewColorFileSize];
    for (int i = 0; i < ViewColorCount; ++i) {
        PutFloat32LE(table + i * RecordSize + 0, ViewColors[i].Red);
        PutFloat32LE(table + i * RecordSize + 4, ViewColors[i].Green);
        PutFloat32LE(table + i * RecordSize + 8, ViewColors[i].Blue);
    }
    // Through a temporary file: a failed save leaves the old colours whole.
    WriteWholeFile(ColorFilePath(dataDir), table, TExisting::Replace);
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
