// The CSV tables that the printing commands keep beside their text: each is read back from
// its CSV form and checked cell by cell against the numbers printed on the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/ResultTable.h"

namespace {

using Cells = std::vector<std::vector<std::string>>;

// Reads CSV as written by ToCsv: CRLF line ends, quoted cells with doubled quotes.
Cells ParseCsv(const std::string& csv) {
    Cells rows(1);
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (quoted) {
            if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(cell);
            cell.clear();
        } else if (c == '\r') {
            rows.back().push_back(cell);
            cell.clear();
            rows.emplace_back();
            ++i;  // the '\n'
        } else {
            cell += c;
        }
    }
    rows.pop_back();  // after the last line end
    return rows;
}

struct Csv {
    std::vector<std::string> header;
    Cells rows;
};

Csv TableAsCsv(const Form& f, std::size_t index) {
    Cells all = ParseCsv(f.Text.Tables.at(index).ToCsv());
    Csv out;
    out.header = all.front();
    out.rows.assign(all.begin() + 1, all.end());
    return out;
}

void ExpectShape(const Csv& t, std::size_t rows, std::size_t columns) {
    ASSERT_EQ(t.rows.size(), rows);
    EXPECT_EQ(t.header.size(), columns);
    for (const auto& r : t.rows) ASSERT_EQ(r.size(), columns);
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ') ++j;
        if (j > i) words.push_back(line.substr(i, j - i));
        i = j;
    }
    return words;
}

// A printed number: plain or through a picture, where zero can print as a lone point.
double Printed(const std::string& word) {
    if (word.find_first_of("0123456789") == std::string::npos) return 0;
    return std::strtod(word.c_str(), nullptr);
}

double Number(const std::string& cell) {
    char* end = nullptr;
    const double v = std::strtod(cell.c_str(), &end);
    EXPECT_TRUE(!cell.empty() && *end == '\0') << "not a number: \"" << cell << "\"";
    return v;
}

// The CSV value, rounded to the printed decimals, is the printed value.
void ExpectPrintedTo(int decimals, const std::string& printed, const std::string& cell, const std::string& where) {
    EXPECT_NEAR(Number(cell), Printed(printed), 0.5 * std::pow(10.0, -decimals) + 1e-9)
        << where << ": printed \"" << printed << "\", CSV \"" << cell << "\"";
}

// An unformatted single prints 7 significant digits.
void ExpectPrintedPlain(const std::string& printed, const std::string& cell, const std::string& where) {
    const double v = Number(cell);
    const double unit = v == 0 ? 1e-30 : std::pow(10.0, std::floor(std::log10(std::fabs(v))) - 6);
    EXPECT_NEAR(v, Printed(printed), 0.5 * unit * 1.0001)
        << where << ": printed \"" << printed << "\", CSV \"" << cell << "\"";
}

int LineIndex(const Form& f, const std::string& start, std::size_t from = 0) {
    const auto& lines = f.Text.Lines();
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].rfind(start, 0) == 0) return static_cast<int>(i);
    ADD_FAILURE() << "no line starts with \"" << start << "\"";
    return -1;
}

std::string Where(int t, std::size_t column) { return "row " + std::to_string(t) + ", column " + std::to_string(column); }

class CsvTables : public ::testing::Test {
protected:
    int T() const { return f->data->NumDates; }
    const std::vector<std::string>& Lines() const { return f->Text.Lines(); }

    std::unique_ptr<Form> f = FormWithRealData();
};

TEST_F(CsvTables, CitySpirelKeepsTheChosenCitysYearsRanksAndPopulations) {
    f->Click("RankSpirel1");
    f->ChooseText("Cities", "Houston, TX");  // absent at the first dates: zeros there
    f->Click("PlotCity");
    f->ChooseText("Cities", "Boston, MA");
    f->Click("PlotCity");

    ASSERT_EQ(f->Text.Tables.size(), 1u);  // the table shows only the last city
    const Csv t = TableAsCsv(*f, 0);
    ExpectShape(t, T(), 4);
    EXPECT_EQ(t.header, (std::vector<std::string>{"CityName", "Year", "Rank", "Population"}));
    const int first = LineIndex(*f, "   Year") + 2;
    for (int r = 0; r < T(); ++r) {
        const auto words = Words(Lines()[first + r]);
        ASSERT_EQ(words.size(), 3u);
        EXPECT_EQ(t.rows[r][0], "Boston, MA");  // the comma survives the quoting
        EXPECT_EQ(t.rows[r][1], words[0]);
        ExpectPrintedPlain(words[1], t.rows[r][2], Where(r, 2));
        ExpectPrintedPlain(words[2], t.rows[r][3], Where(r, 3));
    }

    f->ChooseText("Cities", "Houston, TX");
    f->Click("PlotCity");
    const Csv h = TableAsCsv(*f, 0);
    const int c = f->spirel.CityChoice + 1;
    int absent = 0;
    for (int r = 0; r < T(); ++r) {
        const bool present = f->rank.CityRank(c, r + 1) <= f->data->NumPresent(r + 1);
        absent += present ? 0 : 1;
        EXPECT_EQ(Number(h.rows[r][3]), present ? f->data->PopTable(c, r + 1) : 0.0f) << r;
    }
    EXPECT_GT(absent, 0);

    // With no city chosen the command stops before its table.
    f->Choose("Cities", -1);
    f->Click("PlotCity");
    EXPECT_TRUE(f->Text.Tables.empty());
}

TEST_F(CsvTables, DistanceSpirelKeepsOneRowPerIntervalAndTheOverallAverage) {
    f->Click("RankSpirel1");
    f->Click("DistancePlot");

    ASSERT_EQ(f->Text.Tables.size(), 2u);
    const Csv t = TableAsCsv(*f, 0);
    ExpectShape(t, T() - 1, 3);
    EXPECT_EQ(t.header, (std::vector<std::string>{"From", "To", "AvStepDistance"}));
    const int first = LineIndex(*f, "   From") + 2;
    for (int r = 0; r < T() - 1; ++r) {
        const auto words = Words(Lines()[first + r]);
        ASSERT_EQ(words.size(), 3u);
        EXPECT_EQ(t.rows[r][0], words[0]);
        EXPECT_EQ(t.rows[r][1], words[1]);
        ExpectPrintedPlain(words[2], t.rows[r][2], Where(r, 2));
        // Full single precision, not the printed seven digits.
        EXPECT_EQ(std::strtof(t.rows[r][2].c_str(), nullptr), f->spirel.AvStepDistance(r + 2));
    }
    EXPECT_EQ(t.rows.front()[0], "1790");
    EXPECT_EQ(t.rows.back()[1], "2000");

    const Csv all = TableAsCsv(*f, 1);
    ExpectShape(all, 1, 1);
    EXPECT_EQ(all.header[0], "AvAllDistance");
    ExpectPrintedPlain(Words(Lines()[LineIndex(*f, "   Av Dis")]).back(), all.rows[0][0], "Av Dis");
}

TEST_F(CsvTables, InfoStatsKeepsElevenMeasuresByDateTheAveragesAndTheSummary) {
    f->Click("InfoStats");

    ASSERT_EQ(f->Text.Tables.size(), 2u);
    const Csv t = TableAsCsv(*f, 0);
    ExpectShape(t, T() + 1, 12);
    EXPECT_EQ(t.header, (std::vector<std::string>{"Year", "Entropy", "EntropyChange", "CumEntropyChange", "Redundancy",
                                                  "RelativeEntropy", "ExEntRank", "InfoEnt", "InfoRank",
                                                  "AvRankShift", "PctRankShift", "CumRankShift"}));
    const int header = LineIndex(*f, "              Time");
    // Rows by date, a blank line, then the averages row under the last year.
    for (int r = 0; r <= T(); ++r) {
        const int line = header + 2 + r + (r == T() ? 1 : 0);
        const auto words = Words(Lines()[line]);
        ASSERT_EQ(words.size(), 12u) << Lines()[line];
        EXPECT_EQ(t.rows[r][0], r == T() ? "Average" : words[0]);
        for (std::size_t k = 1; k < 12; ++k) ExpectPrintedTo(5, words[k], t.rows[r][k], Where(r, k));
    }
    for (int r = 0; r < T(); ++r)
        EXPECT_EQ(std::strtof(t.rows[r][1].c_str(), nullptr), f->info.Entropy(r + 1)) << r;
    EXPECT_EQ(Lines()[header + T() + 2], "");  // the blank line before the averages

    const Csv s = TableAsCsv(*f, 1);
    ExpectShape(s, 1, 2);
    EXPECT_EQ(s.header, (std::vector<std::string>{"AvShiftOverall", "AvShareShift"}));
    const auto summary = Words(Lines()[LineIndex(*f, "              Average Shift")]);
    ExpectPrintedPlain(summary[2], s.rows[0][0], "Average Shift");
    ExpectPrintedPlain(summary.back(), s.rows[0][1], "AvShareShift");

    f->Click("Clear");
    EXPECT_TRUE(f->Text.Tables.empty());
}

TEST_F(CsvTables, InfoPagesKeepChangeGrowthAndBothMatrices) {
    f->Click("InfoStats");

    f->Click("NextInfo");
    ASSERT_EQ(f->Text.Tables.size(), 1u);  // the page clears the first table with its text
    const Csv g = TableAsCsv(*f, 0);
    ExpectShape(g, T(), 14);
    EXPECT_EQ(g.header[2], "CumInfo");
    EXPECT_EQ(g.header[13], "PopGr");
    const int header = LineIndex(*f, "       Time+");
    for (int r = 0; r < T(); ++r) {
        const bool average = r == T() - 1;
        const int line = header + 2 + r + (average ? 1 : 0);
        const auto words = Words(Lines()[line]);
        ASSERT_EQ(words.size(), 13u) << Lines()[line];
        if (average) {
            EXPECT_EQ(g.rows[r][0], "Average");
        } else {
            EXPECT_EQ(g.rows[r][0], words[0]);  // labelled with the start of the interval
            EXPECT_EQ(Number(g.rows[r][1]), f->data->DateYear(r + 2));
        }
        for (std::size_t k = 1; k <= 12; ++k)
            ExpectPrintedTo(average ? 5 : 4, words[k], g.rows[r][k + 1], Where(r, k + 1));
    }

    // Common cities: the diagonal is the number present; checked against the print elsewhere.
    f->Click("NextLastInfo");
    ASSERT_EQ(f->Text.Tables.size(), 2u);
    const Csv common = TableAsCsv(*f, 0);
    ExpectShape(common, T(), T() + 2);
    EXPECT_EQ(common.header[1], "RowAverage");
    EXPECT_EQ(common.header[2], "1790");
    EXPECT_EQ(common.header.back(), "2000");
    for (int r = 0; r < T(); ++r) {
        const auto words = Words(Lines()[1 + r]);
        ASSERT_EQ(words.size(), 35u);  // year, row average, 33 columns
        EXPECT_EQ(common.rows[r][0], words[0]);
        ExpectPrintedPlain(words[1], common.rows[r][1], Where(r, 1));
        for (int u = 0; u < T(); ++u) ExpectPrintedTo(0, words[2 + u], common.rows[r][2 + u], Where(r, 2 + u));
        EXPECT_EQ(Number(common.rows[r][2 + r]), f->data->NumPresent(r + 1));
    }
    const Csv overall = TableAsCsv(*f, 1);
    ExpectShape(overall, 1, 1);
    ExpectPrintedTo(6, Words(Lines()[LineIndex(*f, "     Average Overall")]).back(), overall.rows[0][0], "overall");

    f->Click("LastInfo");
    ASSERT_EQ(f->Text.Tables.size(), 2u);
    const Csv shift = TableAsCsv(*f, 0);
    ExpectShape(shift, T(), T() + 2);
    for (int r = 0; r < T(); ++r) {
        const auto words = Words(Lines()[1 + r]);
        ASSERT_EQ(words.size(), 24u);  // year, row average, 22 columns
        EXPECT_EQ(shift.rows[r][0], words[0]);
        ExpectPrintedPlain(words[1], shift.rows[r][1], Where(r, 1));
        for (int u = 0; u < T(); ++u) {
            ExpectPrintedTo(3, words[2 + u], shift.rows[r][2 + u], Where(r, 2 + u));
            EXPECT_EQ(std::strtof(shift.rows[r][2 + u].c_str(), nullptr), f->info.ShareShift(r + 1, u + 1));
        }
    }
    const Csv av = TableAsCsv(*f, 1);
    EXPECT_EQ(av.header[0], "AvShareShift");
    ExpectPrintedTo(6, Words(Lines()[LineIndex(*f, "     Average Overall")]).back(), av.rows[0][0], "overall");
}

// The overlap table separates its values by eight blanks, and a zero prints as nothing.
std::vector<std::string> OverlapCells(const std::string& line, std::size_t prefix) {
    std::vector<std::string> cells;
    const std::string gap(8, ' ');
    std::size_t at = prefix;
    for (;;) {
        const std::size_t next = line.find(gap, at);
        cells.push_back(line.substr(at, next == std::string::npos ? std::string::npos : next - at));
        if (next == std::string::npos) break;
        at = next + gap.size();
    }
    return cells;
}

TEST_F(CsvTables, PopulationPagesKeepBothBandSystemsAndTheOverlaps) {
    f->Click("PopStats");
    ASSERT_EQ(f->Text.Tables.size(), 1u);
    const Csv pct = TableAsCsv(*f, 0);
    ExpectShape(pct, T(), 11);
    EXPECT_EQ(pct.header[1], "Top10Pct");
    EXPECT_EQ(pct.header[10], "Top100Pct");
    int first = LineIndex(*f, "              Time") + 2;
    for (int r = 0; r < T(); ++r) {
        const auto words = Words(Lines()[first + r]);
        ASSERT_EQ(words.size(), 11u);
        EXPECT_EQ(pct.rows[r][0], words[0]);
        for (std::size_t k = 1; k <= 10; ++k) ExpectPrintedTo(5, words[k], pct.rows[r][k], Where(r, k));
        // The percent bands are overwritten after printing; two of them are kept as series.
        EXPECT_EQ(std::strtof(pct.rows[r][1].c_str(), nullptr), f->pop.TopTenPctShare(r + 1));
        EXPECT_EQ(std::strtof(pct.rows[r][5].c_str(), nullptr), f->pop.TopHalfShare(r + 1));
    }

    f->Click("NextPop");
    ASSERT_EQ(f->Text.Tables.size(), 1u);
    const Csv top = TableAsCsv(*f, 0);
    ExpectShape(top, T(), 12);
    EXPECT_EQ(top.header[11], "Top200");
    first = LineIndex(*f, "              Time") + 2;
    for (int r = 0; r < T(); ++r) {
        const auto words = Words(Lines()[first + r]);
        ASSERT_EQ(words.size(), 12u);
        EXPECT_EQ(top.rows[r][0], words[0]);
        for (std::size_t k = 1; k <= 11; ++k) ExpectPrintedTo(5, words[k], top.rows[r][k], Where(r, k));
        EXPECT_EQ(std::strtof(top.rows[r][11].c_str(), nullptr), f->pop.PopBands(20, r + 1));
    }

    f->Click("LastPop");
    ASSERT_EQ(f->Text.Tables.size(), 1u);
    const Csv overlap = TableAsCsv(*f, 0);
    ExpectShape(overlap, T() + 1, T() + 1);
    EXPECT_EQ(overlap.header[1], "1790");
    const int header = LineIndex(*f, "    Time");
    for (int r = 0; r <= T(); ++r) {
        const bool average = r == T();
        const std::string& line = Lines()[header + 2 + r + (average ? 1 : 0)];
        // "      " " 1790 " "     " before the first value; "     " "Average" "   " on the last row.
        const auto cells = OverlapCells(line, average ? 15 : 17);
        ASSERT_EQ(cells.size(), 22u) << line;
        EXPECT_EQ(overlap.rows[r][0], average ? "Average" : Words(line)[0]);
        for (int c = 0; c < T(); ++c) ExpectPrintedTo(0, cells[c], overlap.rows[r][1 + c], Where(r, 1 + c));
    }
    // A date shares its whole top list with itself: the first 25, or all present if fewer.
    for (int r = 0; r < T(); ++r)
        EXPECT_EQ(Number(overlap.rows[r][1 + r]), std::min(25.0f, f->data->NumPresent(r + 1))) << r;

    f->Click("Clear");
    EXPECT_TRUE(f->Text.Tables.empty());
}

}  // namespace

// Populations and counts are whole numbers: a reader should see 18320, not 1.832e+04.
TEST(CsvNumbers, WholeNumbersAreWrittenOutAndStillReadBack) {
    EXPECT_EQ(CsvNumber(18320.0f), "18320");
    EXPECT_EQ(CsvNumber(10.0f), "10");
    EXPECT_EQ(CsvNumber(-200.0f), "-200");
    EXPECT_EQ(CsvNumber(8008278.0f), "8008278");
    EXPECT_EQ(CsvNumber(1.5e6), "1500000");
    // Above 2^24 a single is a multiple of 8 here: the shortest digits, padded, still read back.
    for (float v : {123456792.0f, 3.4e38f, 1e-7f, 0.05936f}) {
        const std::string s = CsvNumber(v);
        EXPECT_EQ(std::strtof(s.c_str(), nullptr), v) << s;
    }
    EXPECT_EQ(CsvNumber(123456792.0f), "123456790");
}
