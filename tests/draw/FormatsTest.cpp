// The number rules every printed table and computation goes through: picture formats (one
// table of value, picture and text, each worked out by hand), unformatted numbers, banker's
// rounding to 16-bit integers, overflow, colours and the 1-based fixed-capacity arrays.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "TestForm.h"
#include "draw/Arrays.h"
#include "draw/Formats.h"
#include "draw/Numeric.h"
#include "draw/RunError.h"

namespace {

struct Case {
    double value;
    const char* picture;
    const char* text;
};

const Case Cases[] = {
    {0.5, "#.###", ".5"},  // no digit before the point below 1
    {-0.25, "#.###", "-.25"}, {1.2344, "#.###", "1.234"}, {4.123456, "###.#####", "4.12346"},
    {2.0, "#.###", "2."}, {0.0, "#.###", "."},  // the point stays when no decimals remain
    {12.5, "#.###", "12.5"}, {1234.0, "###", "1234"},  // integer digits beyond the "#" count
    {0.9996, "#.###", "1."}, {99.9999951, "###.#####", "100."},  // carries into the integer part
    {-0.0004, "#.###", "."}, {-0.4, "###", ""},  // rounds to zero: no sign
    {0.12345, ".###", ".123"}, {1.5, ".###", "1.5"},
    {0.0, "###", ""},  // a zero count is an empty field
    // Exact binary halves round away from zero, where printf would round to even.
    {0.0625, "#.###", ".063"}, {2.5, "###.", "3."}, {0.5, "###", "1"},
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

TEST(Numeric, ToInt16RoundsHalvesToEvenAndOverflowsOutsideSixteenBits) {
    const double in[] = {0.5, 1.5, 2.5, -1.5, -2.5, 2.4999, 2.5001, 127.49997f, -32768.5};
    const int out[] = {0, 2, 2, -2, -2, 2, 3, 127, -32768};
    for (std::size_t k = 0; k < std::size(in); ++k) EXPECT_EQ(ToInt16(in[k]), out[k]) << in[k];
    for (double v : {32767.5, -32769.0, std::nan("")}) EXPECT_EQ(Thrown([v] { ToInt16(v); }), "Overflow") << v;
    EXPECT_EQ(Thrown([] { Add16(32767, 1); }), "Overflow");
    EXPECT_EQ(Thrown([] { Divide(7600, 0); }), "Division by zero");
}

TEST(Numeric, RgbPacksRedLowBlueHighAndClampsAt255) {
    EXPECT_EQ(RGB(1, 2, 3), 1 + 512 + 3 * 65536);
    EXPECT_EQ(RGB(300, 0, 0), 255);
    EXPECT_EQ(RGB(127.5, 128.5, 0.5), 128 + 256 * 128);  // halves to the even neighbour
    EXPECT_EQ(Thrown([] { RGB(-1, 0, 0); }), "Invalid procedure call or argument");
    EXPECT_EQ(BlueOf(RGB(10, 20, 30)), 30);
    EXPECT_EQ(ColourFromFloat(13.5), 14);
}

TEST(Arrays, IndexesRunFromOneToTheCapacityAndFloatIndexesRoundToEven) {
    Vec1<int, 5> v;
    for (int i = 1; i <= 5; ++i) v(i) = 10 * i;
    EXPECT_EQ(v(2.5f), 20);
    EXPECT_EQ(v(4.5), 40);
    for (double bad : {0.0, 0.5, 5.5, 6.0}) EXPECT_EQ(Thrown([&] { v(bad); }), "Subscript out of range") << bad;
    CityDateGrid g;
    g(1, 2) = 3.0f;
    EXPECT_EQ(g(2, 1), 0.0f);
    EXPECT_EQ(Thrown([&] { g(1, 0); }), "Subscript out of range");
}

}  // namespace
