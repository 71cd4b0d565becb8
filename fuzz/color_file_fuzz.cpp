// Fuzz target: any bytes as the colour file. The bytes it holds replace the
// table's from the front, the rest stays as it was, and every colour read
// converts to a screen colour that converts back to itself.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "byte_order.h"
#include "view_colors.h"

namespace {

constexpr size_t TableSize = 12 * ViewColorCount;

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void Serialise(const TColorTable& colors, uint8_t* table)
{
    for (int i = 0; i < ViewColorCount; ++i) {
        PutFloat32LE(table + 12 * i + 0, colors[i].Red);
        PutFloat32LE(table + 12 * i + 4, colors[i].Green);
        PutFloat32LE(table + 12 * i + 8, colors[i].Blue);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TColorTable colors;
    for (int i = 0; i < ViewColorCount; ++i)
        colors[i] = {0.25f * float(i), 0.5f, -1.0f / float(i + 1)};
    uint8_t expected[TableSize];
    Serialise(colors, expected);
    std::copy_n(data, std::min(size, TableSize), expected);

    ParseColorFile(std::span<const uint8_t>(data, size), colors);
    uint8_t table[TableSize];
    Serialise(colors, table);
    Require(std::equal(table, table + TableSize, expected));
    for (const TColorF& color : colors) {
        const uint32_t screen = ColorFToScreen(color);
        Require(screen <= 0xFFFFFFu && ColorFToScreen(ScreenToColorF(screen)) == screen);
    }
    return 0;
}
