#include "value_change.h"

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

TEngineGlow Applied(const TValueChange& change, TEngineGlow glow)
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
    for (size_t i = 0; i < 3; ++i)
        if (change.Numbers[i].Op == TNumberChange::TOp::Set)
            *numbers[i] = change.Numbers[i].Operand;
    return glow;
}

TGlowWrite AppliedTo(const TValueChange& change, const TModel& model, const std::vector<TGlowIndex>& glows)
{
    TGlowWrite write;
    write.Glows.reserve(glows.size());
    for (const TGlowIndex& at : glows)
        write.Glows.push_back({at, Applied(change, model.Meshes.Get(at.Mesh).Glows.Get(at.Glow))});
    return write;
}

bool InDensityRange(const TValueChange& change)
{
    if (!FieldOf(change.Value).Density)
        return true;
    for (const TNumberChange& number : change.Numbers)
        if (number.Op == TNumberChange::TOp::Set && !(number.Operand >= 0.0f && number.Operand <= 1.0f))
            return false;
    return true;
}

TNumberChange TypedNumber(const std::optional<std::string>& text)
{
    if (!text)
        return {};
    return {TNumberChange::TOp::Set, TextFloat(*text)};
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
