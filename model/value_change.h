#pragma once
// The change the value edit dialog makes to the glows it is open on, as data:
// which value, and for each of its numbers (or a colour's alpha and red,
// green and blue) whether each glow keeps its own, takes what was typed, or
// has its own changed by what was typed ("+=2").
// The dialog's preview while typing and its write are both Applied of one
// change, so what is shown is what is written.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "glow_write.h"
#include "model.h"

namespace edit_list {
struct GlowField;
}

// The values of a glow the dialog opens on, in the order of the glow panel's
// items (and of edit_list::GlowFields).
enum class TGlowValue { CoreColor, OuterColor, Center, MainVec, Density0, Density1, Density2 };

// The glow field the value is.
const edit_list::GlowField& FieldOf(TGlowValue value);
bool IsColorValue(TGlowValue value);

// What a change does to one number of a value: Set gives every glow the
// operand; Add, Subtract, Multiply and Divide work it into each glow's own.
struct TNumberChange {
    enum class TOp { Keep, Set, Add, Subtract, Multiply, Divide };
    TOp Op = TOp::Keep;
    float Operand = 0.0f;
};

struct TValueChange {
    TGlowValue Value = TGlowValue::Center;
    // A vector's X, Y and Z (the centre, the main vector, a density).
    std::array<TNumberChange, 3> Numbers{};
    // A colour's alpha byte and its red, green and blue (0x00RRGGBB); each
    // glow keeps its own where they are empty.
    std::optional<uint32_t> Alpha{};
    std::optional<uint32_t> Rgb{};
};

// The write that gives each glow of glows, in that order, its values in
// model with the change made (a relative number computed in float on the
// glow's own): the dialog's preview and its write. Throws the list errors,
// and ENotFinite when a number the change makes is infinite or no number.
TGlowWrite AppliedTo(const TValueChange& change, const TModel& model, const std::vector<TGlowIndex>& glows);

// False when write, made by change, puts a number the change touches of a
// density outside 0.0 to 1.0 in any glow.
bool InDensityRange(const TValueChange& change, const TGlowWrite& write);

// The change of one number typed as text: none (the text the cell showed)
// keeps each glow's own; "+=", "-=", "*=" or "/=" before a number works it
// into each glow's own; any other text is a number to set ("+2" sets 2).
// Throws EConvertError for a number part that is no number.
TNumberChange TypedNumber(const std::optional<std::string>& text);

// The number from 0 to 255 that text holds; none for another text.
std::optional<uint32_t> TypedByte(const std::string& text);

// word with its alpha, red, green and blue bytes (from the top) replaced by
// those of texts that hold a number from 0 to 255; the others stay.
uint32_t TypedColor(uint32_t word, const std::array<std::string, 4>& texts);
