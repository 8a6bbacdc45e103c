// Malformed data files: each is refused with a message that names the file and the place
// of the fault, or loads the way the field rules say. A refused file read after a good
// load leaves the data, the rank tables, the lists, the panel, the captions, the picture
// and the text of the window exactly as they were.
// The catalogue is tests/data/bad/; the large, binary, folder and permission cases are
// made here at run time in a scratch folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TestForm.h"
#include "core/Form.h"
#include "data/Loader.h"
#include "draw/RunError.h"

namespace {

namespace fs = std::filesystem;

std::string Bad(const std::string& name) { return std::string(CITYSIZE_TEST_DATA) + "/bad/" + name; }
std::string RealFile() { return std::string(CITYSIZE_REAL_DATA) + "/USData.csv"; }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The message of a refused load, or "loaded".
std::string LoadMessage(const std::string& path) {
    try {
        LoadDataFile(path);
    } catch (const RunError& e) {
        return e.what();
    }
    return "loaded";
}

// A message a person can read: short, one line, no control characters.
void ExpectReadableMessage(const std::string& m) {
    EXPECT_LT(m.size(), 400u) << m.substr(0, 400);
    for (unsigned char c : m) EXPECT_GE(c, 0x20) << "control character in: " << m.substr(0, 400);
}

// A scratch folder of its own for each test, removed at the end.
class Scratch {
public:
    Scratch() {
        static int serial = 0;
        path_ = fs::temp_directory_path() /
                ("citysize-bad-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
        fs::create_directories(path_);
    }
    ~Scratch() {
        std::error_code ec;
        fs::permissions(path_ / DataFileName, fs::perms::owner_all, ec);
        fs::remove_all(path_, ec);
    }
    std::string Dir() const { return path_.string(); }
    std::string DataFile() const { return (path_ / DataFileName).string(); }
    // Writes USData.csv into the folder.
    std::string Write(const std::string& text) const {
        std::ofstream(DataFile(), std::ios::binary) << text;
        return DataFile();
    }

private:
    fs::path path_;
};

// ---------------------------------------------------------------------------------
// Refused files: the message names the file, the record and the field (with its year)
// where reading stopped, and what was wrong there.

struct Refusal {
    const char* file;
    std::vector<std::string> parts;  // each must appear in the message
};

// The files hold synthetic towns "Town k, ZZ" whose population at date t (1..22) is
// 1000 k + 100 (t - 1); each file breaks one thing, noted beside it.
const std::vector<Refusal> Refusals = {
    // Nothing to read at all.
    {"empty.csv", {"input past end of file in record 1 (field 1 of 23)", "266 complete records", "0 were found"}},
    {"only_blank_lines.csv", {"input past end of file in record 1 (field 1 of 23)", "0 were found"}},
    // 265 good records: the 266th is missing.
    {"265_records.csv", {"input past end of file in record 266 (field 1 of 23)", "265 were found"}},
    // Record 4 stops after its name and 10 populations: field 12 is missing.
    {"record_cut_in_the_middle.csv", {"input past end of file in record 4 (field 12 of 23)", "3 were found"}},
    // Record 3 opens its name with a quote that never closes (later names are unquoted).
    {"unterminated_quote.csv", {"quoted field opened on line 3", "not closed before the end of the file"}},
    // The same, but the next line opens a quoted name: the quote of record 3 closes there,
    // its name swallows the rest of line 3, and the text after that quote is field 2.
    {"unbalanced_quote.csv", {"record 3 (Town 3, ZZ,3000,3100,", "field 2 (1790): \"ZZ\"\" is not a number"}},
    // The 4th population of record 2, date 1820, is field 5.
    {"text_in_population.csv", {"record 2 (Town 2, ZZ), field 5 (1820)", "\"12a34\" is not a number"}},
    {"nan_population.csv", {"record 1 (Town 1, ZZ), field 7 (1840)", "\"NaN\" is not a number"}},
    {"inf_population.csv", {"record 3 (Town 3, ZZ), field 23 (2000)", "\"Inf\" is not a number"}},
    // 1e39 and 10^60 - 1 are beyond the largest single, 3.4e38; 2E400 is beyond any double.
    {"huge_population.csv", {"record 2 (Town 2, ZZ), field 2 (1790)", "\"1e39\" is too large", "Overflow"}},
    {"huge_exponent.csv", {"record 2 (Town 2, ZZ), field 3 (1800)", "\"2E400\" is too large", "Overflow"}},
    {"sixty_digit_population.csv", {"record 1 (Town 1, ZZ), field 4 (1810)", "is too large", "Overflow"}},
    {"hex_population.csv", {"record 3 (Town 3, ZZ), field 6 (1830)", "\"0x1F40\" is not a number"}},
    {"blank_inside_number.csv", {"record 1 (Town 1, ZZ), field 9 (1860)", "\"12 345\" is not a number"}},
    // "18,320" unquoted is two fields: record 1 ends one field early, its last
    // population (3100) becomes the name of record 2, and the quoted name "Town 2, ZZ"
    // lands in the first population of record 2.
    {"thousands_separator.csv", {"record 2 (3100), field 2 (1790)", "\"Town 2, ZZ\" is not a number"}},
    {"quoted_thousands_separator.csv", {"record 2 (Town 2, ZZ), field 8 (1850)", "\"18,320\" is not a number"}},
    // A quoted name ends at its closing quote and the rest up to the line end goes with
    // it, so the next line's quoted name is the first population.
    {"semicolon_separated.csv", {"record 1 (Town 1, ZZ), field 2 (1790)", "\"Town 2, ZZ\" is not a number"}},
    // Without commas a whole line is one field: line 2 is the first population.
    {"tab_separated.csv", {"record 1 (Town 1", "field 2 (1790)", "is not a number"}},
    // Record 1 has 21 populations: the name of record 2 is read as its 22nd.
    {"missing_field_in_a_record.csv", {"record 1 (Town 1, ZZ), field 23 (2000)", "\"Town 2, ZZ\" is not a number"}},
    // Record 1 has 23 populations: the 23rd, 99999, becomes the name of record 2.
    {"extra_field_in_a_record.csv", {"record 2 (99999), field 2 (1790)", "\"Town 2, ZZ\" is not a number"}},
    // Saved as UTF-16 (with its byte order mark), as some spreadsheets offer.
    {"utf16_file.csv", {"the file is in UTF-16; save it as plain text (ASCII or UTF-8)"}},
    // A NUL byte inside a number; the message shows it as an escape.
    {"nul_byte_in_population.csv", {"record 2 (Town 2, ZZ), field 11 (1880)", "\"12\\x0034\" is not a number"}},
};

TEST(BadInputTest, EachMalformedFileIsRefusedWithAMessageNamingFileAndPlace) {
    for (const Refusal& r : Refusals) {
        SCOPED_TRACE(r.file);
        std::string m = LoadMessage(Bad(r.file));
        EXPECT_EQ(m.rfind(Bad(r.file), 0), 0u) << m;  // the message starts with the file
        for (const std::string& part : r.parts) EXPECT_NE(m.find(part), std::string::npos) << m;
        ExpectReadableMessage(m);
    }
}

TEST(BadInputTest, MissingFileFolderAndUnreadableFileAreRefused) {
    Scratch s;
    EXPECT_EQ(LoadMessage(s.DataFile()), "File not found: " + s.DataFile());

    fs::create_directory(s.DataFile());
    EXPECT_EQ(LoadMessage(s.DataFile()), "Cannot read " + s.DataFile() + ": it is a folder, not a file");
}

// A pipe of that name would block the window for ever, /dev/zero would fill the memory.
TEST(BadInputTest, APipeOrADeviceIsRefusedWithoutReading) {
    Scratch s;
    ASSERT_EQ(mkfifo(s.DataFile().c_str(), 0600), 0);
    EXPECT_EQ(LoadMessage(s.DataFile()), "Cannot read " + s.DataFile() + ": it is not a regular file");
    fs::remove(s.DataFile());
    fs::create_symlink("/dev/zero", s.DataFile());
    EXPECT_EQ(LoadMessage(s.DataFile()), "Cannot read " + s.DataFile() + ": it is not a regular file");
}

TEST(BadInputTest, UnreadableFileIsRefused) {
    Scratch s;
    s.Write(ReadText(Bad("text_in_population.csv")));
    fs::permissions(s.DataFile(), fs::perms::none);
    if (std::ifstream(s.DataFile()).good())
        GTEST_SKIP() << "the tests run as a user (root: euid " << geteuid()
                     << ") whom file permissions do not stop from reading, so an unreadable file cannot be made";
    EXPECT_EQ(LoadMessage(s.DataFile()), "Cannot open " + s.DataFile() + " for reading (permission denied?)");
}

// ---------------------------------------------------------------------------------
// Files that load. Read with their own counts, 3 towns and 4 dates (1790..1820); the
// expected tables are the files' own numbers, 0 marking an absent cell.

struct Expected {
    std::vector<std::string> names;
    std::vector<std::vector<float>> pops;
};

const Expected Base = {{"Town 1, ZZ", "Town 2, ZZ", "Town 3, ZZ"},
                       {{100, 200, 300, 400}, {0, 50, 60, 70}, {5, 6, 7, 8}}};

void ExpectLoads(const std::string& file, const Expected& e) {
    SCOPED_TRACE(file);
    std::unique_ptr<DataSet> d;
    try {
        d = LoadDataText(ReadText(Bad(file)), Bad(file), 3, 4);
    } catch (const RunError& err) {
        FAIL() << err.what();
    }
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(d->CityName(i), e.names[i - 1]) << i;
        for (int t = 1; t <= 4; ++t) {
            float v = e.pops[i - 1][t - 1];
            EXPECT_EQ(d->Present(i, t), v > 0 ? 1.0f : 0.0f) << i << "," << t;
            EXPECT_EQ(d->PopTable(i, t), v > 0 ? v : 1.0f) << i << "," << t;
        }
    }
}

TEST(BadInputTest, LineEndsBlanksAndAByteOrderMarkDoNotChangeWhatLoads) {
    ExpectLoads("utf8_bom.csv", Base);            // the mark is no part of the first name
    ExpectLoads("cr_only_line_ends.csv", Base);   // a lone CR ends a line
    ExpectLoads("tabs_around_fields.csv", Base);  // tabs before and after a field are blanks
    ExpectLoads("more_records_than_needed.csv", Base);  // what follows the last record is never read
}

TEST(BadInputTest, NumberFormsThatLoad) {
    Expected e = Base;
    e.pops[0] = {15000, 2000, 100000, 7};  // 1.5E4, 2e3, 1E+05, +7
    ExpectLoads("exponent_populations.csv", e);

    e = Base;
    e.pops[0] = {1234.5f, 0.5f, 0.25f, 400};  // 1234.5, .5, 0.25: exact in a single
    ExpectLoads("decimal_populations.csv", e);

    e = Base;
    e.pops[0] = {100, 0, 0, 400};  // -0 and -0.0 are not greater than 0: absent
    e.pops[2] = {5, 6, 7, 0};      // -.0
    ExpectLoads("negative_zero.csv", e);

    e = Base;
    e.pops[0] = {100, 200, 0, 400};  // -300
    e.pops[2] = {0, 6, 7, 8};        // -5
    ExpectLoads("negative_population.csv", e);
}

TEST(BadInputTest, NamesLoadAsTheyStand) {
    Expected e = Base;
    // Unquoted: quotes inside are kept. Quoted: the name ends at the closing quote and
    // what follows it up to the comma is dropped.
    e.names = {"Town \"the hub\" 1", "Town 2", "Town 3, ZZ"};
    ExpectLoads("quote_inside_field.csv", e);

    e = Base;
    e.names = {"S\xE3o Tom\xE9, ZZ", "M\xFCnchen\xFF, ZZ", "Town 3, ZZ"};  // Latin-1 bytes, kept byte for byte
    ExpectLoads("non_utf8_names.csv", e);

    e = Base;
    // A heading line is not skipped: it is town 1 and the last town is not read.
    e.names = {"City", "Town 1, ZZ", "Town 2, ZZ"};
    e.pops = {{1790, 1800, 1810, 1820}, Base.pops[0], Base.pops[1]};
    ExpectLoads("heading_line.csv", e);
}

TEST(BadInputTest, AVeryLongNameLoadsWholeAndIsShortenedInMessages) {
    const std::string name(1 << 20, 'N');
    auto d = LoadDataText(name + ",1,2\n", "long.csv", 1, 2);
    EXPECT_EQ(d->CityName(1), name);

    std::string m;
    try {
        LoadDataText(name + ",1,two\n", "long.csv", 1, 2);
    } catch (const RunError& e) {
        m = e.what();
    }
    EXPECT_NE(m.find("field 3 (1800): \"two\" is not a number"), std::string::npos) << m.substr(0, 400);
    ExpectReadableMessage(m);
}

// 100 MB in one population field: refused with a message of a few lines, not 100 MB.
TEST(BadInputTest, AHundredMegabyteFieldIsRefusedWithAShortMessage) {
    Scratch s;
    std::string text = "\"Town 1, ZZ\",";
    text.append(100u << 20, '7');
    text += "x,1\n";
    s.Write(text);
    text.clear();
    std::string m = LoadMessage(s.DataFile());
    EXPECT_NE(m.find("record 1 (Town 1, ZZ), field 2 (1790)"), std::string::npos) << m.substr(0, 400);
    EXPECT_NE(m.find("is not a number"), std::string::npos) << m.substr(0, 400);
    ExpectReadableMessage(m);
}

std::string BinaryText(std::size_t size) {
    std::mt19937 gen(1790);  // fixed seed: the same bytes every run
    std::string text(size, '\0');
    for (char& c : text) c = static_cast<char>(gen() & 0xFF);
    return text;
}

TEST(BadInputTest, ABinaryFileIsRefusedWithAReadableMessage) {
    Scratch s;
    s.Write(BinaryText(64 << 10));
    std::string m = LoadMessage(s.DataFile());
    EXPECT_EQ(m.rfind(s.DataFile(), 0), 0u) << m.substr(0, 400);
    ExpectReadableMessage(m);
}

// ---------------------------------------------------------------------------------
// Through the window: a good load, then "Load Data" on a bad file.

// Everything a failed load must leave as it was.
struct FormState {
    const DataSet* data = nullptr;
    DataSet copy;
    CityDateGrid rankCity, cityRank;
    std::vector<Control> controls;
    std::string caption;
    bool pictureVisible = false;
    std::size_t pictureOps = 0;
    Colour pictureBack = 0;
    std::vector<std::string> text;

    explicit FormState(const Form& f)
        : data(f.data.get()),
          copy(*f.data),
          rankCity(f.rank.RankCity),
          cityRank(f.rank.CityRank),
          controls(f.panel.All()),
          caption(f.Caption),
          pictureVisible(f.Picture1.Visible),
          pictureOps(f.Picture1.Ops().size()),
          pictureBack(f.Picture1.BackColor),
          text(f.Text.Lines()) {}
};

void ExpectUnchanged(const FormState& was, const Form& f) {
    ASSERT_EQ(f.data.get(), was.data) << "the data set was replaced";
    const DataSet& a = was.copy;
    const DataSet& b = *f.data;
    ASSERT_EQ(b.NumCities, a.NumCities);
    ASSERT_EQ(b.NumDates, a.NumDates);
    EXPECT_EQ(b.DataReady, a.DataReady);
    EXPECT_EQ(b.FirstYear, a.FirstYear);
    int differences = 0;
    for (int t = 1; t <= a.NumDates; ++t) {
        differences += b.DateYear(t) != a.DateYear(t) || b.NumPresent(t) != a.NumPresent(t) ||
                       b.TimeFraction(t) != a.TimeFraction(t) || b.StepFraction(t) != a.StepFraction(t) ||
                       b.DateWeight(t) != a.DateWeight(t) || b.AngleStep(t) != a.AngleStep(t);
        for (int i = 1; i <= a.NumCities; ++i)
            differences += b.PopTable(i, t) != a.PopTable(i, t) || b.Present(i, t) != a.Present(i, t) ||
                           f.rank.RankCity(i, t) != was.rankCity(i, t) || f.rank.CityRank(i, t) != was.cityRank(i, t);
    }
    for (int i = 1; i <= a.NumCities; ++i) differences += b.CityName(i) != a.CityName(i);
    EXPECT_EQ(differences, 0) << "cells of the data set or the rank tables changed";

    const auto& now = f.panel.All();
    ASSERT_EQ(now.size(), was.controls.size());
    for (std::size_t k = 0; k < now.size(); ++k) {
        const Control& x = was.controls[k];
        const Control& y = now[k];
        SCOPED_TRACE(x.name);
        EXPECT_EQ(y.visible, x.visible);
        EXPECT_EQ(y.caption, x.caption);
        EXPECT_EQ(y.items, x.items);
        EXPECT_EQ(y.listIndex, x.listIndex);
        EXPECT_EQ(y.backColor, x.backColor);
        EXPECT_TRUE(y.left == x.left && y.top == x.top && y.width == x.width && y.height == x.height);
    }
    EXPECT_EQ(f.Caption, was.caption);
    EXPECT_EQ(f.Picture1.Visible, was.pictureVisible);
    EXPECT_EQ(f.Picture1.Ops().size(), was.pictureOps);
    EXPECT_EQ(f.Picture1.BackColor, was.pictureBack);
    EXPECT_EQ(f.Text.Lines(), was.text);
}

// The real data loaded, a rank-size plot drawn on black, a city chosen and a line of
// text printed: a state with something in every part a load could disturb.
std::unique_ptr<Form> GoodForm() {
    auto f = FormWithRealData();
    f->Choose("BackMap", 1);
    f->panel["Cities"].listIndex = 41;
    f->Click("Rank");
    f->Text.Line("before the bad load");
    return f;
}

// Clicks "Load Data" with USData.csv in `dir`; returns the message.
std::string ClickLoad(Form& f, const std::string& dir) {
    f.DataDir = dir;
    try {
        f.Click("ReadData");
    } catch (const RunError& e) {
        return e.what();
    }
    return "loaded";
}

TEST(BadInputTest, ARefusedLoadAfterAGoodOneChangesNothing) {
    auto f = GoodForm();
    ASSERT_GT(f->Picture1.Ops().size(), 0u);
    const FormState was(*f);
    for (const Refusal& r : Refusals) {
        SCOPED_TRACE(r.file);
        Scratch s;
        s.Write(ReadText(Bad(r.file)));
        // The window reads any layout and any number of records, so some of these files
        // load there (their messages are the loader's, checked above); a refusal changes nothing.
        auto g = GoodForm();
        const FormState before(*g);
        std::string m = ClickLoad(*g, s.Dir());
        if (m != "loaded") {
            EXPECT_EQ(m.rfind(s.DataFile(), 0), 0u) << m;
            ExpectUnchanged(before, *g);
        }
    }
    // The files that load with their own small counts (4 dates) load in the window too:
    // the number of dates is that of the first record, and a header row is read as one.
    for (const char* file : {"utf8_bom.csv", "cr_only_line_ends.csv", "tabs_around_fields.csv",
                             "more_records_than_needed.csv", "exponent_populations.csv", "decimal_populations.csv",
                             "negative_zero.csv", "negative_population.csv", "quote_inside_field.csv",
                             "non_utf8_names.csv", "heading_line.csv"}) {
        SCOPED_TRACE(file);
        Scratch s;
        s.Write(ReadText(Bad(file)));
        if (ClickLoad(*f, s.Dir()) == "loaded") {
            EXPECT_EQ(f->data->NumDates, 4);
        }
    }
    // The window goes on working: the good file loads again.
    EXPECT_EQ(ClickLoad(*f, CITYSIZE_REAL_DATA), "loaded");
    EXPECT_EQ(f->data->NumCities, 266);
}

TEST(BadInputTest, AMissingFileAFolderAPipeABinaryAndACutFileChangeNothing) {
    auto f = GoodForm();
    const FormState was(*f);
    {
        Scratch s;
        EXPECT_EQ(ClickLoad(*f, s.Dir()), "File not found: " + s.DataFile());
        ExpectUnchanged(was, *f);
        fs::create_directory(s.DataFile());
        EXPECT_NE(ClickLoad(*f, s.Dir()).find("it is a folder"), std::string::npos);
        ExpectUnchanged(was, *f);
        fs::remove(s.DataFile());
        ASSERT_EQ(mkfifo(s.DataFile().c_str(), 0600), 0);
        EXPECT_NE(ClickLoad(*f, s.Dir()).find("not a regular file"), std::string::npos);
        ExpectUnchanged(was, *f);
    }
    {
        Scratch s;
        s.Write(BinaryText(64 << 10));
        EXPECT_NE(ClickLoad(*f, s.Dir()), "loaded");
        ExpectUnchanged(was, *f);
    }
    {
        Scratch s;
        // 133 records, then one of a name and 3 populations.
        std::string text = ReadText(RealFile());
        std::size_t end = 0;
        for (int line = 1; line <= 133; ++line) end = text.find('\n', end) + 1;
        text.resize(end);
        text += "\"Cut, ZZ\",1,2,3";
        s.Write(text);
        EXPECT_NE(ClickLoad(*f, s.Dir()).find("input past end of file in record 134 (field 5 of 23)"),
                  std::string::npos);
        ExpectUnchanged(was, *f);
    }
    {
        Scratch s;
        std::string text = ReadText(RealFile());
        std::size_t at = text.find(",0,", text.size() / 2);  // an absent cell in the second half
        text.replace(at, 3, ",1e39,");
        s.Write(text);
        EXPECT_NE(ClickLoad(*f, s.Dir()).find("Overflow"), std::string::npos);
        ExpectUnchanged(was, *f);
    }
}

// The real file written with other line ends, blanks or a byte order mark loads the same data as the real file.
TEST(BadInputTest, TheRealFileInOtherClothesLoadsTheSame) {
    const auto real = FormWithRealData();
    const std::string text = ReadText(RealFile());
    auto replaceAll = [](std::string s, const std::string& from, const std::string& to) {
        for (std::size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
            s.replace(at, from.size(), to);
        return s;
    };
    // Blanks and tabs around every comma that separates fields (not those inside names).
    auto padDelimiters = [](const std::string& s) {
        std::string out;
        bool quoted = false;
        for (char c : s) {
            if (c == '"') quoted = !quoted;
            if (c == ',' && !quoted)
                out += " \t,\t ";
            else if (c == '\n')
                out += "\t\n";
            else
                out += c;
        }
        return out;
    };
    std::string lf = replaceAll(text, "\r\n", "\n");
    const std::vector<std::pair<std::string, std::string>> variants = {
        {"byte order mark", "\xEF\xBB\xBF" + text},
        {"CR only", replaceAll(lf, "\n", "\r")},
        {"LF only", lf},
        {"tabs and blanks around fields", padDelimiters(lf)},
    };
    for (const auto& [what, variant] : variants) {
        SCOPED_TRACE(what);
        auto f = GoodForm();
        Scratch s;
        s.Write(variant);
        ASSERT_EQ(ClickLoad(*f, s.Dir()), "loaded");
        ASSERT_EQ(f->data->NumCities, 266);
        int differences = 0;
        for (int i = 1; i <= 266; ++i) {
            differences += f->data->CityName(i) != real->data->CityName(i);
            for (int t = 1; t <= 22; ++t)
                differences += f->data->PopTable(i, t) != real->data->PopTable(i, t) ||
                               f->data->Present(i, t) != real->data->Present(i, t);
        }
        EXPECT_EQ(differences, 0);
        EXPECT_EQ(f->panel["Cities"].items.size(), 266u);
        EXPECT_EQ(f->panel["Cities"].items.front(), real->data->CityName(1));
    }
}

TEST(BadInputTest, AnUnreadableFileChangesNothing) {
    auto f = GoodForm();
    const FormState was(*f);
    Scratch s;
    s.Write(ReadText(RealFile()));
    fs::permissions(s.DataFile(), fs::perms::none);
    if (std::ifstream(s.DataFile()).good())
        GTEST_SKIP() << "the tests run as a user (root: euid " << geteuid()
                     << ") whom file permissions do not stop from reading, so an unreadable file cannot be made";
    EXPECT_NE(ClickLoad(*f, s.Dir()).find("permission denied"), std::string::npos);
    ExpectUnchanged(was, *f);
}

}  // namespace
