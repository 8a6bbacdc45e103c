// Cases the fuzzing of the reader brought up (tests/fuzz/FuzzReader.cpp), kept as tests:
// where an empty field can stand, text after the last record, and what error messages
// show of the file's text. Expected tables are worked out by hand from the field rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Loader.h"
#include "draw/RunError.h"

namespace {

std::string LoadError(const std::string& text, int cities, int dates) {
    try {
        LoadDataText(text, "t.csv", static_cast<int16_t>(cities), static_cast<int16_t>(dates));
    } catch (const RunError& e) {
        return e.what();
    }
    return "loaded";
}

// An empty field exists only after a comma. After a line end (or at the start of the
// file) the reader goes on to the next line, so a blank line, or one of blanks only, is
// no field at all. The fuzzer's round trip first wrote an empty population on a line of
// its own and lost it; the reader is right, and the writer now puts a comma before it.
TEST(ReaderRegressionTest, BlankLinesAreNoFieldsButACommaBeforeAnEmptyFieldMakesOne) {
    // "A,1," ends with an empty field (date 2); the blank lines are skipped; ",2" after
    // the name B gives an empty date 1 before the 2 of date 2.
    auto d = LoadDataText("\n \nA,1,\n\n \t\r\nB,,2\n", "t.csv", 2, 2);
    EXPECT_EQ(d->CityName(1), "A");
    EXPECT_EQ(d->CityName(2), "B");
    EXPECT_EQ(d->PopTable(1, 1), 1.0f);
    EXPECT_EQ(d->Present(1, 1), 1.0f);
    EXPECT_EQ(d->Present(1, 2), 0.0f);  // empty: absent
    EXPECT_EQ(d->Present(2, 1), 0.0f);
    EXPECT_EQ(d->PopTable(2, 2), 2.0f);

    // An empty name at the start of the file is a field when a comma follows it...
    d = LoadDataText(",5,6\n", "t.csv", 1, 2);
    EXPECT_EQ(d->CityName(1), "");
    EXPECT_EQ(d->PopTable(1, 2), 6.0f);
    // ...but an empty "field" followed by a line end is a blank line: here the reader
    // takes 5 as the name and needs one field more than there is.
    EXPECT_NE(LoadError("\n5,6\n", 1, 2).find("input past end of file in record 1 (field 3 of 3)"),
              std::string::npos);
    // A line end right after a comma ends an empty field, and blanks after that comma
    // change nothing: "A, \n7" is A, empty, 7.
    d = LoadDataText("A, \t\n7\n", "t.csv", 1, 2);
    EXPECT_EQ(d->Present(1, 1), 0.0f);
    EXPECT_EQ(d->PopTable(1, 2), 7.0f);
}

// A good text stays good, with the same table, whatever follows a line end after its
// last record: an unclosed quote, commas, bytes that are no text.
TEST(ReaderRegressionTest, TextAfterTheLastRecordIsNeverRead) {
    const std::string good = "A,1,2\nB,3,4";
    const std::vector<std::string> tails = {"\n\"never closed", "\n,,x\xFF", "\r\nC,5", std::string("\n\0\0", 3)};
    for (const std::string& tail : tails) {
        auto d = LoadDataText(good + tail, "t.csv", 2, 2);
        EXPECT_EQ(d->CityName(2), "B");
        EXPECT_EQ(d->PopTable(2, 2), 4.0f);
    }
    // A last field at the very end of the file, without a line end, is complete.
    EXPECT_EQ(LoadDataText(good, "t.csv", 2, 2)->PopTable(2, 2), 4.0f);
    // So is an empty last field after a final comma.
    EXPECT_EQ(LoadDataText("A,1,", "t.csv", 1, 2)->Present(1, 2), 0.0f);
}

// Before: the message quoted the whole field and the whole name, raw. A binary file
// gave control characters (a NUL cut the message short where it was shown) and a field
// of 100 MB a message of 100 MB.
TEST(ReaderRegressionTest, MessagesShowControlCharactersAsEscapesAndCutLongText) {
    EXPECT_EQ(LoadError(std::string("A,1\0,2\n", 7), 1, 2),
              "t.csv, record 1 (A), field 2 (1790): \"1\\x00\" is not a number");
    EXPECT_EQ(LoadError("A\x01\x7F,2,x\n", 1, 2), "t.csv, record 1 (A\\x01\\x7F), field 3 (1800): \"x\" is not a number");
    // 41 characters: the first 40 are shown, then the length.
    const std::string long41 = "1234567890123456789012345678901234567890z";
    EXPECT_EQ(LoadError("A,1," + long41 + "\n", 1, 2),
              "t.csv, record 1 (A), field 3 (1800): \"1234567890123456789012345678901234567890... (41 "
              "characters)\" is not a number");
    // 40 characters are shown whole.
    const std::string long40 = std::string(39, '9') + "x";
    EXPECT_EQ(LoadError("A,1," + long40 + "\n", 1, 2),
              "t.csv, record 1 (A), field 3 (1800): \"" + long40 + "\" is not a number");
    // An empty name is named as such.
    EXPECT_EQ(LoadError(",q,1\n", 1, 2), "t.csv, record 1 (no name), field 2 (1790): \"q\" is not a number");
}

// Before: "a quoted field is not closed before the end of the file", with no place. The
// line counts LF, CR LF and a lone CR each as one line end.
TEST(ReaderRegressionTest, AnUnclosedQuoteNamesTheLineItOpensOn) {
    EXPECT_EQ(LoadError("A,1,2\r\nB,1,2\rC,1,2\n\"D,1,2\n", 4, 2),
              "t.csv: a quoted field opened on line 4 is not closed before the end of the file");
    EXPECT_EQ(LoadError("\"A", 1, 2), "t.csv: a quoted field opened on line 1 is not closed before the end of the file");
    // A quote that does close, on a later line, takes the line ends into the name.
    auto d = LoadDataText("\"A\nB\",1,2\n", "t.csv", 1, 2);
    EXPECT_EQ(d->CityName(1), "A\nB");
}

// Numbers at the edges of what a single holds.
TEST(ReaderRegressionTest, NumbersAtTheEdgesOfASingle) {
    // The largest single is 3.4028234663852886e38: it loads; a little beyond is refused.
    auto d = LoadDataText("A,3.4028234663852886e38,1e-46\n", "t.csv", 1, 2);
    EXPECT_EQ(d->PopTable(1, 1), 3.4028234663852886e38f);
    // 1e-46 is below the smallest single (1.4e-45): it reads as 0, so the cell is absent.
    EXPECT_EQ(d->Present(1, 2), 0.0f);
    EXPECT_NE(LoadError("A,3.5e38,1\n", 1, 2).find("\"3.5e38\" is too large for a population (Overflow)"),
              std::string::npos);
    // A double underflow is no error: 1e-400 is 0, absent.
    EXPECT_EQ(LoadDataText("A,1e-400,2\n", "t.csv", 1, 2)->Present(1, 1), 0.0f);
    // Signs and points alone are not numbers.
    for (const char* text : {"-", "+", ".", "e5", "1e", "--1", "1-"})
        EXPECT_NE(LoadError(std::string("A,") + text + ",1\n", 1, 2).find("is not a number"), std::string::npos)
            << text;
}

}  // namespace
