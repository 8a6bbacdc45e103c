// libFuzzer target for LoadDataText. The LAST byte picks a mode (a seed is a file, then counts):
// 0 the rest read as 266 records of 23 fields; 1 the two bytes before pick 1..4 cities, 2..5 dates;
// 2 a small table written with varied quoting, blanks, line ends and split records, read back exactly.
// Only RunError escapes; a load keeps presence mask, NumPresent and calendar ends; in modes 0 and 1
// junk after the final line end, never read, changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "data/Loader.h"
#include "draw/RunError.h"

namespace {

std::string At(int i, int t) { return "city " + std::to_string(i) + ", date " + std::to_string(t); }

std::unique_ptr<DataSet> LoadChecked(const std::string& text, int cities, int dates) {
    std::unique_ptr<DataSet> d;
    try {
        d = LoadDataText(text, "fuzz.csv", static_cast<int16_t>(cities), static_cast<int16_t>(dates));
    } catch (const RunError&) {
        return nullptr;
    }
    for (int t = 1; t <= dates; ++t) {
        int present = 0;
        for (int i = 1; i <= cities; ++i) {
            const float p = d->PopTable(i, t), m = d->Present(i, t);
            FUZZ_CHECK(std::isfinite(p) && p > 0 && (m == 1 || (m == 0 && p == 1)), At(i, t));
            present += m == 1;
        }
        FUZZ_CHECK(d->NumPresent(t) == static_cast<float>(present), "NumPresent");
    }
    FUZZ_CHECK(d->TimeFraction(dates) == 1 && d->AngleStep(dates) == 0, "calendar ends");
    FUZZ_CHECK(d->CityName(cities + 1).empty(), "name beyond the count");
    return d;
}

void RawMode(FuzzedDataProvider& in, int cities, int dates) {
    const std::string text = in.ConsumeRemainingBytesAsString();
    auto d = LoadChecked(text, cities, dates);
    if (!d) return;
    auto again = LoadChecked(text + "\n\"never read, 1\n,,x\xff", cities, dates);
    FUZZ_CHECK(again != nullptr, "junk after the last record made the load fail");
    for (int i = 1; i <= cities; ++i) {
        FUZZ_CHECK(d->CityName(i) == again->CityName(i), At(i, 0));
        for (int t = 1; t <= dates; ++t) FUZZ_CHECK(d->PopTable(i, t) == again->PopTable(i, t), At(i, t));
    }
}

const char* const LineEnds[] = {"\n", "\r\n", "\r"};

std::string Blanks(FuzzedDataProvider& in) { return std::string(in.ConsumeIntegralInRange(0, 2), in.ConsumeBool() ? ' ' : '\t'); }

void RoundTripMode(FuzzedDataProvider& in) {
    const int cities = in.ConsumeIntegralInRange(1, 6), dates = in.ConsumeIntegralInRange(2, 6);
    std::vector<std::string> names(cities + 1);
    std::vector<std::vector<float>> pops(cities + 1, std::vector<float>(dates + 1));
    std::string text;
    for (int i = 1; i <= cities; ++i) {
        // A quoted name may hold commas and line ends; an unquoted one loses its blanks.
        std::string name;
        const bool quoted = in.ConsumeBool();
        for (char c : in.ConsumeRandomLengthString(16))
            if (c != '"' && (quoted || (c != ',' && c != '\r' && c != '\n' && c != ' ' && c != '\t'))) name += c;
        if (name.empty() || static_cast<unsigned char>(name[0]) >= 0xEF) name.insert(0, "N");  // no byte order mark
        names[i] = name;
        if (i > 1) text += in.ConsumeBool() ? "," : LineEnds[in.ConsumeIntegralInRange(0, 2)];
        text += Blanks(in) + (quoted ? "\"" + name + "\"" : name);
        for (int t = 1; t <= dates; ++t) {
            // A whole number, a zero, or an empty field (which only stands after a comma).
            char buf[32] = "";
            const int kind = in.ConsumeIntegralInRange(0, 3);
            if (kind < 2) {
                const long n = in.ConsumeIntegralInRange<long>(-1000, 30000000);
                std::snprintf(buf, sizeof buf, "%ld", n);
                pops[i][t] = static_cast<float>(n);
            } else if (kind == 2) {
                std::snprintf(buf, sizeof buf, "-0.0");
            }
            text += (kind == 3 || in.ConsumeBool() ? std::string(",") : LineEnds[in.ConsumeIntegralInRange(0, 2)]);
            text += Blanks(in) + buf + Blanks(in);
        }
    }
    if (in.ConsumeBool()) text += LineEnds[in.ConsumeIntegralInRange(0, 2)] + in.ConsumeRemainingBytesAsString();

    auto d = LoadChecked(text, cities, dates);
    if (!d) FuzzFail("a well-formed table was refused: " + text);
    for (int i = 1; i <= cities; ++i) {
        FUZZ_CHECK(d->CityName(i) == names[i], "name of city " + std::to_string(i) + ": " + d->CityName(i));
        for (int t = 1; t <= dates; ++t) {
            const float v = pops[i][t];
            FUZZ_CHECK(d->PopTable(i, t) == (v > 0 ? v : 1.0f), At(i, t));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0:
            RawMode(in, 266, 22);
            break;
        case 1: {
            const int cities = in.ConsumeIntegralInRange(1, 4);
            RawMode(in, cities, in.ConsumeIntegralInRange(2, 5));
            break;
        }
        default:
            RoundTripMode(in);
            break;
    }
    return 0;
}
