// The reader of USData.csv as two tables: files (or texts) that load and the exact table
// they give, and files that are refused with the place and the fault named. Absent cells
// load as 1.0; a refused load leaves the window as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestForm.h"
#include "data/DataSearch.h"

namespace {

namespace fs = std::filesystem;

std::string Path(const std::string& name) { return std::string(CITYSIZE_TEST_DATA) + "/" + name; }

// A file under tests/data (or "=" and the text itself), its table's size, names and populations
// city by city (0 marks an absent cell).
struct Loads { std::string source; int cities, dates; std::vector<std::string> names; std::vector<float> pops; };

const std::vector<float> Towns = {100, 200, 300, 400, 0, 50, 60, 70, 5, 6, 7, 8};
const std::vector<std::string> TownNames = {"Town 1, ZZ", "Town 2, ZZ", "Town 3, ZZ"};
const std::vector<std::string> Three = {"Boston, MA", "Washington, DC", "St. Louis, MO"};
const std::vector<float> ThreePops = {18320, 24937, 33787, 0, 3210, 8208, 0, 0, 10049};

const std::vector<Loads> LoadCases = {
    // Quotes go, commas inside them stay; records are not tied to lines.
    {"loader/quoted_names_with_commas.csv", 3, 3, Three, ThreePops},
    {"loader/record_split_over_lines.csv", 3, 3, Three, ThreePops},
    {"loader/two_records_on_one_line.csv", 3, 3, Three, ThreePops},
    // Records beyond the count are never read.
    {"loader/quoted_names_with_commas.csv", 2, 3, {"Boston, MA", "Washington, DC"}, {18320, 24937, 33787, 0, 3210, 8208}},
    // Empty, zero and negative cells are absent, a population of 1 is present.
    {"loader/absent_cells.csv", 5, 3, {"Empty", "Zero", "Negative", "One", "Fraction"},
     {0, 5, 7, 0, 5, 7, 0, 5, 7, 1, 5, 7, 2.5f, 5, 0}},
    // A heading line is the first city.
    {"loader/heading_line.csv", 2, 3, {"City", "Boston, MA"}, {1790, 1800, 1810, 18320, 24937, 33787}},
    {"bad/utf8_bom.csv", 3, 4, TownNames, Towns},
    {"bad/cr_only_line_ends.csv", 3, 4, TownNames, Towns},
    {"bad/exponent_populations.csv", 3, 4, TownNames, {15000, 2000, 100000, 7, 0, 50, 60, 70, 5, 6, 7, 8}},
    {"bad/negative_zero.csv", 3, 4, TownNames, {100, 0, 0, 400, 0, 50, 60, 70, 5, 6, 7, 0}},
    // Unquoted names keep their quotes; after a closing quote the rest of the field goes.
    {"bad/quote_inside_field.csv", 3, 4, {"Town \"the hub\" 1", "Town 2", "Town 3, ZZ"}, Towns},
    {"bad/non_utf8_names.csv", 3, 4, {"S\xE3o Tom\xE9, ZZ", "M\xFCnchen\xFF, ZZ", "Town 3, ZZ"}, Towns},
    // CRLF like LF; blank lines are no fields, but a comma before an empty field makes one.
    {"=\"A\",5,\r\n\"B\",6,7\r\n", 2, 2, {"A", "B"}, {5, 0, 6, 7}},
    {"=\n \nA,1,\n\n \t\r\nB,,2\n", 2, 2, {"A", "B"}, {1, 0, 0, 2}},
    {"=,5,6\n", 1, 2, {""}, {5, 6}},
    {"=A, \t\n7\n", 1, 2, {"A"}, {0, 7}},
    // Text after the last record is never read.
    {"=A,1,2\nB,3,4\n\"never closed", 2, 2, {"A", "B"}, {1, 2, 3, 4}},
    {"=  \"A, X\",  5,   6\n B , 7 ,8", 2, 2, {"A, X", "B"}, {5, 6, 7, 8}},
    // The largest single loads; 1e-46 and 1e-400 read as 0, absent.
    {"=A,3.4028234e38,1e-46\nB,1e-400,2", 2, 2, {"A", "B"}, {3.4028234e38f, 0, 0, 2}},
};

TEST(Loader, EachFileLoadsItsTable) {
    for (const Loads& c : LoadCases) {
        SCOPED_TRACE(c.source);
        const bool isText = c.source[0] == '=';
        std::unique_ptr<DataSet> d;
        ASSERT_EQ(Thrown([&] { d = LoadDataText(isText ? c.source.substr(1) : FileBytes(Path(c.source)), "t.csv",
                                                static_cast<int16_t>(c.cities), static_cast<int16_t>(c.dates)); }),
                  "no error");
        for (int i = 1; i <= c.cities; ++i) EXPECT_EQ(d->CityName(i), c.names[static_cast<std::size_t>(i - 1)]);
        EXPECT_EQ(d->CityName(c.cities + 1), "");
        for (int t = 1; t <= c.dates; ++t) {
            int present = 0;
            for (int i = 1; i <= c.cities; ++i) {
                const float v = c.pops[static_cast<std::size_t>((i - 1) * c.dates + t - 1)];
                present += v > 0;
                EXPECT_EQ(d->Present(i, t), v > 0 ? 1.0f : 0.0f) << i << "," << t;
                EXPECT_EQ(d->PopTable(i, t), v > 0 ? v : 1.0f) << i << "," << t;
            }
            EXPECT_EQ(d->NumPresent(t), present) << t;
        }
    }
}

// Synthetic towns "Town k, ZZ" of 22 dates, each file breaking one thing; each part must appear
// in the message, which starts with the file.
struct Refusal { const char* file; std::vector<std::string> parts; };
const std::vector<Refusal> Refusals = {
    {"empty.csv", {"input past end of file in record 1 (field 1 of 23)", "266 complete records", "0 were found"}},
    {"265_records.csv", {"input past end of file in record 266 (field 1 of 23)", "265 were found"}},
    {"record_cut_in_the_middle.csv", {"input past end of file in record 4 (field 12 of 23)", "3 were found"}},
    {"unterminated_quote.csv", {"quoted field opened on line 3", "not closed before the end of the file"}},
    // The quote of record 3 closes on the next line: its name swallows the rest of line 3.
    {"unbalanced_quote.csv", {"record 3 (Town 3, ZZ,3000,3100,", "field 2 (1790): \"ZZ\"\" is not a number"}},
    {"text_in_population.csv", {"record 2 (Town 2, ZZ), field 5 (1820)", "\"12a34\" is not a number"}},
    {"nan_population.csv", {"record 1 (Town 1, ZZ), field 7 (1840)", "\"NaN\" is not a number"}},
    {"inf_population.csv", {"record 3 (Town 3, ZZ), field 23 (2000)", "\"Inf\" is not a number"}},
    // Beyond the largest single, 3.4e38.
    {"huge_population.csv", {"record 2 (Town 2, ZZ), field 2 (1790)", "\"1e39\" is too large", "Overflow"}},
    {"sixty_digit_population.csv", {"record 1 (Town 1, ZZ), field 4 (1810)", "is too large", "Overflow"}},
    // "18,320" unquoted is two fields: everything after it shifts by one.
    {"thousands_separator.csv", {"record 2 (3100), field 2 (1790)", "\"Town 2, ZZ\" is not a number"}},
    {"quoted_thousands_separator.csv", {"record 2 (Town 2, ZZ), field 8 (1850)", "\"18,320\" is not a number"}},
    {"extra_field_in_a_record.csv", {"record 2 (99999), field 2 (1790)", "\"Town 2, ZZ\" is not a number"}},
    {"utf16_file.csv", {"the file is in UTF-16; save it as plain text (ASCII or UTF-8)"}},
    // Control characters are shown as escapes.
    {"nul_byte_in_population.csv", {"record 2 (Town 2, ZZ), field 11 (1880)", "\"12\\x0034\" is not a number"}},
};

TEST(Loader, EachMalformedFileIsRefusedWithItsPlaceAndFault) {
    for (const Refusal& r : Refusals) {
        SCOPED_TRACE(r.file);
        const std::string m = Thrown([&] { LoadDataFile(Path("bad/") + r.file); });
        EXPECT_EQ(m.rfind(Path("bad/") + r.file, 0), 0u) << m;
        for (const std::string& part : r.parts) EXPECT_NE(m.find(part), std::string::npos) << m;
        EXPECT_LT(m.size(), 400u);
    }
}

// A missing file, a folder, a pipe or a malformed file clicked in the window after a good
// load: refused, and the data, panel, picture and text stay as they were.
TEST(Loader, ARefusedLoadChangesNothing) {
    auto f = FormWithRealData();
    f->Choose("BackMap", 1);
    f->Click("Rank");
    const DataSet* data = f->data.get();
    const auto controls = f->panel.All();
    const auto ops = f->Picture1.Ops().size();
    const auto text = f->Text.Lines();
    const fs::path dir = fs::temp_directory_path() / ("citysize-load-" + std::to_string(getpid()));
    const std::string file = (dir / DataFileName).string();
    auto expectRefused = [&](const std::string& message) {
        f->DataDir = dir.string();
        EXPECT_EQ(ErrorOf(*f, "ReadData").find(message), 0u) << ErrorOf(*f, "ReadData");
        EXPECT_TRUE(f->data.get() == data && f->data->NumCities == 266);
        ASSERT_EQ(f->panel.All().size(), controls.size());
        for (std::size_t k = 0; k < controls.size(); ++k) {
            const Control& c = f->panel.All()[k];
            EXPECT_TRUE(c.visible == controls[k].visible && c.caption == controls[k].caption && c.items == controls[k].items)
                << c.name;
        }
        EXPECT_TRUE(f->Picture1.Ops().size() == ops && f->Text.Lines() == text);
    };
    fs::create_directories(dir);
    expectRefused("File not found: " + file);
    fs::create_directory(file);
    expectRefused("Cannot read " + file + ": it is a folder, not a file");
    fs::remove(file);
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    expectRefused("Cannot read " + file + ": it is not a regular file");
    fs::remove(file);
    for (const char* bad : {"record_cut_in_the_middle.csv", "text_in_population.csv"}) {
        std::ofstream(file, std::ios::binary) << FileBytes(Path("bad/") + bad);
        expectRefused(file);
    }
    fs::remove_all(dir);
}

// Load Data without a path takes USData.csv from the first folder that has it; a folder
// where USData.csv is itself a folder, or a missing folder, is passed over.
TEST(Loader, DataSearchTakesTheFirstFolderHoldingTheFile) {
    const std::string dir = (fs::temp_directory_path() / ("citysize-search-" + std::to_string(getpid()))).string();
    for (const char* sub : {"cwd", "installed", "source"}) fs::create_directories(dir + "/" + sub);
    for (const char* sub : {"installed", "source"}) std::ofstream(dir + "/" + sub + "/USData.csv") << "x";
    fs::create_directories(dir + "/empty/USData.csv");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"cwd", "installed", "source"}, "installed"},
        {{"source", "installed"}, "source"},
        {{"empty", "missing", "", "source"}, "source"},
        {{"cwd", "empty", "missing"}, ""},
        {{}, ""},
    };
    for (const auto& [names, found] : cases) {
        std::vector<std::string> folders;
        for (const auto& n : names) folders.push_back(n.empty() ? n : dir + "/" + n);
        EXPECT_EQ(FindDataFile(folders), found.empty() ? "" : dir + "/" + found + "/USData.csv") << found;
    }
    // A data argument: a folder means its USData.csv, a file is taken as it is.
    for (const std::string given : {"/cwd", "/installed/USData.csv", "/missing.csv"})
        EXPECT_EQ(DataFilePath(dir + given), dir + (given == "/cwd" ? "/cwd/USData.csv" : given));
    EXPECT_EQ(DataFilePath(""), "USData.csv");
    fs::remove_all(dir);
}

}  // namespace
