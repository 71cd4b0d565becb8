#include "glow_values.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "errors.h"

namespace optglow {

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

// One number of a vector: optional sign, digits with '.' as decimal point,
// optional exponent, blanks around; finite as a float32.
float ParseNumber(const std::string& text, const std::string& whole)
{
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    const auto bad = [&whole]() { return Exception("'" + whole + "' is not three numbers x,y,z"); };
    if (first == std::string::npos)
        throw bad();
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+' && end - begin > 1 && begin[1] != '-')
        ++begin;
    float value = 0;
    const auto [stop, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ec != std::errc() || stop != end || !std::isfinite(value))
        throw bad();
    return value;
}

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

nlohmann::ordered_json GlowToJson(const TEngineGlow& g)
{
    nlohmann::ordered_json j;
    j["filePos"] = g.FilePos;
    j["coreColor"] = ColorText(g.CoreColor);
    j["outerColor"] = ColorText(g.OuterColor);
    j["center"] = VectorJson(g.Center);
    j["mainVec"] = VectorJson(g.MainVec);
    j["density0"] = VectorJson(g.Density0);
    j["density1"] = VectorJson(g.Density1);
    j["density2"] = VectorJson(g.Density2);
    return j;
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

TFloat3 ParseVector(const std::string& text)
{
    const auto comma1 = text.find(',');
    const auto comma2 = comma1 == std::string::npos ? comma1 : text.find(',', comma1 + 1);
    if (comma2 == std::string::npos || text.find(',', comma2 + 1) != std::string::npos)
        throw Exception("'" + text + "' is not three numbers x,y,z");
    return {ParseNumber(text.substr(0, comma1), text), ParseNumber(text.substr(comma1 + 1, comma2 - comma1 - 1), text),
            ParseNumber(text.substr(comma2 + 1), text)};
}

void CheckDensity(const TFloat3& v, const std::string& text)
{
    for (float c : {v.X, v.Y, v.Z})
        if (!(c >= 0.0f && c <= 1.0f))
            throw Exception("'" + text + "': a density lies between 0.0 and 1.0");
}

TFloat3 ParseDensity(const std::string& text)
{
    const TFloat3 v = ParseVector(text);
    CheckDensity(v, text);
    return v;
}

int ParseIndex(const std::string& text, const char* what)
{
    // from_chars takes a '-', and "-0" would pass as 0: digits only.
    int value = -1;
    const auto [stop, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text[0] == '-' || ec != std::errc() || stop != text.data() + text.size())
        throw Exception(std::string("'") + text + "' is not a " + what + " index");
    return value;
}

void SetField(TEngineGlow& glow, const std::string& name, const std::string& value)
{
    const GlowField* field = FindField(name);
    if (!field)
        throw Exception("unknown field '" + name + "' (known: " + FieldNames() + ")");
    if (field->Color)
        glow.*field->Color = ParseColor(value);
    else
        glow.*field->Vector = field->Density ? ParseDensity(value) : ParseVector(value);
}

}  // namespace optglow
