#pragma once
// The seven drawing colours of the view and their file, Colors.dat in the Data folder:
// seven records of three little-endian float32 (red, green, blue), 84 bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

struct TColorF {
    float Red = 0, Green = 0, Blue = 0;
};

enum TViewColor : int {
    ColMeshLines = 0,
    ColSelected = 1,
    ColPoint = 2,
    ColXVector = 3,
    ColYVector = 4,
    ColZVector = 5,
    ColCone = 6,
    ViewColorCount = 7
};

inline constexpr size_t ViewColorFileSize = 84;

// The seven colours, in the file's order: what the view draws with. The
// window that reads them keeps them and hands them on with each scene.
// Zero (black) until loaded.
using TColorTable = std::array<TColorF, ViewColorCount>;
// Laid out in memory as the file's records are (on a little-endian host).
static_assert(sizeof(TColorTable) == ViewColorFileSize);
// A colour file longer than this is no colour file.
inline constexpr int64_t ViewColorFileMaxSize = 65536;

// The colour file shipped with the program (data/Colors.dat), built in.
extern const uint8_t ShippedColorBytes[ViewColorFileSize];

// Full path of the colour file: dataDir + "Colors.dat".
std::string ColorFilePath(const std::string& dataDir);

// What ReadColorFile found: the seven colours, or a damaged file, too short
// to hold them or far longer than any colour file.
enum class TColorFile { Whole, Short, FarTooLong };

struct TColorRead {
    TColorTable Colors{};
    TColorFile Found = TColorFile::Whole;
};

// The colours of dataDir's colour file byte for byte, reading only the 84
// bytes of the colours; bytes past 84 are ignored. A file shorter than 84
// bytes or longer than ViewColorFileMaxSize is damaged: the shipped colours
// instead, and the file is left as it is. Throws EFOpenError, ENotAFile,
// EInOutError.
TColorRead ReadColorFile(const std::string& dataDir);

// Lays the colour file's bytes in memory over colors byte for byte: a short
// file fills the table from the front and leaves the rest as it was.
void ParseColorFile(std::span<const uint8_t> bytes, TColorTable& colors);

// Writes all of colors to the colour file (created or emptied).
// Throws EFCreateError, EInOutError (the write failed or was short).
void WriteColorFile(const std::string& dataDir, const TColorTable& colors);

// A screen colour 0x00BBGGRR as a drawing colour: each byte k becomes k / 255.
TColorF ScreenToColorF(uint32_t screenColor);

// A drawing colour as a screen colour 0x00BBGGRR: each component c becomes the
// low 8 bits of round-half-even(255 * c).
uint32_t ColorFToScreen(const TColorF& color);
