// Picture formats and unformatted numbers, which every printed table goes through: one
// table of value, picture and the text expected, each worked out by hand.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "draw/Formats.h"
#include "draw/RunError.h"

namespace {

struct Case {
    double value;
    const char* picture;
    const char* text;
};

const Case Cases[] = {
    {0.5, "#.###", ".5"},  // no digit before the point below 1
    {-0.25, "#.###", "-.25"},
    {2.0, "#.###", "2."},  // the point stays when no decimals remain
    {0.0, "#.###", "."},
    {1.2344, "#.###", "1.234"},
    {12.5, "#.###", "12.5"},  // integer digits beyond the "#" count
    {0.9996, "#.###", "1."},  // carries into the integer part
    {99.9999951, "###.#####", "100."},
    {-0.0004, "#.###", "."},  // rounds to zero: no sign
    {-0.4, "###", ""},
    {4.123456, "###.#####", "4.12346"},
    {0.12345, ".###", ".123"},
    {1.5, ".###", "1.5"},
    {1234.0, "###", "1234"},  // more digits than "#": still printed
    {0.0, "###", ""},         // a zero count is an empty field
    // Exact binary halves round away from zero, where printf would round to even.
    {0.0625, "#.###", ".063"},
    {2.5, "###.", "3."},
    {0.5, "###", "1"},
    {0.0625 - 0x1p-30, "#.###", ".062"},  // just below the half
    {1000.0 - 0x1p-21, "###.######", "1000."},  // 999.999999|52...: carries through every decimal
    {999.9999995, "###.######", "999.999999"},  // the nearest double is below the half
    {static_cast<double>(FLT_MAX), "###.", "340282346638528859811704183484516925440."},
};

TEST(Formats, PictureTable) {
    for (const Case& c : Cases) EXPECT_EQ(Format(c.value, c.picture), c.text) << c.value << " " << c.picture;
    EXPECT_THROW(Format(1.0 / 0.0, "#.###"), RunError);
    EXPECT_THROW(Format(std::nan(""), "###"), RunError);
}

TEST(Formats, UnformattedNumbersHaveBlanksAndSevenOrFifteenDigits) {
    EXPECT_EQ(Unformatted(0.5f), " .5 ");
    EXPECT_EQ(Unformatted(-0.5f), "-.5 ");
    EXPECT_EQ(Unformatted(0.0f), " 0 ");
    EXPECT_EQ(Unformatted(-0.0f), " 0 ");
    EXPECT_EQ(Unformatted(2.0f / 3.0f), " .6666667 ");  // rounded at the 7th digit
    EXPECT_EQ(Unformatted(0.1f), " .1 ");              // shortest form, not .1000000015
    EXPECT_EQ(Unformatted(123456.7f), " 123456.7 ");
    EXPECT_EQ(Unformatted(FLT_MAX), " 3.402823E+38 ");
    EXPECT_EQ(Unformatted(1790), " 1790 ");
    EXPECT_EQ(Unformatted(-3), "-3 ");
    EXPECT_EQ(Unformatted(1.0 / 3.0), " .333333333333333 ");  // 15 digits for a double
    EXPECT_EQ(Unformatted(DBL_MAX), " 1.79769313486232E+308 ");
    EXPECT_THROW(Unformatted(std::nanf("")), RunError);
}

}  // namespace
