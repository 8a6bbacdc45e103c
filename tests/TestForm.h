#pragma once
// Builds a Form holding a small hand-made data table, as "Load Data" would leave it.
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/Form.h"
#include "data/Loader.h"
#include "draw/RunError.h"

inline std::unique_ptr<Form> FormWithData(const std::string& csv, int cities, int dates) {
    auto f = std::make_unique<Form>();
    f->InstallData(LoadDataText(csv, "test.csv", static_cast<int16_t>(cities), static_cast<int16_t>(dates)));
    return f;
}

// The bytes of a file.
inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The same from a small file under tests/data, e.g. "ranksize/traj.csv".
inline std::unique_ptr<Form> FormWithTestFile(const std::string& name, int cities, int dates) {
    return FormWithData(FileBytes(std::string(CITYSIZE_TEST_DATA) + "/" + name), cities, dates);
}

// The message of a call that fails, or "no error".
template <typename F>
std::string Thrown(F&& call) {
    try {
        call();
    } catch (const RunError& e) {
        return e.what();
    }
    return "no error";
}

// The message of a click that fails, or "no error".
inline std::string ErrorOf(Form& f, const char* control) { return Thrown([&] { f.Click(control); }); }

// A Form that has read `path` with Load Data (by default the real data set of the project's data/).
inline std::unique_ptr<Form> FormReading(const std::string& path = CITYSIZE_REAL_DATA) {
    auto f = std::make_unique<Form>(path);
    f->Click("ReadData");
    return f;
}
inline std::unique_ptr<Form> FormWithRealData() { return FormReading(); }
// Every US place 1790-2010; five.csv's five places with positions and one without.
inline std::unique_ptr<Form> UsPlacesForm() { return FormReading(std::string(CITYSIZE_REAL_DATA) + "/us-places-1790-2010.csv"); }
inline std::unique_ptr<Form> FiveForm() { return FormReading(std::string(CITYSIZE_TEST_DATA) + "/map/five.csv"); }

// The colour of the key's stroke just before the name that starts with `name`.
inline Colour KeyColour(const Picture& p, const std::string& name) {
    const auto& ops = p.Ops();
    for (std::size_t k = 1; k < ops.size(); ++k)
        if (ops[k].kind == OpKind::Text && ops[k].text.rfind(name, 0) == 0 && ops[k - 1].tag.series == KeySeries)
            return ops[k - 1].colour;
    return -1;
}
