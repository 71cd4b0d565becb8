#pragma once
// An engine glow's data block in an OPT file, read and written in one place:
// 72 bytes, of which the editor writes back the 68 after the first 4 (those
// it never reads). Each value is little-endian: a colour one 32-bit word, a
// vector three float32s.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

struct TEngineGlow;

inline constexpr int64_t GlowRecordSize = 72;
inline constexpr int64_t GlowWriteBackOffset = 4;
inline constexpr size_t GlowWriteBackSize = 68;

// Where each value lies in the 68 written-back bytes.
namespace glow_layout {
inline constexpr size_t CoreColor = 0;
inline constexpr size_t OuterColor = 4;
inline constexpr size_t MainVec = 8;
inline constexpr size_t Center = 20;
inline constexpr size_t Density0 = 32;
inline constexpr size_t Density1 = 44;
inline constexpr size_t Density2 = 56;
}  // namespace glow_layout

// The 68 bytes that follow a block's first 4: every value of a glow.
using TGlowBytes = std::array<uint8_t, GlowWriteBackSize>;

// Sets every value of glow but FilePos from the block at the start of record.
// Throws EOptDamaged when record is shorter than a block.
void DecodeGlowRecord(std::span<const uint8_t> record, TEngineGlow& glow);

// Sets every value of glow but FilePos from its written-back bytes.
void DecodeGlowWriteBack(const TGlowBytes& bytes, TEngineGlow& glow);

// The 68 bytes that follow the block's first 4, from glow's values.
TGlowBytes EncodeGlowWriteBack(const TEngineGlow& glow);
