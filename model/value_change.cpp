#include "value_change.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "conversions.h"
#include "errors.h"
#include "glow_fields.h"

const edit_list::GlowField& FieldOf(TGlowValue value)
{
    return edit_list::GlowFields[size_t(value)];
}

bool IsColorValue(TGlowValue value)
{
    return FieldOf(value).Color != nullptr;
}

namespace {

using TOp = TNumberChange::TOp;

// own with the number change made, in float arithmetic.
float Worked(const TNumberChange& number, float own)
{
    switch (number.Op) {
    case TOp::Keep:
        return own;
    case TOp::Set:
        return number.Operand;
    case TOp::Add:
        return own + number.Operand;
    case TOp::Subtract:
        return own - number.Operand;
    case TOp::Multiply:
        return own * number.Operand;
    case TOp::Divide:
        return own / number.Operand;
    }
    return own;
}

const char* const AxisNames[3] = {"X", "Y", "Z"};

// The glow at with the change made to it; everything else as it was.
TEngineGlow Applied(const TValueChange& change, TGlowIndex at, TEngineGlow glow)
{
    const edit_list::GlowField& field = FieldOf(change.Value);
    if (field.Color) {
        uint32_t& word = glow.*field.Color;
        if (change.Alpha)
            word = (word & 0x00FFFFFFu) | *change.Alpha << 24;
        if (change.Rgb)
            word = (word & 0xFF000000u) | *change.Rgb;
        return glow;
    }
    TFloat3& vector = glow.*field.Vector;
    float* numbers[3] = {&vector.X, &vector.Y, &vector.Z};
    for (size_t i = 0; i < 3; ++i) {
        if (change.Numbers[i].Op == TOp::Keep)
            continue;
        *numbers[i] = Worked(change.Numbers[i], *numbers[i]);
        // "/=0", an overflow, or a glow's own that is no number: a value the
        // user cannot have meant, and one no view can draw.
        if (!std::isfinite(*numbers[i]))
            throw ENotFinite(std::string("Nothing was written: ") + AxisNames[i] + " of glow " +
                             std::to_string(at.Glow) + " of mesh " + std::to_string(at.Mesh) +
                             " would not be a finite number");
    }
    return glow;
}

}  // namespace

TGlowWrite AppliedTo(const TValueChange& change, const TModel& model, const std::vector<TGlowIndex>& glows)
{
    TGlowWrite write;
    write.Glows.reserve(glows.size());
    for (const TGlowIndex& at : glows)
        write.Glows.push_back({at, Applied(change, at, model.Meshes.Get(at.Mesh).Glows.Get(at.Glow))});
    return write;
}

bool InDensityRange(const TValueChange& change, const TGlowWrite& write)
{
    const edit_list::GlowField& field = FieldOf(change.Value);
    if (!field.Density)
        return true;
    // Each glow's own result: "+=0.5" may keep one glow in range and take
    // another out of it.
    for (const TGlowValues& glow : write.Glows) {
        const TFloat3& vector = glow.Values.*field.Vector;
        const float numbers[3] = {vector.X, vector.Y, vector.Z};
        for (size_t i = 0; i < 3; ++i)
            if (change.Numbers[i].Op != TOp::Keep && !(numbers[i] >= 0.0f && numbers[i] <= 1.0f))
                return false;
    }
    return true;
}

TNumberChange TypedNumber(const std::optional<std::string>& text)
{
    if (!text)
        return {};
    static const std::pair<const char*, TOp> relative[] = {
        {"+=", TOp::Add}, {"-=", TOp::Subtract}, {"*=", TOp::Multiply}, {"/=", TOp::Divide}};
    const size_t first = std::min(text->find_first_not_of(' '), text->size());
    for (const auto& [prefix, op] : relative)
        if (text->compare(first, 2, prefix) == 0)
            return {op, TextFloat(text->substr(first + 2))};
    return {TOp::Set, TextFloat(*text)};
}

std::optional<uint32_t> TypedByte(const std::string& text)
{
    try {
        const int32_t value = TextInt(text);
        if (value >= 0 && value <= 255)
            return uint32_t(value);
    } catch (const EConvertError&) {
    }
    return std::nullopt;
}

uint32_t TypedColor(uint32_t word, const std::array<std::string, 4>& texts)
{
    for (size_t i = 0; i < 4; ++i) {
        const int shift = 24 - 8 * int(i);
        if (const std::optional<uint32_t> byte = TypedByte(texts[i]))
            word = (word & ~(0xFFu << shift)) | *byte << shift;
    }
    return word;
}
