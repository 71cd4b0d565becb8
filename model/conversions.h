#pragma once
// Number <-> text conversions as the user sees them: decimal integers, and
// floats with the user's locale decimal separator.

#include <cstdint>
#include <initializer_list>
#include <string>

// The decimal separator of the user's locale. The GUI sets it from the
// system locale at start-up; '.' until then.
extern char DecimalSeparator;

// Decimal text of n.
std::string IntText(int32_t n);

// Value of a decimal integer text (optional sign, blanks around allowed).
// Throws EConvertError "'<text>' is not a valid integer value".
int32_t TextInt(const std::string& text);

// Value of a decimal number text with DecimalSeparator as its decimal point,
// optionally with an exponent, converted to float32.
// Throws EConvertError "'<text>' is not a valid floating point value".
float TextFloat(const std::string& text);

// printf-style formatting of floats: every %...f conversion of format takes the
// next value and shows DecimalSeparator as its decimal point, whatever the
// process locale; the rest of format is copied as it stands.
std::string FormatFloats(const char* format, std::initializer_list<double> values);
