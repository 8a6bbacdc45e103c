#include "app/Cli.h"

#include <QGuiApplication>
#include <fstream>
#include <memory>

#include "app/Form.h"
#include "draw/RunError.h"
#include "render/PictureRenderer.h"

#ifndef CITYSIZE_VERSION
#define CITYSIZE_VERSION "0"
#endif

std::string UsageText() {
    return "Usage:\n"
           "  citysize [DATA_DIR]             open the window; Load Data reads DATA_DIR/USData.csv\n"
           "                                  (default: the current folder if it holds USData.csv,\n"
           "                                  else ../shared/data)\n"
           "  citysize run [options] CONTROL...\n"
           "                                  click the named controls in order, without a window\n"
           "      --data DIR                  read USData.csv from DIR (default: the current folder)\n"
           "      --picture FILE              write the picture at the end (.png, .svg or .pdf)\n"
           "      --scale N                   PNG size as a multiple of 600 x 600 pixels (default 1)\n"
           "      --text FILE                 write the window's text at the end\n"
           "    A CONTROL is a button name (ReadData, Rank, Zipf, NextGraph, RankSpirel1, ...),\n"
           "    or LIST=ENTRY to choose a list entry: BackMap=Black, \"Cities=Boston, MA\".\n"
           "  citysize --help | --version\n"
           "\n"
           "Example: citysize run ReadData BackMap=Black Rank --picture rank.png\n";
}

namespace {

struct RunOptions {
    std::string dataDir = ".";
    std::string picture;
    std::string text;
    double scale = 1.0;
    std::vector<std::string> steps;
};

bool ParseRun(const std::vector<std::string>& args, RunOptions& o, std::ostream& err) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                err << "citysize: " << a << " needs a value\n";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--data") {
            if (!value(o.dataDir)) return false;
        } else if (a == "--picture") {
            if (!value(o.picture)) return false;
        } else if (a == "--text") {
            if (!value(o.text)) return false;
        } else if (a == "--scale") {
            std::string s;
            if (!value(s)) return false;
            try {
                o.scale = std::stod(s);
            } catch (...) {
                o.scale = 0;
            }
            if (!(o.scale > 0 && o.scale <= 16)) {
                err << "citysize: --scale takes a number from 0 to 16\n";
                return false;
            }
        } else if (a.rfind("--", 0) == 0) {
            err << "citysize: unknown option " << a << "\n";
            return false;
        } else {
            o.steps.push_back(a);
        }
    }
    if (o.steps.empty()) {
        err << "citysize: run needs at least one control, e.g. citysize run ReadData Rank\n";
        return false;
    }
    return true;
}

void Step(Form& f, const std::string& step) {
    auto eq = step.find('=');
    if (eq == std::string::npos) {
        f.Click(step);
        return;
    }
    const std::string list = step.substr(0, eq), entry = step.substr(eq + 1);
    const Control* c = f.panel.Find(list);
    if (!c || c->kind != ControlKind::List) throw RunError("\"" + list + "\" is not a list (use BackMap or Cities)");
    f.ChooseText(list, entry);
}

int Run(const RunOptions& o, std::ostream& out, std::ostream& err) {
    Form f(o.dataDir);
    int status = 0;
    for (const auto& step : o.steps) {
        try {
            Step(f, step);
        } catch (const RunError& e) {
            err << "citysize: " << step << ": " << e.what() << "\n";
            status = 1;
            break;
        }
    }
    // What was drawn or printed up to an error is still written.
    if (!o.text.empty()) {
        std::ofstream file(o.text, std::ios::binary);
        file << f.Text.ToString();
        if (!file) {
            err << "citysize: cannot write " << o.text << "\n";
            status = 1;
        }
    }
    if (!o.picture.empty()) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        int argc = 1;
        char name[] = "citysize";
        char* argv[] = {name, nullptr};
        std::unique_ptr<QGuiApplication> app;
        if (!QGuiApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);
        QString error = render::Save(f.Picture1, QString::fromStdString(o.picture), o.scale);
        if (!error.isEmpty()) {
            err << "citysize: " << error.toStdString() << "\n";
            status = 1;
        }
    }
    (void)out;
    return status;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return -1;
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || first == "help") {
        out << UsageText();
        return 0;
    }
    if (first == "--version") {
        out << "citysize " << CITYSIZE_VERSION << "\n";
        return 0;
    }
    if (first == "run") {
        RunOptions o;
        if (!ParseRun(args, o, err)) return 2;
        return Run(o, out, err);
    }
    if (first.rfind("-", 0) == 0) {
        err << "citysize: unknown option " << first << "\n" << UsageText();
        return 2;
    }
    return -1;  // a data folder for the window
}
