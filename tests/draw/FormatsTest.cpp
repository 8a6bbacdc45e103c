// Picture formats and unformatted numbers: every printed table of the program goes
// through these two functions, so each example a table relies on is checked here.
#include <gtest/gtest.h>

#include <cmath>

#include "draw/Formats.h"
#include "draw/RunError.h"

TEST(FormatsTest, ThreeDecimalPictureOfTheZipfLines) {
    EXPECT_EQ(Format(0.5, "#.###"), ".5");      // no digit before the point below 1
    EXPECT_EQ(Format(-0.25, "#.###"), "-.25");  // sign, then the point
    EXPECT_EQ(Format(2.0, "#.###"), "2.");      // point kept when no decimals remain
    EXPECT_EQ(Format(0.0, "#.###"), ".");       // zero is a lone point
    EXPECT_EQ(Format(1.0, "#.###"), "1.");
    EXPECT_EQ(Format(-0.9876, "#.###"), "-.988");  // rounded to three decimals
    EXPECT_EQ(Format(1.2344, "#.###"), "1.234");
    EXPECT_EQ(Format(1.2346, "#.###"), "1.235");
    EXPECT_EQ(Format(0.1, "#.###"), ".1");     // no trailing zeros
    EXPECT_EQ(Format(12.5, "#.###"), "12.5");  // integer digits beyond the "#" count
}

TEST(FormatsTest, RoundingCarriesIntoTheIntegerPart) {
    EXPECT_EQ(Format(0.9996, "#.###"), "1.");
    EXPECT_EQ(Format(9.99951, "#.###"), "10.");
    EXPECT_EQ(Format(-0.99951, "#.###"), "-1.");
    EXPECT_EQ(Format(99.9999951, "###.#####"), "100.");
    // A value that rounds to nothing at the picture's precision prints as zero does.
    EXPECT_EQ(Format(0.0004, "#.###"), ".");
    EXPECT_EQ(Format(0.0006, "#.###"), ".001");
}

TEST(FormatsTest, FiveAndMoreDecimalPicturesOfTheStatisticsTables) {
    EXPECT_EQ(Format(0.0, "###.#####"), ".");
    EXPECT_EQ(Format(0.25, "###.#####"), ".25");
    EXPECT_EQ(Format(4.123456, "###.#####"), "4.12346");
    EXPECT_EQ(Format(1234.5, "###.#####"), "1234.5");
    EXPECT_EQ(Format(0.123456, "###.####"), ".1235");
    EXPECT_EQ(Format(0.1234564, "###.######"), ".123456");
    EXPECT_EQ(Format(0.00001, "###.####"), ".");
    EXPECT_EQ(Format(-3.5, "###.####"), "-3.5");
}

TEST(FormatsTest, WholeNumberWithPointAndDecimalsOnlyPictures) {
    EXPECT_EQ(Format(12.6, "###."), "13.");
    EXPECT_EQ(Format(0.0, "###."), ".");
    EXPECT_EQ(Format(3.0, "###."), "3.");
    EXPECT_EQ(Format(0.25, ".###"), ".25");
    EXPECT_EQ(Format(0.0, ".###"), ".");
    EXPECT_EQ(Format(0.12345, ".###"), ".123");
    EXPECT_EQ(Format(1.5, ".###"), "1.5");  // the integer digit is still printed
}

TEST(FormatsTest, IntegerPicturesPrintNoPointNoFillAndNoSeparators) {
    EXPECT_EQ(Format(48.0, "###"), "48");
    EXPECT_EQ(Format(101.0, "###"), "101");
    EXPECT_EQ(Format(1234.0, "###"), "1234");  // more digits than "#": still printed
    EXPECT_EQ(Format(0.0, "###"), "");         // a zero count is an empty field
    EXPECT_EQ(Format(47.6, "###"), "48");
    EXPECT_EQ(Format(1790.0, "######"), "1790");
    EXPECT_EQ(Format(201655.0, "#########"), "201655");
    EXPECT_EQ(Format(56780175.0, "#########"), "56780175");
    EXPECT_EQ(Format(1234567890.0, "#########"), "1234567890");
    EXPECT_EQ(Format(0.0, "#########"), "");
    EXPECT_EQ(Format(-5.0, "###"), "-5");
}

TEST(FormatsTest, FormatOfAFaultyNumberIsAnError) {
    EXPECT_THROW(Format(1.0 / 0.0, "#.###"), RunError);
    EXPECT_THROW(Format(std::nan(""), "###"), RunError);
}

TEST(FormatsTest, UnformattedSinglesHaveBlanksAndSevenDigitsAtMost) {
    EXPECT_EQ(Unformatted(0.5f), " .5 ");
    EXPECT_EQ(Unformatted(-0.5f), "-.5 ");
    EXPECT_EQ(Unformatted(1790.0f), " 1790 ");
    EXPECT_EQ(Unformatted(0.0f), " 0 ");
    EXPECT_EQ(Unformatted(1.0f / 3.0f), " .3333333 ");
    EXPECT_EQ(Unformatted(2.0f / 3.0f), " .6666667 ");   // rounded at the 7th digit
    EXPECT_EQ(Unformatted(0.1f), " .1 ");               // shortest form, not .1000000015
    EXPECT_EQ(Unformatted(8008278.0f), " 8008278 ");
    EXPECT_EQ(Unformatted(123456.7f), " 123456.7 ");
    EXPECT_EQ(Unformatted(-42.25f), "-42.25 ");
    EXPECT_EQ(Unformatted(0.0001f), " .0001 ");
}

TEST(FormatsTest, UnformattedIntegersAndDoubles) {
    EXPECT_EQ(Unformatted(1790), " 1790 ");
    EXPECT_EQ(Unformatted(static_cast<int16_t>(2000)), " 2000 ");
    EXPECT_EQ(Unformatted(-3), "-3 ");
    EXPECT_EQ(Unformatted(0), " 0 ");
    EXPECT_EQ(Unformatted(0.25), " .25 ");
    EXPECT_EQ(Unformatted(1.0 / 3.0), " .333333333333333 ");  // 15 digits for a double
    EXPECT_EQ(Unformatted(-1234.5), "-1234.5 ");
}
