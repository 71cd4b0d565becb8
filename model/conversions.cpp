#include "conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iomanip>
#include <limits>
#include <locale>
#include <sstream>

#include "errors.h"

char DecimalSeparator = '.';

namespace {

std::string TrimBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string IntText(int32_t n)
{
    return std::to_string(n);
}

int32_t TextInt(const std::string& text)
{
    const std::string t = TrimBlanks(text);
    const char* first = t.data();
    const char* last = t.data() + t.size();
    // from_chars takes no '+' but does take '-': skip a '+' only before a
    // digit, or "+-5" would pass as -5.
    if (last - first >= 2 && *first == '+' && first[1] >= '0' && first[1] <= '9')
        ++first;
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (t.empty() || ec != std::errc() || end != last)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

float TextFloat(const std::string& text)
{
    const auto fail = [&text]() { return EConvertError("'" + text + "' is not a valid floating point value"); };
    std::string t = TrimBlanks(text);
    // Accept only the locale's separator; the parser below wants '.'.
    if (DecimalSeparator != '.' && t.find('.') != std::string::npos)
        throw fail();
    for (char& c : t)
        if (c == DecimalSeparator)
            c = '.';
    // Digits with one optional point, an optional sign and an optional
    // exponent; no hexadecimal, no "inf" or "nan".
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    size_t digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9')
            ++digits;
        else if (t[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        throw fail();
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        size_t expDigits = 0;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
            ++expDigits;
        if (expDigits == 0)
            throw fail();
    }
    if (i != t.size())
        throw fail();
    const char* first = t.data() + (t[0] == '+' ? 1 : 0);
    double value = 0;
    const auto [end, ec] = std::from_chars(first, t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size())
        throw fail();
    const float result = static_cast<float>(value);
    if (std::isinf(result))
        throw fail();
    return result;
}

namespace {

// One printf conversion "%[flags][width][.precision]f" of value (flags '-',
// '+', '0'), with '.' as its decimal point whatever the process locale says:
// a stream in the classic locale formats as printf does in the "C" locale.
std::string FormatFixed(const std::string& conversion, double value)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(6);
    const char* p = conversion.c_str() + 1;
    for (;; ++p) {
        if (*p == '-')
            out << std::left;
        else if (*p == '+')
            out << std::showpos;
        else if (*p == '0')
            out << std::internal << std::setfill('0');
        else
            break;
    }
    int width = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        width = std::min(width * 10 + (*p - '0'), 1000);
    if (*p == '.') {
        int precision = 0;
        for (++p; *p >= '0' && *p <= '9'; ++p)
            precision = std::min(precision * 10 + (*p - '0'), 1000);
        out << std::setprecision(precision);
    }
    out << std::setw(width) << value;
    return out.str();
}

}  // namespace

std::string FormatFloats(const char* format, std::initializer_list<double> values)
{
    std::string out;
    auto next = values.begin();
    for (const char* p = format; *p;) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        const char* start = p++;
        while (*p && *p != 'f')
            ++p;
        if (!*p)
            break;
        ++p;
        const double value = next != values.end() ? *next++ : 0.0;
        std::string text = FormatFixed(std::string(start, p), value);
        std::replace(text.begin(), text.end(), '.', DecimalSeparator);
        out += text;
    }
    return out;
}
