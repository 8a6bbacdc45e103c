// The number rules every computation leans on: banker's rounding to 16-bit integers,
// overflow, colours and the 1-based fixed-capacity arrays.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "draw/Arrays.h"
#include "draw/Numeric.h"
#include "TestForm.h"

namespace {

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
