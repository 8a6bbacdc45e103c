#include "app/Cli.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/AtomicFile.h"
#include "app/Export.h"
#include "app/Paths.h"
#include "app/Session.h"
#include "core/Form.h"
#include "data/PlacesCsv.h"
#include "draw/ResultTable.h"
#include "core/Marks.h"
#include "draw/RunError.h"
#include "draw/ViewRange.h"
#include "map/MapExtent.h"
#include "render/PictureRenderer.h"

#ifndef CITYSIZE_VERSION
#define CITYSIZE_VERSION "0"
#endif

namespace {

// The --help lines of the options the analyses declare.
std::string AnalysisOptionsHelp() {
    std::string out;
    for (const OptionSpec& o : AllAnalysisOptions()) {
        std::string head = "      --" + std::string(o.name) + " " + std::string(o.value);
        head.resize(std::max<std::size_t>(head.size() + 1, 34), ' ');
        out += head + std::string(o.help) + "\n";
    }
    return out;
}

}  // namespace

std::string UsageText() {
    return "Usage:\n"
           "  citysize [DATA]                 open the window; Load Data reads DATA, a data file or a\n"
           "                                  folder holding USData.csv (default: USData.csv in the\n"
           "                                  current folder, else the data installed with citysize)\n"
           "  citysize run [options] CONTROL...\n"
           "                                  click the named controls in order, without a window\n"
           "      --data FILE|DIR             the data file, or a folder holding USData.csv\n"
           "                                  (default: as for the window); the layout, the columns\n"
           "                                  and the dates are found in the file, or chosen with:\n"
           "      --layout wide|long|plain    one row per place with a column per year (wide), one\n"
           "                                  row per place and year (long), or USData.csv's (plain)\n"
           "      --name COLUMN, --group COLUMN, --id COLUMN\n"
           "                                  the columns of place names, of their state, country or\n"
           "                                  region, and of an ID (to tell equal names apart);\n"
           "                                  --group - and --id - : the table has none\n"
           "      --dates COLUMN,COLUMN,...   the date columns of a wide table\n"
           "      --year COLUMN, --population COLUMN\n"
           "                                  the year and population columns of a long table\n"
           "      --unit N                    multiply every population by N (1000 for thousands)\n"
           "      --top N                     keep the places among the N largest at one or more\n"
           "                                  dates\n"
           "      --lat COLUMN --lon COLUMN   the coordinate columns (found by their headers;\n"
           "                                  - : none)\n"
           "      --sheet NAME|N, --layer NAME\n"
           "                                  the sheet of a workbook (.xlsx, .xls, .ods; default:\n"
           "                                  the first with data) or the layer of a GIS file\n"
           "                                  (.gpkg, .shp, .geojson, ...; default: the first)\n"
           "      --places FILE.csv           write the table as understood: name, group, ID,\n"
           "                                  latitude, longitude, one population per date\n"
           "    Warnings of the load (ignored columns, places kept, names made unique) go to stderr.\n"
           "      --picture FILE              write the picture at the end (.png, .svg or .pdf)\n"
           "      --scale N                   PNG size as a multiple of 600 x 600 pixels (default 1)\n"
           "      --size WxH                  the picture's size in pixels, laid out for it (default\n"
           "                                  600x600; up to 8000 a side); --scale multiplies it\n"
           "      --extent W,S,E,N            the map shows this box of degrees instead of every\n"
           "                                  place (e.g. -80,37,-66,48 for the Northeast)\n"
           "      --pin CITY                  draw CITY's path emphasised and the others dimmed\n"
           "                                  in the picture, as a pinned city in the window\n"
           "      --select \"A;B;C\"|@FILE  select these places (names as --places writes them; a\n"
           "                                  file: one a line): emphasised on every picture, named\n"
           "                                  on the map, ringed on the rank-size curves\n"
           "      --in-selection              run every command on the selected places alone, ranked\n"
           "                                  among themselves (as --in a group)\n"
           "      --labels N                  name the N largest places on the map (default 10; 0: none)\n"
           "      --animate FILE.png          write a time-lapse of the last of Map, Rank, RankSpirel1\n"
           "                                  or InfoSpirel, one frame per date, as an animated PNG\n"
           "      --frames DIR                write those frames as DIR/frame-01.png, ...\n"
           "      --frame-ms N                how long each frame is shown (default 800)\n"
           "      --outline FILE              draw the lines of a vector file (any GDAL reads) on the\n"
           "                                  map, over the country and US state borders\n"
           "      --text FILE                 write the window's text at the end\n"
           "      --csv FILE                  write the numbers of the printed tables as CSV\n"
           "                                  (further tables beside it as FILE-2.csv, ...)\n"
           "      --in GROUP                  run every command on the places of GROUP alone (a state,\n"
           "                                  country or region of the group column), ranked within it\n"
           + AnalysisOptionsHelp() +
           "    A CONTROL is a button name (ReadData, Rank, Zipf, NextGraph, RankSpirel1, ...),\n"
           "    or LIST=ENTRY to choose a list entry: BackMap=Black, \"Cities=Boston, MA\", Dates=1950.\n"
           "  citysize export DIR [--data FILE|DIR] [--background black] [--size WxH]\n"
           "                                  run every command in a fixed tour and write each\n"
           "                                  picture (.png, .svg), text (.txt) and table (.csv)\n"
           "                                  into DIR, with an index.html showing them all\n"
           "  citysize --help | --version\n"
           "\n"
           "Example: citysize run ReadData BackMap=Black Rank --picture rank.png\n";
}

namespace {

// An option some analysis declares (--classes, --weights, ...): its value goes to the analysis.
bool IsAnalysisOption(const std::string& a) {
    if (a.rfind("--", 0) != 0) return false;
    for (const OptionSpec& o : AllAnalysisOptions())
        if (a.substr(2) == o.name) return true;
    return false;
}

}  // namespace

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
        } else if (a == "--pin") {
            if (!value(o.pin)) return false;
        } else if (a == "--animate") {
            if (!value(o.animate)) return false;
        } else if (a == "--frames") {
            if (!value(o.frames)) return false;
        } else if (a == "--outline") {
            std::string file;
            if (!value(file)) return false;
            o.outlines.push_back(file);
        } else if (a == "--frame-ms") {
            std::string v;
            if (!value(v)) return false;
            char* end = nullptr;
            const long ms = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end || ms < 1 || ms > 65535) {
                err << "citysize: --frame-ms takes a whole number of milliseconds from 1 to 65535\n";
                return false;
            }
            o.frameMs = static_cast<int>(ms);
        } else if (a == "--text") {
            if (!value(o.text)) return false;
        } else if (a == "--csv") {
            if (!value(o.csv)) return false;
        } else if (a == "--places") {
            if (!value(o.places)) return false;
        } else if (a == "--lat" || a == "--lon") {
            if (!value(a == "--lat" ? o.import.lat : o.import.lon)) return false;
        } else if (a == "--sheet" || a == "--layer") {
            if (!value(o.import.part)) return false;
        } else if (a == "--layout") {
            std::string l;
            if (!value(l)) return false;
            if (l == "wide") o.import.layout = TableLayout::Wide;
            else if (l == "long") o.import.layout = TableLayout::Long;
            else if (l == "plain") o.import.layout = TableLayout::Plain;
            else {
                err << "citysize: --layout takes wide, long or plain\n";
                return false;
            }
        } else if (a == "--name") {
            if (!value(o.import.name)) return false;
        } else if (a == "--group") {
            if (!value(o.import.group)) return false;
        } else if (a == "--id") {
            if (!value(o.import.id)) return false;
        } else if (a == "--year") {
            if (!value(o.import.year)) return false;
        } else if (a == "--population") {
            if (!value(o.import.population)) return false;
        } else if (a == "--dates") {
            std::string list;
            if (!value(list)) return false;
            o.import.dates.clear();
            for (std::size_t from = 0;;) {
                const std::size_t comma = list.find(',', from);
                o.import.dates.push_back(list.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
                if (comma == std::string::npos) break;
                from = comma + 1;
            }
        } else if (a == "--unit" || a == "--top") {
            std::string v;
            if (!value(v)) return false;
            double n = 0;
            try {
                std::size_t used = 0;
                n = std::stod(v, &used);
                if (used != v.size()) n = 0;
            } catch (...) {
                n = 0;
            }
            if (a == "--unit" ? !(n > 0 && n < 1e9) : !(n >= 1 && n <= 1e9 && n == static_cast<int>(n))) {
                err << "citysize: " << a << (a == "--unit" ? " takes a positive number\n" : " takes a whole number from 1\n");
                return false;
            }
            if (a == "--unit") o.import.unit = n;
            else o.import.top = static_cast<int>(n);
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
        } else if (a == "--size" || a == "--extent" || a.rfind("--size=", 0) == 0 || a.rfind("--extent=", 0) == 0) {
            std::string v;
            if (a.find('=') != std::string::npos) v = a.substr(a.find('=') + 1);
            else if (!value(v)) return false;
            try {
                if (a.rfind("--size", 0) == 0) o.size = ParsePictureSize(v);
                else o.extent = ParseMapExtent(v);
            } catch (const RunError& e) {
                err << "citysize: " << e.what() << "\n";
                return false;
            }
        } else if (a == "--in") {
            if (!value(o.in)) return false;
        } else if (a == "--select") {
            if (!value(o.select)) return false;
        } else if (a == "--in-selection") {
            o.inSelection = true;
        } else if (a == "--labels") {
            std::string v;
            if (!value(v)) return false;
            char* end = nullptr;
            const long n = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end || n < 0 || n > 100000) {
                err << "citysize: --labels " << v << ": give a whole number of places from 0 to 100000\n";
                return false;
            }
            o.labels = static_cast<int>(n);
        } else if (IsAnalysisOption(a)) {
            std::string v;
            if (!value(v)) return false;
            o.tailFit.emplace_back(a.substr(2), v);
        } else if (a.rfind("--", 0) == 0 && a.find('=') != std::string::npos) {
            // --replicates=N and the like, the form the golden cases use
            o.tailFit.emplace_back(a.substr(2, a.find('=') - 2), a.substr(a.find('=') + 1));
        } else if (a.rfind("--", 0) == 0) {
            err << "citysize: unknown option " << a << "\n";
            return false;
        } else {
            o.steps.push_back(a);
        }
    }
    if (o.inSelection && o.select.empty()) {
        err << "citysize: --in-selection needs --select (the places to analyse)\n";
        return false;
    }
    if (o.steps.empty()) {
        err << "citysize: run needs at least one control, e.g. citysize run ReadData Rank\n";
        return false;
    }
    return true;
}

namespace {

// Writes every file asked for, all or none: nothing when a step failed, and nothing when one
// of them cannot be written. Returns the exit status.
int WriteOutputs(Form& f, const RunOptions& o, int status, std::ostream& err) {
    int pinned = 0;
    if (!o.pin.empty() && f.HasData()) {
        pinned = FindPlace(f, o.pin);
        if (!pinned) {
            err << "citysize: --pin: no place named \"" << o.pin << "\"\n";
            status = 1;
        }
    }
    f.Pinned = pinned;
    if (status != 0) return status;
    AtomicFiles files;
    try {
        if (!o.text.empty()) files.Write(o.text, f.Text.ToString());
        if (!o.csv.empty()) {
            if (f.Text.Tables.empty()) throw RunError("The last command printed no table to save");
            const auto paths = TableCsvPaths(o.csv, f.Text.Tables.size());
            for (std::size_t i = 0; i < paths.size(); ++i) files.Write(paths[i], f.Text.Tables[i].ToCsv());
        }
        if (!o.places.empty() && f.HasData()) {
            std::ostringstream places;
            WritePlacesCsv(*f.data, places);
            files.Write(o.places, places.str());
        }
        std::string error;
        if (!o.animate.empty() || !o.frames.empty()) {
            OffscreenApp app;
            error = WriteAnimation(f, o, files);
        }
        if (error.empty() && !o.picture.empty()) {
            OffscreenApp app;
            error = render::Save(f.Picture1, QString::fromStdString(files.File(o.picture)), o.scale, MarkedPlaces(f)).toStdString();
        }
        if (error.empty()) error = files.Commit();
        if (!error.empty()) throw RunError(error);
    } catch (const RunError& e) {
        err << "citysize: " << files.Named(e.what()) << "\n";
        return 1;
    }
    return 0;
}

int Run(const RunOptions& o, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> folders = DataSearchFolders();
    Form f(DataPath(o, folders));
    try {
        SetUpForm(f, o, folders);
    } catch (const RunError& e) {
        err << "citysize: " << e.what() << "\n";
        return 2;
    }
    int status = 0;
    const std::string failed = RunSteps(f, o, [&](const std::string& w) { err << "citysize: " << w << "\n"; });
    if (!failed.empty()) {
        err << "citysize: " << failed << "\n";
        status = 1;
    }
    status = WriteOutputs(f, o, status, err);
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
    if (first == "export") {
        std::string dir, dataDir;
        bool black = false;
        PixelSize size;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--background" && i + 1 < args.size()) {
                const std::string& b = args[++i];
                if (b != "black" && b != "grey") {
                    err << "citysize: --background takes black or grey\n";
                    return 2;
                }
                black = b == "black";
            } else if (args[i] == "--data" && i + 1 < args.size()) {
                dataDir = args[++i];
            } else if (args[i] == "--size" && i + 1 < args.size()) {
                try {
                    size = ParsePictureSize(args[++i]);
                } catch (const RunError& e) {
                    err << "citysize: " << e.what() << "\n";
                    return 2;
                }
            } else if (args[i].rfind("--", 0) == 0 || !dir.empty()) {
                err << "citysize: unexpected " << args[i] << "\n" << UsageText();
                return 2;
            } else {
                dir = args[i];
            }
        }
        if (dir.empty()) {
            err << "citysize: export needs a folder to write into\n";
            return 2;
        }
        OffscreenApp app;
        return ExportTour(dataDir.empty() ? DefaultDataPath() : dataDir, dir, black, err, size);
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
