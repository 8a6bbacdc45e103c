// The number rules every computation leans on: banker's rounding to 16-bit integers,
// overflow, colours, the palette and the 1-based fixed-capacity arrays.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "draw/Arrays.h"
#include "draw/Numeric.h"
#include "draw/RunError.h"

namespace {
template <typename F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const RunError& e) {
        return e.what();
    }
    return "no error";
}
}  // namespace

TEST(NumericTest, ToInt16RoundsExactHalvesToTheEvenNeighbour) {
    EXPECT_EQ(ToInt16(0.5), 0);
    EXPECT_EQ(ToInt16(1.5), 2);
    EXPECT_EQ(ToInt16(2.5), 2);
    EXPECT_EQ(ToInt16(3.5), 4);
    EXPECT_EQ(ToInt16(-0.5), 0);
    EXPECT_EQ(ToInt16(-1.5), -2);
    EXPECT_EQ(ToInt16(-2.5), -2);
    EXPECT_EQ(ToInt16(2.4999), 2);
    EXPECT_EQ(ToInt16(2.5001), 3);
    EXPECT_EQ(ToInt16(127.49997f), 127);  // the 12th grey level of the rank-size plot
    EXPECT_EQ(ToInt16(101.0f), 101);
}

TEST(NumericTest, ToInt16OverflowsOutsideTheSixteenBitRange) {
    EXPECT_EQ(ToInt16(32767.0), 32767);
    EXPECT_EQ(ToInt16(32767.4), 32767);
    EXPECT_EQ(ToInt16(-32768.0), -32768);
    EXPECT_EQ(ToInt16(-32768.5), -32768);  // the even neighbour is still in range
    EXPECT_EQ(ErrorOf([] { ToInt16(32767.5); }), "Overflow");  // rounds to 32768
    EXPECT_EQ(ErrorOf([] { ToInt16(32768.0); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { ToInt16(-32769.0); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { ToInt16(1e12); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { ToInt16(std::numeric_limits<double>::quiet_NaN()); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { ToInt16(std::numeric_limits<double>::infinity()); }), "Overflow");
}

TEST(NumericTest, SixteenBitCounterAndDivisionFaults) {
    EXPECT_EQ(Add16(32766, 1), 32767);
    EXPECT_EQ(ErrorOf([] { Add16(32767, 1); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { Add16(-32768, -1); }), "Overflow");
    EXPECT_DOUBLE_EQ(Divide(7600, 4), 1900);
    EXPECT_EQ(ErrorOf([] { Divide(7600, 0); }), "Division by zero");
    EXPECT_EQ(ErrorOf([] { Divide(0, 0); }), "Division by zero");
}

TEST(NumericTest, RgbPacksComponentsAndCountsAbove255As255) {
    EXPECT_EQ(RGB(0, 0, 0), 0);
    EXPECT_EQ(RGB(200, 200, 200), 200 + 256 * 200 + 65536 * 200);
    EXPECT_EQ(RGB(1, 2, 3), 1 + 512 + 3 * 65536);
    EXPECT_EQ(RGB(300, 256, 1000), RGB(255, 255, 255));
    EXPECT_EQ(RGB(300, 0, 0), 255);
    // Components are converted like every float: exact halves to the even neighbour.
    EXPECT_EQ(RGB(127.5, 128.5, 0.5), 128 + 256 * 128);
    EXPECT_EQ(RedOf(RGB(10, 20, 30)), 10);
    EXPECT_EQ(GreenOf(RGB(10, 20, 30)), 20);
    EXPECT_EQ(BlueOf(RGB(10, 20, 30)), 30);
}

TEST(NumericTest, PaletteHoldsTheSixteenStandardColours) {
    const int expected[16][3] = {{0, 0, 0},       {0, 0, 128},     {0, 128, 0},   {0, 128, 128},
                                 {128, 0, 0},     {128, 0, 128},   {128, 128, 0}, {192, 192, 192},
                                 {128, 128, 128}, {0, 0, 255},     {0, 255, 0},   {0, 255, 255},
                                 {255, 0, 0},     {255, 0, 255},   {255, 255, 0}, {255, 255, 255}};
    for (int n = 0; n < 16; ++n) {
        Colour c = PaletteColour(n);
        EXPECT_EQ(RedOf(c), expected[n][0]) << n;
        EXPECT_EQ(GreenOf(c), expected[n][1]) << n;
        EXPECT_EQ(BlueOf(c), expected[n][2]) << n;
    }
    EXPECT_EQ(PaletteColour(1), 128 * 65536);  // dark blue: blue is the high byte
    EXPECT_THROW(PaletteColour(16), RunError);
    EXPECT_THROW(PaletteColour(-1), RunError);
}

TEST(NumericTest, ColourHeldInAFloatRoundsToTheNearestInteger) {
    EXPECT_EQ(ColourFromFloat(static_cast<float>(RGB(200, 200, 200))), RGB(200, 200, 200));
    EXPECT_EQ(ColourFromFloat(16777215.0f), RGB(255, 255, 255));
    EXPECT_EQ(ColourFromFloat(12.5), 12);
    EXPECT_EQ(ColourFromFloat(13.5), 14);
}

TEST(ArraysTest, IndexesRunFromOneToTheCapacity) {
    DateVec v;
    v(1) = 1.5f;
    v(MaxDates) = 2.5f;
    EXPECT_EQ(v(1), 1.5f);
    EXPECT_EQ(v(MaxDates), 2.5f);
    EXPECT_EQ(v(2), 0.0f);  // a field no one wrote holds 0
    EXPECT_EQ(ErrorOf([&] { v(MaxDates + 1); }), "Subscript out of range");
    EXPECT_EQ(ErrorOf([&] { v(0); }), "Subscript out of range");
    EXPECT_EQ(ErrorOf([&] { v(-1); }), "Subscript out of range");
    const DateVec& cv = v;
    EXPECT_EQ(ErrorOf([&] { cv(MaxDates + 1); }), "Subscript out of range");
}

TEST(ArraysTest, FloatIndexesRoundTiesToEven) {
    Vec1<int, 5> v;
    for (int i = 1; i <= 5; ++i) v(i) = 10 * i;
    EXPECT_EQ(v(1.5f), 20);  // 1.5 -> 2
    EXPECT_EQ(v(2.5f), 20);  // 2.5 -> 2
    EXPECT_EQ(v(2.6), 30);
    EXPECT_EQ(v(4.5), 40);
    EXPECT_EQ(ErrorOf([&] { v(0.5f); }), "Subscript out of range");  // 0.5 -> 0
    EXPECT_EQ(ErrorOf([&] { v(5.5f); }), "Subscript out of range");  // 5.5 -> 6
    EXPECT_EQ(v(5.4f), 50);
}

TEST(ArraysTest, GridsCheckBothIndexesAndKeepCellsApart) {
    CityDateGrid g;
    g(1, 2) = 3.0f;
    g(2, 1) = 4.0f;
    g(MaxCities, MaxDates) = 5.0f;
    EXPECT_EQ(g(1, 2), 3.0f);
    EXPECT_EQ(g(2, 1), 4.0f);
    EXPECT_EQ(g(MaxCities, MaxDates), 5.0f);
    EXPECT_EQ(g(1, 1), 0.0f);
    EXPECT_EQ(ErrorOf([&] { g(MaxCities + 1, 1); }), "Subscript out of range");
    EXPECT_EQ(ErrorOf([&] { g(1, MaxDates + 1); }), "Subscript out of range");
    EXPECT_EQ(ErrorOf([&] { g(0, 1); }), "Subscript out of range");
    EXPECT_EQ(ErrorOf([&] { g(1, 0); }), "Subscript out of range");
    Grid<float, 40, 40> s;
    EXPECT_EQ(ErrorOf([&] { s(41, 1); }), "Subscript out of range");
    EXPECT_EQ(s(40, 40), 0.0f);
}
