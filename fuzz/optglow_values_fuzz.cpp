// Fuzz target: any text as one of optglow's command-line values (the input's
// first byte picks the parser). What a parser accepts obeys its rule: a
// colour is 8 hexadecimal digits that print back the same, vectors are
// finite, densities lie in 0..1, an index is plain decimal digits.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "errors.h"
#include "glow_values.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool Finite(const TFloat3& v)
{
    return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
}

bool InUnitRange(float c)
{
    return c >= 0.0f && c <= 1.0f;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'f')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        switch (data[0] % 4) {
        case 0:
            Require(optglow::ColorText(optglow::ParseColor(text)) == Upper(text));
            break;
        case 1:
            Require(Finite(optglow::ParseVector(text)));
            break;
        case 2: {
            const TFloat3 d = optglow::ParseDensity(text);
            Require(InUnitRange(d.X) && InUnitRange(d.Y) && InUnitRange(d.Z));
            break;
        }
        default: {
            const int index = optglow::ParseIndex(text, "mesh");
            Require(index >= 0 && text.find_first_not_of("0123456789") == std::string::npos);
            break;
        }
        }
    } catch (const Exception&) {
    }
    return 0;
}
