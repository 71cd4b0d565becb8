#include "glow_fields.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "errors.h"

namespace edit_list {

const std::array<GlowField, 7> GlowFields = {{
    {"core", &TEngineGlow::CoreColor, nullptr, false},
    {"outer", &TEngineGlow::OuterColor, nullptr, false},
    {"center", nullptr, &TEngineGlow::Center, false},
    {"vector", nullptr, &TEngineGlow::MainVec, false},
    {"density0", nullptr, &TEngineGlow::Density0, true},
    {"density1", nullptr, &TEngineGlow::Density1, true},
    {"density2", nullptr, &TEngineGlow::Density2, true},
}};

namespace {

bool SameBits(const TFloat3& a, const TFloat3& b)
{
    return std::bit_cast<uint32_t>(a.X) == std::bit_cast<uint32_t>(b.X) &&
           std::bit_cast<uint32_t>(a.Y) == std::bit_cast<uint32_t>(b.Y) &&
           std::bit_cast<uint32_t>(a.Z) == std::bit_cast<uint32_t>(b.Z);
}

}  // namespace

const GlowField* FindField(const std::string& name)
{
    for (const GlowField& field : GlowFields)
        if (name == field.Name)
            return &field;
    return nullptr;
}

std::string FieldNames()
{
    std::string names;
    for (const GlowField& field : GlowFields)
        names += (names.empty() ? "" : ", ") + std::string(field.Name);
    return names;
}

bool SameValue(const GlowField& field, const TEngineGlow& a, const TEngineGlow& b)
{
    return field.Color ? a.*field.Color == b.*field.Color : SameBits(a.*field.Vector, b.*field.Vector);
}

void CopyField(const GlowField& field, const TEngineGlow& from, TEngineGlow& to)
{
    if (field.Color)
        to.*field.Color = from.*field.Color;
    else
        to.*field.Vector = from.*field.Vector;
}

nlohmann::ordered_json FloatToJson(float value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    // The shortest decimal that reads back as this float32 ("0.8", not
    // "0.800000011920929"), held as the double nearest to it; the JSON writer
    // prints that double with the same digits. Should the double not round
    // back to the float, the float's exact value is used instead.
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double shortest = 0;
    const auto read = std::from_chars(text, written.ptr, shortest);
    if (written.ec == std::errc() && read.ec == std::errc() && static_cast<float>(shortest) == value)
        return shortest;
    return static_cast<double>(value);
}

nlohmann::ordered_json VectorJson(const TFloat3& v)
{
    return nlohmann::ordered_json::array({FloatToJson(v.X), FloatToJson(v.Y), FloatToJson(v.Z)});
}

std::string FloatText(float value)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

std::string ColorText(uint32_t color)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(color));
    return text;
}

std::string ValueText(const GlowField& field, const TEngineGlow& glow)
{
    if (field.Color)
        return ColorText(glow.*field.Color);
    const TFloat3& v = glow.*field.Vector;
    return FloatText(v.X) + "," + FloatText(v.Y) + "," + FloatText(v.Z);
}

nlohmann::ordered_json ListedValue(const GlowField& field, const TEngineGlow& glow, const std::string& where)
{
    if (field.Color)
        return ColorText(glow.*field.Color);
    const TFloat3& v = glow.*field.Vector;
    if (!std::isfinite(v.X) || !std::isfinite(v.Y) || !std::isfinite(v.Z))
        throw Exception(where + "'" + ValueText(field, glow) +
                        "' holds a number that is not finite, which an edit list cannot carry");
    if (field.Density) {
        try {
            CheckDensity(v, ValueText(field, glow));
        } catch (const Exception& e) {
            throw Exception(where + e.what() + ", and apply takes no other");
        }
    }
    return VectorJson(v);
}

uint32_t ParseColor(const std::string& text)
{
    uint32_t value = 0;
    const auto [stop, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    // from_chars takes no sign or prefix for base 16, so 8 consumed characters
    // are 8 hexadecimal digits.
    if (text.size() != 8 || ec != std::errc() || stop != text.data() + text.size())
        throw Exception("'" + text + "' is not a colour of 8 hexadecimal digits AARRGGBB");
    return value;
}

void CheckDensity(const TFloat3& v, const std::string& text)
{
    for (float c : {v.X, v.Y, v.Z})
        if (!(c >= 0.0f && c <= 1.0f))
            throw Exception("'" + text + "': a density lies between 0.0 and 1.0");
}

}  // namespace edit_list
