#include "model/Numbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace pontrel {
namespace {

TEST(LeadingNumber, PlainNumbersAndTheExamplesOfTheRecordRule) {
    EXPECT_EQ(leadingNumber("0500"), 500.0);
    EXPECT_EQ(leadingNumber(""), 0.0);
    EXPECT_EQ(leadingNumber("12ab"), 12.0);
    EXPECT_EQ(leadingNumber("-5"), -5.0);
    EXPECT_EQ(leadingNumber("+7"), 7.0);
    EXPECT_EQ(leadingNumber("abc"), 0.0);
    EXPECT_EQ(leadingNumber("-"), 0.0);
    EXPECT_EQ(leadingNumber("+-3"), 0.0);
    EXPECT_EQ(leadingNumber("--3"), 0.0);
    EXPECT_FALSE(std::signbit(leadingNumber("-0")));
}

TEST(LeadingNumber, BlanksTabsAndLineFeedsAreSkippedEverywhere) {
    EXPECT_EQ(leadingNumber("3 000"), 3000.0);
    EXPECT_EQ(leadingNumber("  42"), 42.0);
    EXPECT_EQ(leadingNumber("\t1\t2\n3"), 123.0);
    EXPECT_EQ(leadingNumber("- 5"), -5.0);
    EXPECT_EQ(leadingNumber("1 . 5"), 1.5);
    EXPECT_EQ(leadingNumber("1 e 3"), 1000.0);
    EXPECT_EQ(leadingNumber("& H 7 C"), 124.0);
    // A carriage return is not a blank: it ends the number.
    EXPECT_EQ(leadingNumber("1\r2"), 1.0);
    EXPECT_EQ(leadingNumber("\r2"), 0.0);
}

TEST(LeadingNumber, DecimalPoint) {
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("5."), 5.0);
    EXPECT_EQ(leadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(leadingNumber("."), 0.0);
    EXPECT_EQ(leadingNumber("..5"), 0.0);
    EXPECT_EQ(leadingNumber("-.25"), -0.25);
    EXPECT_EQ(leadingNumber("0.000001"), 0.000001);
    EXPECT_EQ(leadingNumber("1,5"), 1.0);
}

TEST(LeadingNumber, Exponent) {
    EXPECT_EQ(leadingNumber("1e3"), 1000.0);
    EXPECT_EQ(leadingNumber("1E+3"), 1000.0);
    EXPECT_EQ(leadingNumber("25e-1"), 2.5);
    EXPECT_EQ(leadingNumber("1D2"), 100.0);
    EXPECT_EQ(leadingNumber("1d-2"), 0.01);
    EXPECT_EQ(leadingNumber("1e"), 1.0);
    EXPECT_EQ(leadingNumber("1e+"), 1.0);
    EXPECT_EQ(leadingNumber("2ex"), 2.0);
    EXPECT_EQ(leadingNumber("e5"), 0.0);
    EXPECT_EQ(leadingNumber("1e-999"), 0.0);
    EXPECT_EQ(leadingNumber("1e999"), DBL_MAX);
    EXPECT_EQ(leadingNumber("-1e999"), -DBL_MAX);
    EXPECT_EQ(leadingNumber("1e" + std::string(5000, '9')), DBL_MAX);
    EXPECT_EQ(leadingNumber("1e-" + std::string(5000, '9')), 0.0);
    EXPECT_EQ(leadingNumber("1.7976931348623157e308"), DBL_MAX);
    EXPECT_EQ(leadingNumber("1.8e308"), DBL_MAX);
    EXPECT_EQ(leadingNumber("4.9406564584124654e-324"), 4.9406564584124654e-324);
}

TEST(LeadingNumber, EndlessDigitsStayFinite) {
    EXPECT_EQ(leadingNumber(std::string(400, '9')), DBL_MAX);
    EXPECT_EQ(leadingNumber("-" + std::string(100000, '7')), -DBL_MAX);
    EXPECT_EQ(leadingNumber("0." + std::string(100000, '0') + "1"), 0.0);
    EXPECT_EQ(leadingNumber(std::string(100000, '0') + "12"), 12.0);
    // More digits than are kept: the value still rounds correctly.
    EXPECT_EQ(leadingNumber("1" + std::string(1000, '0') + "e-1000"), 1.0);
    EXPECT_EQ(leadingNumber("0." + std::string(2000, '3')), 1.0 / 3.0);
    EXPECT_EQ(leadingNumber("0." + std::string(200000, '0') + "1e200001"), 1.0);
    EXPECT_EQ(leadingNumber("1" + std::string(200000, '0') + "e-200000"), 1.0);
}

TEST(LeadingNumber, HexadecimalAndOctal) {
    EXPECT_EQ(leadingNumber("&H7C"), 124.0);
    EXPECT_EQ(leadingNumber("&h7c"), 124.0);
    EXPECT_EQ(leadingNumber("&H70"), 112.0);
    EXPECT_EQ(leadingNumber("&HFFFF"), 65535.0);
    EXPECT_EQ(leadingNumber("&HFFFFFFFF"), 4294967295.0);
    EXPECT_EQ(leadingNumber("&H" + std::string(1000, 'F')), 4294967295.0);
    EXPECT_EQ(leadingNumber("&H1G"), 1.0);
    EXPECT_EQ(leadingNumber("&O17"), 15.0);
    EXPECT_EQ(leadingNumber("&o17"), 15.0);
    EXPECT_EQ(leadingNumber("&O178"), 15.0);
    EXPECT_EQ(leadingNumber("&O" + std::string(1000, '7')), 4294967295.0);
    EXPECT_EQ(leadingNumber("&H"), 0.0);
    EXPECT_EQ(leadingNumber("&"), 0.0);
    EXPECT_EQ(leadingNumber("&X12"), 0.0);
    EXPECT_EQ(leadingNumber("-&H10"), 0.0);
}

TEST(NumberText, ShortestPlainDecimal) {
    EXPECT_EQ(numberText(500), "500");
    EXPECT_EQ(numberText(-5), "-5");
    EXPECT_EQ(numberText(0), "0");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(0.25), "0.25");
    EXPECT_EQ(numberText(1.5), "1.5");
    EXPECT_EQ(numberText(0.1), "0.1");
    EXPECT_EQ(numberText(1e-7), "0.0000001");
    EXPECT_EQ(numberText(1e21), "1000000000000000000000");
    EXPECT_EQ(numberText(std::nan("")), "0");
    const std::string huge = numberText(DBL_MAX);
    EXPECT_EQ(huge.size(), 309u);
    EXPECT_EQ(huge.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_EQ(numberText(std::numeric_limits<double>::infinity()), huge);
}

TEST(NumberText, RoundTripsThroughTheLeadingNumber) {
    for (const double v : {0.1, 1.0 / 3.0, 123456.789, -2.5e-10, 1e300, DBL_MAX, -DBL_MAX,
                           4.9406564584124654e-324, 2.2250738585072014e-308}) {
        const std::string text = numberText(v);
        EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
        EXPECT_EQ(leadingNumber(text), v) << text;
    }
}

TEST(NumberRuleText, ExamplesOfTheRecordRule) {
    EXPECT_EQ(numberRuleText("0500"), "500");
    EXPECT_EQ(numberRuleText(""), "0");
    EXPECT_EQ(numberRuleText("12ab"), "12");
    EXPECT_EQ(numberRuleText("-5"), "-5");
    EXPECT_EQ(numberRuleText("3 000"), "3000");
    EXPECT_EQ(numberRuleText("&H70"), "112");
}

TEST(CounterText, FifteenDigitsNoExponentGivenSeparator) {
    EXPECT_EQ(counterText(1.5, ","), "1,5");
    EXPECT_EQ(counterText(1.5, "."), "1.5");
    EXPECT_EQ(counterText(15, ","), "15");
    EXPECT_EQ(counterText(-3, ","), "-3");
    EXPECT_EQ(counterText(0, ","), "0");
    EXPECT_EQ(counterText(0.1 + 0.2, ","), "0,3");
    EXPECT_EQ(counterText(1e20, ","), "100000000000000000000");
    EXPECT_EQ(counterText(123456789012345678.0, ","), "123456789012346000");
    EXPECT_EQ(counterText(1e-5, ","), "0,00001");
    EXPECT_EQ(counterText(-0.000123, "."), "-0.000123");
    EXPECT_EQ(counterText(999999999999999.9, ","), "1000000000000000");
    const std::string huge = counterText(DBL_MAX, ",");
    EXPECT_EQ(huge.size(), 309u);
    EXPECT_EQ(huge.substr(0, 15), "179769313486232");
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(0.5), 0.0);
    EXPECT_EQ(roundHalfEven(1.5), 2.0);
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(3.5), 4.0);
    EXPECT_EQ(roundHalfEven(-0.5), 0.0);
    EXPECT_EQ(roundHalfEven(-1.5), -2.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfEven(2.4999999), 2.0);
    EXPECT_EQ(roundHalfEven(2.5000001), 3.0);
    EXPECT_EQ(roundHalfEven(-2.6), -3.0);
    EXPECT_EQ(roundHalfEven(4503599627370497.0), 4503599627370497.0);
    EXPECT_EQ(roundHalfEven(DBL_MAX), DBL_MAX);
}

TEST(Saturation, ConversionsClampAndRound) {
    EXPECT_EQ(toInt(2.5), 2);
    EXPECT_EQ(toInt(3.5), 4);
    EXPECT_EQ(toInt(-2.5), -2);
    EXPECT_EQ(toInt(std::nan("")), 0);
    EXPECT_EQ(toInt(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(toInt(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(toInt(2147483647.4), 2147483647);
    EXPECT_EQ(toInt(2147483647.5), 2147483647);
    EXPECT_EQ(toInt(-2147483648.4), -2147483647 - 1);
    EXPECT_EQ(toInt(std::numeric_limits<double>::infinity()), std::numeric_limits<int>::max());
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(32768), 32767);
    EXPECT_EQ(toInt16(-40000), -32768);
    EXPECT_EQ(toInt16(std::nan("")), 0);
    EXPECT_EQ(toInt64(9.3e18), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(toInt64(9223372036854775808.0), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(toInt64(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(toInt64(-1e19), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(toInt64(1222.5), 1222);
    EXPECT_EQ(toInt64(-std::numeric_limits<double>::infinity()),
              std::numeric_limits<std::int64_t>::min());
}

}  // namespace
}  // namespace pontrel
