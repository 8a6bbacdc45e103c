// The reader of USData.csv: its field rules on small named files, the presence mask and
// the time measures, the fixed counts, its errors, and the real file read against an
// independent line-by-line parse.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/DataSearch.h"
#include "data/Loader.h"
#include "draw/RunError.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string LoaderFile(const std::string& name) { return std::string(CITYSIZE_TEST_DATA) + "/loader/" + name; }

std::unique_ptr<DataSet> LoadSmall(const std::string& name, int cities, int dates) {
    return LoadDataText(ReadText(LoaderFile(name)), name, static_cast<int16_t>(cities), static_cast<int16_t>(dates));
}

std::string LoadError(const std::string& text, const std::string& name, int cities, int dates) {
    try {
        LoadDataText(text, name, static_cast<int16_t>(cities), static_cast<int16_t>(dates));
    } catch (const RunError& e) {
        return e.what();
    }
    return "no error";
}

void ExpectSameData(const DataSet& a, const DataSet& b) {
    ASSERT_EQ(a.NumCities, b.NumCities);
    ASSERT_EQ(a.NumDates, b.NumDates);
    for (int i = 1; i <= a.NumCities; ++i) {
        EXPECT_EQ(a.CityName(i), b.CityName(i)) << i;
        for (int t = 1; t <= a.NumDates; ++t) {
            EXPECT_EQ(a.PopTable(i, t), b.PopTable(i, t)) << i << "," << t;
            EXPECT_EQ(a.Present(i, t), b.Present(i, t)) << i << "," << t;
        }
    }
}

// The three cities of the small files, as they must load (absent cells hold 1.0).
void ExpectThreeCities(const DataSet& d) {
    ASSERT_EQ(d.NumCities, 3);
    ASSERT_EQ(d.NumDates, 3);
    EXPECT_EQ(d.CityName(1), "Boston, MA");  // the quotes go, the comma stays
    EXPECT_EQ(d.CityName(2), "Washington, DC");
    EXPECT_EQ(d.CityName(3), "St. Louis, MO");
    const float pop[3][3] = {{18320, 24937, 33787}, {1, 3210, 8208}, {1, 1, 10049}};
    const float present[3][3] = {{1, 1, 1}, {0, 1, 1}, {0, 0, 1}};
    for (int i = 1; i <= 3; ++i)
        for (int t = 1; t <= 3; ++t) {
            EXPECT_EQ(d.PopTable(i, t), pop[i - 1][t - 1]) << i << "," << t;
            EXPECT_EQ(d.Present(i, t), present[i - 1][t - 1]) << i << "," << t;
        }
    EXPECT_EQ(d.NumPresent(1), 1);
    EXPECT_EQ(d.NumPresent(2), 2);
    EXPECT_EQ(d.NumPresent(3), 3);
}

// A scratch folder of this test run, removed at the end.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& tag)
        : path_(fs::temp_directory_path() / ("citysize-loader-" + tag + "-" + std::to_string(getpid()))) {
        fs::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string Write(const std::string& name, const std::string& text) const {
        std::string p = (path_ / name).string();
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }

private:
    fs::path path_;
};

std::string RealFile() { return std::string(CITYSIZE_REAL_DATA) + "/USData.csv"; }

std::vector<std::string> RealLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadText(RealFile()));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(LoaderTest, QuotedNamesKeepTheirCommasAndEmptyCellsAreAbsent) {
    ExpectThreeCities(*LoadSmall("quoted_names_with_commas.csv", 3, 3));
}

TEST(LoaderTest, RecordsAreNotTiedToLines) {
    auto perLine = LoadSmall("quoted_names_with_commas.csv", 3, 3);
    auto split = LoadSmall("record_split_over_lines.csv", 3, 3);
    auto joined = LoadSmall("two_records_on_one_line.csv", 3, 3);
    ExpectThreeCities(*split);
    ExpectThreeCities(*joined);
    ExpectSameData(*perLine, *split);
    ExpectSameData(*perLine, *joined);
}

TEST(LoaderTest, CrlfAndLfLineEndsReadAlike) {
    std::string lf = ReadText(LoaderFile("quoted_names_with_commas.csv"));
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_NE(crlf, lf);
    auto a = LoadDataText(lf, "lf.csv", 3, 3);
    auto b = LoadDataText(crlf, "crlf.csv", 3, 3);
    ExpectThreeCities(*b);
    ExpectSameData(*a, *b);
    // A comma at the end of a CRLF line is an empty field, as with LF.
    auto c = LoadDataText("\"A\",5,\r\n\"B\",6,7\r\n", "crlf.csv", 2, 2);
    EXPECT_EQ(c->Present(1, 2), 0);
    EXPECT_EQ(c->PopTable(2, 2), 7);
}

TEST(LoaderTest, BlanksBeforeFieldsAreSkipped) {
    auto d = LoadDataText("  \"A, X\",  5,   6\n B , 7 ,8\n", "blanks.csv", 2, 2);
    EXPECT_EQ(d->CityName(1), "A, X");
    EXPECT_EQ(d->CityName(2), "B");
    EXPECT_EQ(d->PopTable(1, 1), 5);
    EXPECT_EQ(d->PopTable(1, 2), 6);
    EXPECT_EQ(d->PopTable(2, 1), 7);
    EXPECT_EQ(d->PopTable(2, 2), 8);
}

TEST(LoaderTest, EmptyZeroAndNegativeCellsAreAbsentButAPopulationOfOneIsPresent) {
    auto d = LoadSmall("absent_cells.csv", 5, 3);
    // Date 1: empty, 0, -12 are absent and stored as 1.0; 1 and 2.5 are present.
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(d->Present(i, 1), 0) << d->CityName(i);
        EXPECT_EQ(d->PopTable(i, 1), 1.0f) << d->CityName(i);
    }
    EXPECT_EQ(d->CityName(4), "One");
    EXPECT_EQ(d->Present(4, 1), 1);
    EXPECT_EQ(d->PopTable(4, 1), 1.0f);
    EXPECT_EQ(d->PopTable(5, 1), 2.5f);
    EXPECT_EQ(d->NumPresent(1), 2);
    EXPECT_EQ(d->NumPresent(2), 5);
    // "Fraction" ends its line with a comma: an empty last population, absent.
    EXPECT_EQ(d->Present(5, 3), 0);
    EXPECT_EQ(d->PopTable(5, 3), 1.0f);
    EXPECT_EQ(d->NumPresent(3), 4);
    // Every filled cell is positive.
    for (int i = 1; i <= 5; ++i)
        for (int t = 1; t <= 3; ++t) EXPECT_GT(d->PopTable(i, t), 0.0f);
}

TEST(LoaderTest, AHeadingLineBecomesTheFirstCity) {
    auto d = LoadSmall("heading_line.csv", 2, 3);
    EXPECT_EQ(d->CityName(1), "City");
    EXPECT_EQ(d->PopTable(1, 1), 1790);
    EXPECT_EQ(d->PopTable(1, 3), 1810);
    EXPECT_EQ(d->CityName(2), "Boston, MA");
    EXPECT_EQ(d->CityName(3), "");  // the last real record is never read
    EXPECT_EQ(d->PopTable(3, 1), 0);
}

TEST(LoaderTest, RecordsBeyondTheCountAreIgnored) {
    auto d = LoadSmall("quoted_names_with_commas.csv", 2, 3);
    EXPECT_EQ(d->NumCities, 2);
    EXPECT_EQ(d->CityName(2), "Washington, DC");
    EXPECT_EQ(d->CityName(3), "");
    EXPECT_EQ(d->PopTable(3, 3), 0);
    EXPECT_EQ(d->NumPresent(3), 2);
    // Extra fields after the last record, even malformed ones, are never read.
    auto e = LoadDataText("\"A\",1,2\nnot,a,number\n", "extra.csv", 1, 2);
    EXPECT_EQ(e->PopTable(1, 2), 2);
}

TEST(LoaderTest, TooFewRecordsIsAnErrorNamingTheFile) {
    std::string text = ReadText(LoaderFile("quoted_names_with_commas.csv"));
    std::string msg = LoadError(text, "short.csv", 4, 3);
    EXPECT_NE(msg.find("short.csv"), std::string::npos) << msg;
    EXPECT_NE(msg.find("past end of file"), std::string::npos) << msg;
    EXPECT_NE(msg.find("record 4"), std::string::npos) << msg;
    // A record cut short in the middle fails the same way, at the missing field.
    std::string cut = LoadError("\"A\",1,2,3\n\"B\",4\n", "cut.csv", 2, 3);
    EXPECT_NE(cut.find("record 2"), std::string::npos) << cut;
    EXPECT_NE(cut.find("field 3 of 4"), std::string::npos) << cut;  // name + 3 populations
    EXPECT_EQ(LoadError("", "empty.csv", 1, 2).find("empty.csv"), 0u);
}

TEST(LoaderTest, TextInAPopulationFieldIsAnErrorNamingFileRecordAndField) {
    std::string msg = LoadError(ReadText(LoaderFile("not_a_number.csv")), "not_a_number.csv", 3, 3);
    EXPECT_NE(msg.find("not_a_number.csv"), std::string::npos) << msg;
    EXPECT_NE(msg.find("record 2"), std::string::npos) << msg;
    EXPECT_NE(msg.find("Washington, DC"), std::string::npos) << msg;
    EXPECT_NE(msg.find("field 3"), std::string::npos) << msg;
    EXPECT_NE(msg.find("n/a"), std::string::npos) << msg;
    for (const char* bad : {"12abc", "1.2.3", "-", "nan", "inf", "1e999", "\"1,000\""}) {
        std::string m = LoadError(std::string("\"A\",1,") + bad + "\n", "bad.csv", 1, 2);
        EXPECT_NE(m.find("bad.csv"), std::string::npos) << bad << ": " << m;
    }
    // Decimal notations a number field may hold.
    auto d = LoadDataText("\"A\",1e3,+7.5\n", "ok.csv", 1, 2);
    EXPECT_EQ(d->PopTable(1, 1), 1000);
    EXPECT_EQ(d->PopTable(1, 2), 7.5f);
}

TEST(LoaderTest, UnclosedQuoteIsAnErrorNamingTheFile) {
    std::string msg = LoadError("\"A\",1,2\n\"Boston, MA,3,4\n", "quote.csv", 2, 2);
    EXPECT_NE(msg.find("quote.csv"), std::string::npos) << msg;
    EXPECT_NE(msg.find("not closed"), std::string::npos) << msg;
    // Text after a closing quote up to the next delimiter is dropped.
    auto d = LoadDataText("\"A\"x ,5,6\n", "after.csv", 1, 2);
    EXPECT_EQ(d->CityName(1), "A");
    EXPECT_EQ(d->PopTable(1, 1), 5);
}

TEST(LoaderTest, TimeMeasuresOfASmallCalendar) {
    // Three dates 1790, 1800, 1810: span 20, fractions 0, 1/2, 1; each interval 10 of 30.
    auto d = LoadSmall("quoted_names_with_commas.csv", 3, 3);
    EXPECT_EQ(d->FirstYear, 1790);
    EXPECT_EQ(d->DateYear(3), 1810);
    EXPECT_EQ(d->TimeFraction(1), 0.0f);
    EXPECT_EQ(d->TimeFraction(2), 0.5f);
    EXPECT_EQ(d->TimeFraction(3), 1.0f);
    EXPECT_EQ(d->StepFraction(1), 0.0f);
    EXPECT_EQ(d->StepFraction(2), 0.5f);
    EXPECT_EQ(d->StepFraction(3), 0.5f);
    for (int t = 1; t <= 3; ++t) EXPECT_EQ(d->DateWeight(t), static_cast<float>(1.0 / 3.0));
    // Half a turn each, with the written constant: 2 x 0.5 x 3.14159265.
    EXPECT_EQ(d->AngleStep(1), static_cast<float>(3.14159265));
    EXPECT_EQ(d->AngleStep(2), static_cast<float>(3.14159265));
    EXPECT_EQ(d->AngleStep(3), 0.0f);
    EXPECT_EQ(d->DataReady, 0);
}

TEST(LoaderTest, RealFileMatchesAnIndependentParse) {
    auto d = LoadDataFile(RealFile());
    ASSERT_EQ(d->NumCities, 266);
    ASSERT_EQ(d->NumDates, 22);
    // Each line of the real file is a quoted name and 22 whole numbers.
    std::vector<std::string> lines = RealLines();
    ASSERT_EQ(lines.size(), 266u);
    std::vector<int> present(23, 0);
    std::vector<double> total(23, 0.0);
    for (int i = 1; i <= 266; ++i) {
        std::string line = lines[static_cast<std::size_t>(i - 1)];
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t close = line.find('"', 1);
        ASSERT_EQ(line[0], '"');
        EXPECT_EQ(d->CityName(i), line.substr(1, close - 1));
        std::istringstream rest(line.substr(close + 2));
        std::string cell;
        for (int t = 1; t <= 22; ++t) {
            ASSERT_TRUE(std::getline(rest, cell, ',')) << i;
            long v = std::stol(cell);
            EXPECT_EQ(d->Present(i, t), v > 0 ? 1.0f : 0.0f) << i << "," << t;
            EXPECT_EQ(d->PopTable(i, t), v > 0 ? static_cast<float>(v) : 1.0f) << i << "," << t;
            if (v > 0) {
                ++present[static_cast<std::size_t>(t)];
                total[static_cast<std::size_t>(t)] += static_cast<double>(v);
            }
        }
    }
    for (int t = 1; t <= 22; ++t) EXPECT_EQ(d->NumPresent(t), present[static_cast<std::size_t>(t)]) << t;
    const int expected[6] = {24, 33, 48, 63, 91, 101};
    for (int t = 1; t <= 6; ++t) EXPECT_EQ(d->NumPresent(t), expected[t - 1]) << t;
    for (int t = 7; t <= 22; ++t) EXPECT_EQ(d->NumPresent(t), 101) << t;
    EXPECT_EQ(d->CityName(1), "Akron, OH");
    EXPECT_EQ(d->CityName(266), "Zanesville, OH");
    EXPECT_EQ(total[1], 201655.0);     // sum of the 24 populations of 1790
    EXPECT_EQ(total[22], 56780175.0);  // and of the 101 of 2000
}

TEST(LoaderTest, RealFileCalendarAndItsInvariants) {
    auto d = LoadDataFile(RealFile());
    EXPECT_EQ(d->FirstYear, 1790);
    EXPECT_EQ(d->DateYear(1), 1790);
    EXPECT_EQ(d->DateYear(22), 2000);
    EXPECT_EQ(d->TimeFraction(1), 0.0f);
    EXPECT_FLOAT_EQ(d->TimeFraction(2), 1.0f / 21.0f);
    EXPECT_EQ(d->TimeFraction(22), 1.0f);
    EXPECT_NEAR(d->AngleStep(1), 0.2991993, 5e-7);  // 2 x 3.14159265 / 21
    EXPECT_EQ(d->AngleStep(22), 0.0f);
    EXPECT_EQ(d->StepFraction(1), 0.0f);
    double angle = 0, step = 0, weight = 0;
    for (int t = 1; t <= 22; ++t) {
        EXPECT_FLOAT_EQ(d->DateWeight(t), 1.0f / 22.0f) << t;
        if (t >= 2) { EXPECT_FLOAT_EQ(d->StepFraction(t), 1.0f / 21.0f) << t; }
        EXPECT_FLOAT_EQ(d->TimeFraction(t), static_cast<float>((t - 1) / 21.0)) << t;
        angle += d->AngleStep(t);
        step += d->StepFraction(t);
        weight += d->DateWeight(t);
    }
    EXPECT_NEAR(angle, 6.2831853, 1e-5);  // one full turn
    EXPECT_NEAR(step, 1.0, 1e-6);
    EXPECT_NEAR(weight, 1.0, 1e-6);
    EXPECT_EQ(d->DataReady, 0);  // the command sets it once the ranking has run
}

TEST(LoaderTest, CellsBeyondTheCountsStayZero) {
    auto d = LoadDataFile(RealFile());
    for (int t = 23; t <= 25; ++t) {
        EXPECT_EQ(d->DateYear(t), 0);
        EXPECT_EQ(d->NumPresent(t), 0);
        EXPECT_EQ(d->TimeFraction(t), 0);
        EXPECT_EQ(d->DateWeight(t), 0);
        for (int i : {1, 100, 266}) {
            EXPECT_EQ(d->PopTable(i, t), 0);
            EXPECT_EQ(d->Present(i, t), 0);
        }
    }
    for (int i : {267, 1000, 1500}) {
        EXPECT_EQ(d->CityName(i), "");
        for (int t = 1; t <= 25; ++t) {
            EXPECT_EQ(d->PopTable(i, t), 0);
            EXPECT_EQ(d->Present(i, t), 0);
        }
    }
}

TEST(LoaderTest, TwoHundredSixtySevenRecordsLoadTheFirst266) {
    ScratchDir dir("267");
    std::string text = ReadText(RealFile()) + "\"Extra, XX\",1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22\r\n";
    auto d = LoadDataFile(dir.Write("USData.csv", text));
    auto real = LoadDataFile(RealFile());
    ExpectSameData(*real, *d);
    EXPECT_EQ(d->CityName(267), "");
}

TEST(LoaderTest, TwoHundredSixtyFiveRecordsIsAnErrorNamingTheFile) {
    ScratchDir dir("265");
    std::vector<std::string> lines = RealLines();
    std::string text;
    for (std::size_t i = 0; i < 265; ++i) text += lines[i] + "\n";
    std::string path = dir.Write("USData.csv", text);
    try {
        LoadDataFile(path);
        FAIL() << "265 records must not load";
    } catch (const RunError& e) {
        std::string msg = e.what();
        EXPECT_NE(msg.find(path), std::string::npos) << msg;
        EXPECT_NE(msg.find("record 266"), std::string::npos) << msg;
    }
}

TEST(LoaderTest, MissingFileIsAnErrorNamingIt) {
    ScratchDir dir("missing");
    std::string path = dir.Write("other.csv", "") + ".none";
    try {
        LoadDataFile(path);
        FAIL() << "a missing file must not load";
    } catch (const RunError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

// Load Data without a path takes USData.csv from the first folder that has it; a folder
// where USData.csv is itself a folder, or a missing folder, is passed over.
TEST(LoaderTest, DataSearchTakesTheFirstFolderHoldingTheFile) {
    ScratchDir root("search");
    const std::string base = root.Write("probe", "");
    const std::string dir = fs::path(base).parent_path().string();
    for (const char* sub : {"cwd", "installed", "source", "empty"}) fs::create_directories(dir + "/" + sub);
    root.Write("installed/USData.csv", "x");
    root.Write("source/USData.csv", "x");
    fs::create_directories(dir + "/empty/USData.csv");
    struct Case {
        std::vector<std::string> folders;
        std::string found;  // relative to the scratch folder; empty: none
    };
    const std::vector<Case> cases = {
        {{"cwd", "installed", "source"}, "installed"},
        {{"source", "installed"}, "source"},
        {{"empty", "missing", "", "source"}, "source"},
        {{"cwd", "empty", "missing"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> folders;
        for (const auto& f : c.folders) folders.push_back(f.empty() ? f : dir + "/" + f);
        EXPECT_EQ(FindDataFile(folders), c.found.empty() ? "" : dir + "/" + c.found + "/USData.csv") << c.found;
    }
    root.Write("cwd/USData.csv", "x");
    EXPECT_EQ(FindDataFile({dir + "/cwd", dir + "/installed"}), dir + "/cwd/USData.csv");
    // A data argument: a folder means its USData.csv, a file is taken as it is.
    EXPECT_EQ(DataFilePath(dir + "/cwd"), dir + "/cwd/USData.csv");
    EXPECT_EQ(DataFilePath(dir + "/installed/USData.csv"), dir + "/installed/USData.csv");
    EXPECT_EQ(DataFilePath(dir + "/missing"), dir + "/missing/USData.csv");
    EXPECT_EQ(DataFilePath(dir + "/missing.csv"), dir + "/missing.csv");
    EXPECT_EQ(DataFilePath(""), "USData.csv");
}
