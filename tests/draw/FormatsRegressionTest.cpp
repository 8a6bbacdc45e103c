// Edge cases of the picture formats and unformatted numbers that the fuzzing of
// tests/fuzz/FuzzFormats.cpp went through: exact binary halves, carries, values that
// round to zero, and the ends of the single and double ranges. Each expected text is
// worked out by hand in the comment beside it.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>

#include "draw/Formats.h"
#include "draw/RunError.h"

namespace {

// A half that a binary double holds exactly is rounded away from zero, where C's printf
// would round it to the even digit.
TEST(FormatsRegressionTest, ExactHalvesRoundAwayFromZero) {
    EXPECT_EQ(Format(0.0625, "#.###"), ".063");     // 1/16 = 0.062|5
    EXPECT_EQ(Format(-0.0625, "#.###"), "-.063");
    EXPECT_EQ(Format(0.03125, "###.####"), ".0313");  // 1/32 = 0.0312|5
    EXPECT_EQ(Format(0.015625, "###.#####"), ".01563");   // 1/64 = 0.01562|5
    EXPECT_EQ(Format(0.0078125, "###.######"), ".007813");  // 1/128 = 0.007812|5
    EXPECT_EQ(Format(2.5, "###."), "3.");
    EXPECT_EQ(Format(0.5, "###"), "1");
    EXPECT_EQ(Format(-0.5, "###"), "-1");
    EXPECT_EQ(Format(4.5, "######"), "5");
    // Just below a half stays below: 0.0625 - 2^-30 is 0.06249999906...
    EXPECT_EQ(Format(0.0625 - std::ldexp(1.0, -30), "#.###"), ".062");
}

TEST(FormatsRegressionTest, ValuesThatRoundToZeroPrintNoSign) {
    EXPECT_EQ(Format(-0.0004, "#.###"), ".");   // -0.000|4
    EXPECT_EQ(Format(-0.4, "###"), "");         // no lone minus
    EXPECT_EQ(Format(-0.0, "###."), ".");
    EXPECT_EQ(Format(-0.0000004, "###.######"), ".");  // -0.000000|4
    EXPECT_EQ(Format(5e-324, "###.######"), ".");      // the smallest double
    EXPECT_EQ(Format(-5e-324, ".###"), ".");
}

TEST(FormatsRegressionTest, CarriesThroughEveryDecimal) {
    // 1 - 2^-20 = 0.99999904632568359375: to 5 decimals 0.99999|9 rounds up to 1.00000.
    EXPECT_EQ(Format(1.0 - std::ldexp(1.0, -20), "###.#####"), "1.");
    // 1000 - 2^-21 = 999.99999952316284...: to 6 decimals 999.999999|5 carries into 1000.
    EXPECT_EQ(Format(1000.0 - std::ldexp(1.0, -21), "###.######"), "1000.");
    // The double nearest 999.9999995 is 999.99999949999994...: below the half, it stays.
    EXPECT_EQ(Format(999.9999995, "###.######"), "999.999999");
    EXPECT_EQ(Format(-99999999.5, "#########"), "-100000000");  // exact half, away from zero
}

TEST(FormatsRegressionTest, TheEndsOfTheRangesPrintEveryIntegerDigit) {
    // FLT_MAX = (2 - 2^-23) * 2^127, exactly 340282346638528859811704183484516925440.
    EXPECT_EQ(Format(static_cast<double>(FLT_MAX), "###."), "340282346638528859811704183484516925440.");
    EXPECT_EQ(Format(1e20, "######"), "100000000000000000000");  // 1e20 = 2^20 * 5^20, exact
    EXPECT_EQ(Format(-static_cast<double>(INT16_MIN), "###"), "32768");
    // The largest double has 309 integer digits: printed whole, no error.
    const std::string big = Format(DBL_MAX, "#########");
    EXPECT_EQ(big.size(), 309u);
    EXPECT_EQ(big.substr(0, 17), "17976931348623157");
    EXPECT_THROW(Format(-HUGE_VAL, "###."), RunError);
}

// Found by the fuzzer: the 15 digits of the largest double, 1.79769313486232E+308, are
// above the largest double itself (1.7976931348623157e308 rounds up at the 15th digit), so
// the text cannot be read back as a double. That is right: it is how the system prints
// such a number; the fuzzer reads it back in long double now.
TEST(FormatsRegressionTest, UnformattedEndsOfTheRanges) {
    EXPECT_EQ(Unformatted(DBL_MAX), " 1.79769313486232E+308 ");
    EXPECT_EQ(Unformatted(-DBL_MAX), "-1.79769313486232E+308 ");
    // FLT_MAX = 3.40282346...e38: 7 digits 3.402823, the 8th is 4.
    EXPECT_EQ(Unformatted(FLT_MAX), " 3.402823E+38 ");
    // The smallest single, 2^-149 = 1.40129846...e-45.
    EXPECT_EQ(Unformatted(std::ldexp(1.0f, -149)), " 1.401298E-45 ");
    // The smallest double, 2^-1074 = 4.9406564584124654e-324: 15 digits 4.94065645841247.
    EXPECT_EQ(Unformatted(std::ldexp(1.0, -1074)), " 4.94065645841247E-324 ");
    EXPECT_EQ(Unformatted(INT_MIN), "-2147483648 ");
    EXPECT_EQ(Unformatted(static_cast<int16_t>(INT16_MIN)), "-32768 ");
    EXPECT_EQ(Unformatted(-0.0f), " 0 ");  // negative zero prints as zero
    EXPECT_THROW(Unformatted(std::nanf("")), RunError);
    EXPECT_THROW(Unformatted(-HUGE_VAL), RunError);
}

}  // namespace
