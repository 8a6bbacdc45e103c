// libFuzzer target for the data-file reader (LoadDataText). The LAST byte of the input
// picks a mode (the counts too come from the end, so a seed is a file followed by them):
//   0  the rest is a file read with the standard counts, 266 records of 23 fields;
//   1  the two bytes before the last pick small counts (1..4 cities, 2..5 dates) so that
//      records complete and the number paths are reached; the rest is the file;
//   2  the rest describes a small table, which is written out with varied quoting,
//      blanks, blank lines, line ends and records split over lines; the reader must
//      give back exactly that table.
// In every mode only RunError may escape, and a data set that loads must keep the
// invariants of a load (presence mask, NumPresent, calendar, untouched cells beyond the
// counts). In modes 0 and 1 a load must also be unchanged by junk after a line end at
// the end of the file, which is never read.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "data/Loader.h"
#include "draw/RunError.h"

namespace {

std::string At(int i, int t) { return "city " + std::to_string(i) + ", date " + std::to_string(t); }

void CheckInvariants(const DataSet& d, int cities, int dates) {
    FUZZ_CHECK(d.NumCities == cities && d.NumDates == dates, "counts");
    FUZZ_CHECK(d.FirstYear == 1790 && d.DataReady == 0, "first year and DataReady");
    for (int t = 1; t <= dates; ++t) FUZZ_CHECK(d.DateYear(t) == 1790 + 10 * (t - 1), "DateYear");
    for (int t = 1; t <= dates; ++t) {
        int present = 0;
        for (int i = 1; i <= cities; ++i) {
            float p = d.PopTable(i, t);
            float m = d.Present(i, t);
            FUZZ_CHECK(std::isfinite(p) && p > 0.0f, At(i, t));
            FUZZ_CHECK(m == 0.0f || m == 1.0f, At(i, t));
            if (m == 0.0f) FUZZ_CHECK(p == 1.0f, At(i, t));
            present += m == 1.0f;
        }
        FUZZ_CHECK(d.NumPresent(t) == static_cast<float>(present), "NumPresent");
    }
    FUZZ_CHECK(d.TimeFraction(1) == 0.0f && d.TimeFraction(dates) == 1.0f, "TimeFraction ends");
    FUZZ_CHECK(d.StepFraction(1) == 0.0f, "StepFraction(1)");
    FUZZ_CHECK(d.AngleStep(dates) == 0.0f, "AngleStep of the last date");
    // Cells just beyond the counts are never written.
    for (int t = 1; t <= dates + 1 && t <= 25; ++t) FUZZ_CHECK(d.PopTable(cities + 1, t) == 0.0f, "row beyond");
    for (int i = 1; i <= cities + 1; ++i)
        if (dates < 25) FUZZ_CHECK(d.PopTable(i, dates + 1) == 0.0f && d.Present(i, dates + 1) == 0.0f, "column beyond");
    FUZZ_CHECK(d.CityName(cities + 1).empty(), "name beyond");
}

void CheckSame(const DataSet& a, const DataSet& b) {
    for (int i = 1; i <= a.NumCities; ++i) {
        FUZZ_CHECK(a.CityName(i) == b.CityName(i), "name of city " + std::to_string(i));
        for (int t = 1; t <= a.NumDates; ++t) {
            FUZZ_CHECK(a.PopTable(i, t) == b.PopTable(i, t), At(i, t));
            FUZZ_CHECK(a.Present(i, t) == b.Present(i, t), At(i, t));
        }
    }
}

// Loads and checks; returns null when the reader refused the text with a RunError.
std::unique_ptr<DataSet> LoadChecked(const std::string& text, int cities, int dates) {
    std::unique_ptr<DataSet> d;
    try {
        d = LoadDataText(text, "fuzz.csv", static_cast<int16_t>(cities), static_cast<int16_t>(dates));
    } catch (const RunError& e) {
        FUZZ_CHECK(std::string(e.what()).size() > 0, "empty message");
        return nullptr;
    }
    CheckInvariants(*d, cities, dates);
    return d;
}

void RawMode(FuzzedDataProvider& in, int cities, int dates) {
    const std::string junk = "\"never read, 1\n,,x\xff";
    std::string text = in.ConsumeRemainingBytesAsString();
    auto d = LoadChecked(text, cities, dates);
    if (!d) return;
    auto again = LoadChecked(text + "\n" + junk, cities, dates);
    FuzzText = &text;
    FUZZ_CHECK(again != nullptr, "junk after the last record made the load fail");
    CheckSame(*d, *again);
}

// ---- Mode 2: a table written out and read back ----

const char* const LineEnds[] = {"\n", "\r\n", "\r"};

std::string Blanks(FuzzedDataProvider& in) {
    std::string s;
    int n = in.ConsumeIntegralInRange(0, 3);
    for (int k = 0; k < n; ++k) s += in.ConsumeBool() ? ' ' : '\t';
    return s;
}

// What goes between two fields: a comma, or line ends with blank lines, which a field
// that does not follow a comma may start after.
std::string Separator(FuzzedDataProvider& in, bool nextIsEmpty) {
    if (nextIsEmpty || in.ConsumeIntegralInRange(0, 3) != 0) return ",";
    std::string s = LineEnds[in.ConsumeIntegralInRange(0, 2)];
    int blankLines = in.ConsumeIntegralInRange(0, 2);
    for (int k = 0; k < blankLines; ++k) s += Blanks(in) + LineEnds[in.ConsumeIntegralInRange(0, 2)];
    return s;
}

struct Cell {
    std::string written;  // the field as it stands in the file, blanks and quotes included
    std::string value;    // the text the reader must find
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

Cell NameCell(FuzzedDataProvider& in) {
    std::string raw = in.ConsumeRandomLengthString(24);
    Cell c;
    if (in.ConsumeBool()) {
        // Quoted: anything but a quote, commas and line ends included; whatever follows
        // the closing quote up to the delimiter is dropped.
        for (char ch : raw)
            if (ch != '"') c.value += ch;
        std::string after;
        for (char ch : in.ConsumeRandomLengthString(4))
            if (ch != ',' && ch != '\r' && ch != '\n') after += ch;
        c.written = "\"" + c.value + "\"" + after;
    } else {
        for (char ch : raw)
            if (ch != ',' && ch != '\r' && ch != '\n') c.value += ch;
        // Blanks around an unquoted field are not part of it, and a leading quote would
        // make it a quoted field.
        while (!c.value.empty() && IsBlank(c.value.front())) c.value.erase(0, 1);
        while (!c.value.empty() && IsBlank(c.value.back())) c.value.pop_back();
        if (!c.value.empty() && c.value.front() == '"') c.value.front() = 'Q';
        c.written = c.value;
    }
    // A byte order mark is dropped at the very start of the file, and a UTF-16 one (FF FE
    // or FE FF) refused: keep names clear of their first bytes.
    if (!c.value.empty() && (c.value.front() == '\xEF' || c.value.front() == '\xFF' || c.value.front() == '\xFE')) {
        c.value.front() = 'X';
        c.written[c.written.front() == '"' ? 1 : 0] = 'X';
    }
    return c;
}

struct PopCell {
    Cell cell;
    float value = 0;  // as read, before absent cells become 1.0
};

PopCell PopulationCell(FuzzedDataProvider& in) {
    PopCell p;
    char buf[64];
    switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0: {  // a whole number of inhabitants, as in the real file
            long n = in.ConsumeIntegralInRange<long>(-100000, 30000000);
            std::snprintf(buf, sizeof buf, "%ld", n);
            p.value = static_cast<float>(static_cast<double>(n));
            break;
        }
        case 1: {  // a single written with enough digits to come back exactly
            float v = in.ConsumeFloatingPointInRange<float>(-1e12f, 1e12f);
            std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
            p.value = v;
            break;
        }
        case 2: {  // a signed decimal with an exponent
            int mantissa = in.ConsumeIntegralInRange(-9999, 9999);
            int exponent = in.ConsumeIntegralInRange(-3, 6);
            std::snprintf(buf, sizeof buf, "%+d.5e%d", mantissa, exponent);
            p.value = static_cast<float>(std::strtod(buf, nullptr));
            break;
        }
        case 3: {  // the forms of zero
            const char* const zeros[] = {"0", "-0", "0.0", "+0", ".0", "0e5"};
            std::snprintf(buf, sizeof buf, "%s", zeros[in.ConsumeIntegralInRange(0, 5)]);
            p.value = 0.0f;
            break;
        }
        case 4:  // empty: only ever written after a comma
            buf[0] = '\0';
            p.value = 0.0f;
            break;
        default: {  // a small value with a point and no leading digit
            int thousandths = in.ConsumeIntegralInRange(1, 999);
            std::snprintf(buf, sizeof buf, ".%03d", thousandths);
            p.value = static_cast<float>(thousandths / 1000.0);
            break;
        }
    }
    p.cell.value = buf;
    if (!p.cell.value.empty() && in.ConsumeIntegralInRange(0, 7) == 0)
        p.cell.written = "\"" + p.cell.value + "\"";
    else
        p.cell.written = p.cell.value + Blanks(in);
    return p;
}

void RoundTripMode(FuzzedDataProvider& in) {
    const int cities = in.ConsumeIntegralInRange(1, 6);
    const int dates = in.ConsumeIntegralInRange(2, 6);
    std::vector<std::string> names(cities + 1);
    std::vector<std::vector<float>> pops(cities + 1, std::vector<float>(dates + 1));
    std::string text = in.ConsumeBool() ? "\xEF\xBB\xBF" : "";
    std::string fields;  // the fields as meant, shown if a check fails
    bool first = true;
    bool emptyFirst = false;
    for (int i = 1; i <= cities; ++i) {
        for (int t = 0; t <= dates; ++t) {
            Cell c;
            if (t == 0) {
                c = NameCell(in);
                names[i] = c.value;
            } else {
                PopCell p = PopulationCell(in);
                c = p.cell;
                pops[i][t] = p.value;
            }
            // An empty field (blanks at most) can only stand after a comma: after a line
            // end, or at the start of the file, the reader goes on to the next line. So an
            // empty first field needs a comma after it.
            const bool empty = c.written.find_first_not_of(" \t") == std::string::npos;
            if (!first) text += Separator(in, empty || emptyFirst);
            emptyFirst = first && empty;
            first = false;
            text += Blanks(in) + c.written;
            fields += (t == 0 ? "\n" : " | ") + c.value;
        }
    }
    // What follows the last record is never read.
    if (in.ConsumeBool()) text += LineEnds[in.ConsumeIntegralInRange(0, 2)] + in.ConsumeRemainingBytesAsString();

    FuzzText = &text;  // shown if a check fails
    FuzzFields = &fields;
    std::unique_ptr<DataSet> d;
    try {
        d = LoadDataText(text, "fuzz.csv", static_cast<int16_t>(cities), static_cast<int16_t>(dates));
    } catch (const RunError& e) {
        FuzzFail(std::string("a well-formed table was refused: ") + e.what());
    }
    CheckInvariants(*d, cities, dates);
    for (int i = 1; i <= cities; ++i) {
        FUZZ_CHECK(d->CityName(i) == names[i], "name of city " + std::to_string(i) + ": \"" + d->CityName(i) +
                                                   "\" instead of \"" + names[i] + "\"");
        for (int t = 1; t <= dates; ++t) {
            float v = pops[i][t];
            bool present = v > 0.0f;
            FUZZ_CHECK(d->Present(i, t) == (present ? 1.0f : 0.0f), At(i, t));
            FUZZ_CHECK(d->PopTable(i, t) == (present ? v : 1.0f), At(i, t));
        }
    }
}

}  // namespace

// Every load allocates a data set of some 350 KB. Without ASan, keep such blocks on the
// heap instead of a fresh mapping each time: it makes the fuzzer several times faster.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    FuzzText = nullptr;
    FuzzFields = nullptr;
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0:
            RawMode(in, 266, 22);
            break;
        case 1: {
            int cities = in.ConsumeIntegralInRange(1, 4);
            int dates = in.ConsumeIntegralInRange(2, 5);
            RawMode(in, cities, dates);
            break;
        }
        default:
            RoundTripMode(in);
            break;
    }
    return 0;
}
