#include "glow_values.h"

#include <charconv>
#include <cmath>

#include "errors.h"

namespace optglow {

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

}  // namespace

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

TFloat3 ParseVector(const std::string& text)
{
    const auto comma1 = text.find(',');
    const auto comma2 = comma1 == std::string::npos ? comma1 : text.find(',', comma1 + 1);
    if (comma2 == std::string::npos || text.find(',', comma2 + 1) != std::string::npos)
        throw Exception("'" + text + "' is not three numbers x,y,z");
    return {ParseNumber(text.substr(0, comma1), text), ParseNumber(text.substr(comma1 + 1, comma2 - comma1 - 1), text),
            ParseNumber(text.substr(comma2 + 1), text)};
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
