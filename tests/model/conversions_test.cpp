#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <functional>

#include "conversions.h"
#include "error_text.h"
#include "errors.h"

namespace {

// The editor runs in the C library's locale of its environment (Qt takes it
// at start), so these tests do too: run under a comma locale, they check the
// conversions under it.
const bool EnvironmentLocale = [] {
    if (std::setlocale(LC_ALL, ""))
        return true;
    std::fprintf(stderr, "The locale of the environment is not installed: the tests run in the \"C\" locale\n");
    return false;
}();

std::string ConvertErrorOf(const std::function<void()>& f)
{
    return MessageOf<EConvertError>(f);
}

// Restores the decimal separator after each test.
class DecimalSeparatorTest : public ::testing::Test {
protected:
    void TearDown() override { DecimalSeparator = '.'; }
};

TEST(IntText, WholeInt32Range)
{
    EXPECT_EQ(IntText(0), "0");
    EXPECT_EQ(IntText(-17), "-17");
    EXPECT_EQ(IntText(INT32_MAX), "2147483647");
    EXPECT_EQ(IntText(INT32_MIN), "-2147483648");
}

TEST(TextInt, AcceptsSignedDecimalsWithinInt32)
{
    EXPECT_EQ(TextInt("42"), 42);
    EXPECT_EQ(TextInt("-17"), -17);
    EXPECT_EQ(TextInt("+5"), 5);
    EXPECT_EQ(TextInt("  12 "), 12);
    EXPECT_EQ(TextInt("007"), 7);
    EXPECT_EQ(TextInt("2147483647"), INT32_MAX);
    EXPECT_EQ(TextInt("-2147483648"), INT32_MIN);
}

TEST(TextInt, RejectsEverythingElseWithTheTextInTheMessage)
{
    EXPECT_EQ(ConvertErrorOf([] { TextInt("12a"); }), "'12a' is not a valid integer value");
    // The message quotes the text as given, blanks included.
    EXPECT_EQ(ConvertErrorOf([] { TextInt(" "); }), "' ' is not a valid integer value");
    for (const char* bad : {"", "2147483648", "-2147483649", "1.5", "1e3", "0x10", "+-5", "-+5", "- 5", "1 2", "+", "-"})
        EXPECT_EQ(ConvertErrorOf([bad] { TextInt(bad); }), std::string("'") + bad + "' is not a valid integer value");
}

TEST_F(DecimalSeparatorTest, TextFloatWithPoint)
{
    EXPECT_EQ(TextFloat("1.5"), 1.5f);
    EXPECT_EQ(TextFloat("-0.25"), -0.25f);
    EXPECT_EQ(TextFloat(" 3 "), 3.0f);
    EXPECT_EQ(TextFloat("+2"), 2.0f);
    EXPECT_EQ(TextFloat(".5"), 0.5f);
    EXPECT_EQ(TextFloat("1e3"), 1000.0f);
    EXPECT_EQ(TextFloat("2.5E-2"), 0.025f);
    EXPECT_EQ(TextFloat("-1.5e+1"), -15.0f);
    // The result is the nearest float32, not a double cut short.
    EXPECT_EQ(TextFloat("0.1"), 0.1f);
    EXPECT_EQ(TextFloat("3.4028234e38"), 3.4028234e38f);
}

TEST_F(DecimalSeparatorTest, TextFloatWithComma)
{
    DecimalSeparator = ',';
    EXPECT_EQ(TextFloat("1,5"), 1.5f);
    EXPECT_EQ(TextFloat("-2,5e1"), -25.0f);
    EXPECT_EQ(TextFloat("7"), 7.0f);
    // The other separator is not a decimal point here.
    EXPECT_EQ(ConvertErrorOf([] { TextFloat("1.5"); }), "'1.5' is not a valid floating point value");
}

TEST_F(DecimalSeparatorTest, TextFloatRejectsMalformedText)
{
    EXPECT_EQ(ConvertErrorOf([] { TextFloat("1,5"); }), "'1,5' is not a valid floating point value");
    for (const char* bad : {"", "  ", "abc", ".", "1.2.3", "1e", "1e+", "e5", "--1", "+-1", "1 5", "inf", "nan",
                            "0x1p3", "1e39", "-1e39"})
        EXPECT_EQ(ConvertErrorOf([bad] { TextFloat(bad); }),
                  std::string("'") + bad + "' is not a valid floating point value");
}

TEST_F(DecimalSeparatorTest, FormatFloatsPadsAndUsesTheSeparator)
{
    EXPECT_EQ(FormatFloats("Point = %5.2f ,%5.2f ,%5.2f ", {1, -2.5, 0.3}), "Point =  1.00 ,-2.50 , 0.30 ");
    EXPECT_EQ(FormatFloats("Density 0 = %2.3f ,%2.3f ,%2.3f ", {0.5, 0.25, 1}), "Density 0 = 0.500 ,0.250 ,1.000 ");
    EXPECT_EQ(FormatFloats("%4.2f", {-12.5}), "-12.50");
    EXPECT_EQ(FormatFloats("no numbers", {}), "no numbers");
    DecimalSeparator = ',';
    EXPECT_EQ(FormatFloats("Point = %5.2f ,%5.2f ,%5.2f ", {1, -2.5, 0.3}), "Point =  1,00 ,-2,50 , 0,30 ");
    // What FormatFloats shows, TextFloat reads back.
    EXPECT_EQ(TextFloat(FormatFloats("%4.2f", {0.75})), 0.75f);
}

// The C library's locale may put a comma where DecimalSeparator says '.'
// (es_PE), or the other way round: FormatFloats shows only DecimalSeparator.
TEST_F(DecimalSeparatorTest, FormatFloatsIgnoresTheProcessLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "es_PE.UTF-8", "de_DE.utf8"})
        if (!comma && std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',')
            comma = name;
    if (!comma) {
        std::setlocale(LC_ALL, saved.c_str());
        GTEST_SKIP() << "no comma locale installed (scripts/deps generates de_DE.UTF-8)";
    }
    EXPECT_EQ(FormatFloats("Point = %5.2f ,%5.2f ,%5.2f ", {1, -2.5, 0.3}), "Point =  1.00 ,-2.50 , 0.30 ");
    EXPECT_EQ(FormatFloats("%2.3f|%4.2f|%-6.1f|%+f", {0.0625, 1234.5, 0.25, 1}), "0.062|1234.50|0.2   |+1.000000");
    DecimalSeparator = ',';
    EXPECT_EQ(TextFloat(FormatFloats("%4.2f", {-0.75})), -0.75f);
    std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
