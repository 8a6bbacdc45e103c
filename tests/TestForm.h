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

// The same from a small file under tests/data, e.g. "ranksize/traj.csv".
inline std::unique_ptr<Form> FormWithTestFile(const std::string& name, int cities, int dates) {
    std::ifstream in(std::string(CITYSIZE_TEST_DATA) + "/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return FormWithData(s.str(), cities, dates);
}

// The message of a click that fails, or "no error".
inline std::string ErrorOf(Form& f, const char* control) {
    try {
        f.Click(control);
    } catch (const RunError& e) {
        return e.what();
    }
    return "no error";
}

// A Form with the real data set loaded from the project's data/.
inline std::unique_ptr<Form> FormWithRealData() {
    auto f = std::make_unique<Form>(CITYSIZE_REAL_DATA);
    f->Click("ReadData");
    return f;
}
