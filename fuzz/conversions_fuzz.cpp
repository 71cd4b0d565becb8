// Fuzz target: any text through TextInt and TextFloat, with '.' or ',' as the
// decimal separator (the input's first byte, ',' or other). An accepted integer reads
// back from its own decimal text; an accepted float is finite and reads back
// exactly from the exact decimal text FormatFloats gives it.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "conversions.h"
#include "errors.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    DecimalSeparator = data[0] == ',' ? ',' : '.';
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        const int32_t n = TextInt(text);
        Require(TextInt(IntText(n)) == n);
        Require(text.find_first_not_of(" +-0123456789") == std::string::npos);
    } catch (const EConvertError&) {
    }
    try {
        const float f = TextFloat(text);
        Require(std::isfinite(f));
        Require(text.find_first_not_of(std::string(" +-0123456789eE") + DecimalSeparator) == std::string::npos);
        // 150 decimals show every float32 exactly.
        const float back = TextFloat(FormatFloats("%.150f", {double(f)}));
        Require(back == f && std::signbit(back) == std::signbit(f));
    } catch (const EConvertError&) {
    }
    return 0;
}
