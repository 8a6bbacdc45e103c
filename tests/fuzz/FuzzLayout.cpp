// libFuzzer target for layout detection: any rows of cells, header known or judged, positions or
// none, any options. Only RunError escapes; a load has the preview's places, increasing years,
// finite populations >= 0 with one present, positions on the globe, the grid equal to the exact one.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "data/Import.h"
#include "data/RawTable.h"
#include "draw/RunError.h"

namespace {

// Cells drawn mostly from the words tables are made of, so the detection paths are reached.
std::string Cell(FuzzedDataProvider& in) {
    static const char* const words[] = {"name", "city", "lat", "lon", "Latitude", "x", "y", "year", "pop", "Pop1850",
                                        "Pop1900", "RAIL.10", "1950", "-500", "0", "500 BC", "NA", "", "12.5", "1 234",
                                        "0", "-3", "thousand", "id", "state", "91", "abc", "1e3", "\xC2\xA0", "2000"};
    if (in.ConsumeBool()) return words[in.ConsumeIntegralInRange<std::size_t>(0, std::size(words) - 1)];
    return in.ConsumeRandomLengthString(12);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    RawTable raw;
    raw.source = "fuzz";
    raw.headerKnown = in.ConsumeBool();
    const bool geometry = in.ConsumeBool();
    const int rows = in.ConsumeIntegralInRange(1, 8), width = in.ConsumeIntegralInRange(1, 7);
    for (int r = 0; r < rows; ++r) {
        CsvRow row;
        row.line = static_cast<std::size_t>(r + 1);
        const int cells = in.ConsumeBool() ? width : in.ConsumeIntegralInRange(0, width + 1);
        for (int c = 0; c < cells; ++c) row.cells.push_back({Cell(in), in.ConsumeBool()});
        raw.rows.push_back(std::move(row));
        if (geometry) {
            raw.latitude.push_back(r == 0 ? std::nan("") : in.ConsumeFloatingPointInRange(-100.0, 100.0));
            raw.longitude.push_back(r == 0 ? std::nan("") : in.ConsumeFloatingPointInRange(-200.0, 200.0));
        }
    }
    ImportOptions o;
    o.layout = static_cast<TableLayout>(in.ConsumeIntegralInRange(0, 3));
    o.unit = in.ConsumeBool() ? 1 : 1000;
    o.top = in.ConsumeIntegralInRange(0, 3);
    if (in.ConsumeBool()) o.lat = o.lon = NoColumn;
    ImportResult r;
    try {
        r = ImportRawTable(raw, o);
    } catch (const RunError&) {
        return 0;
    }
    const DataSet& d = *r.data;
    FUZZ_CHECK(d.NumCities == r.preview.kept && d.NumCities >= 1, "places");
    FUZZ_CHECK(d.Population.size() == static_cast<std::size_t>(d.NumCities) * static_cast<std::size_t>(d.NumDates),
               "population table size");
    for (int t = 2; t <= d.NumDates; ++t) FUZZ_CHECK(d.DateYear(t - 1) < d.DateYear(t), "years increase");
    bool present = false;
    for (int i = 1; i <= d.NumCities; ++i) {
        for (int t = 1; t <= d.NumDates; ++t) {
            const double v = d.Pop(i, t);
            FUZZ_CHECK(std::isfinite(v) && v >= 0, "population " + std::to_string(i) + "," + std::to_string(t));
            FUZZ_CHECK((d.Present(i, t) > 0) == (v > 0), "presence matches the exact table");
            present = present || v > 0;
        }
        if (d.HasPosition(i))
            FUZZ_CHECK(std::fabs(d.Latitude[i - 1]) <= 90 && std::fabs(d.Longitude[i - 1]) <= 180 &&
                           !(d.Latitude[i - 1] == 0 && d.Longitude[i - 1] == 0),
                       "position on the globe");
    }
    FUZZ_CHECK(present, "a loaded table has a place present at some date");
    return 0;
}
