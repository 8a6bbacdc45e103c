#include "app/Export.h"

#include "app/AtomicFile.h"

#include <QDir>
#include <QString>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/Form.h"
#include "core/TailFitModule.h"
#include "data/Loader.h"
#include "draw/RunError.h"
#include "render/PictureRenderer.h"

namespace {

struct Step {
    std::string control;              // the step's name in the file names
    std::vector<std::string> clicks;  // what it presses (LIST=ENTRY chooses)
    bool clearFirst;                  // start from the main panel with an empty text
};

std::vector<Step> Tour() {
    std::vector<Step> t = {
        {"Rank", {"Rank"}, true},
        {"DataProperties", {"DataProperties"}, true},
        {"SizeRank", {"SizeRank"}, true},
        {"CumRankSize", {"CumRankSize"}, true},
        {"CumSizeRank", {"CumSizeRank"}, true},
        {"RankShift", {"RankShift"}, true},
        {"RankSpace", {"RankSpace"}, true},
        {"RankChange", {"RankChange"}, true},
        {"PopChange", {"PopChange"}, true},
        {"Zipf", {"Zipf"}, true},
    };
    t.push_back({"NextGraph", std::vector<std::string>(22, "NextGraph"), false});
    for (int k = 1; k <= 6; ++k) t.push_back({"RankSpirel" + std::to_string(k), {"RankSpirel" + std::to_string(k)}, true});
    t.push_back({"RankSpirel1", {"RankSpirel1"}, true});
    for (const char* city : {"New York City, NY", "Chicago, IL", "Los Angeles, CA"})
        t.push_back({"PlotCity", {std::string("Cities=") + city, "PlotCity"}, false});
    t.push_back({"DistancePlot", {"DistancePlot"}, false});
    t.push_back({"HalfLives", {"HalfLives"}, true});
    t.push_back({"InfoStats", {"InfoStats"}, true});
    t.push_back({"NextInfo", {"NextInfo"}, false});
    t.push_back({"NextLastInfo", {"NextLastInfo"}, false});
    t.push_back({"LastInfo", {"LastInfo"}, false});
    t.push_back({"RankShiftSpirel", {"RankShiftSpirel"}, true});
    t.push_back({"InfoSpirel", {"InfoSpirel"}, true});
    t.push_back({"PopStats", {"PopStats"}, true});
    t.push_back({"NextPop", {"NextPop"}, false});
    t.push_back({"LastPop", {"LastPop"}, false});
    t.push_back({"PopSpirel", {"PopSpirel"}, true});
    t.push_back({"Mobility", {"Mobility"}, true});
    t.push_back({"NextMobility", {"NextMobility"}, false});
    t.push_back({"TailFit", {"TailFit"}, true});
    t.push_back({"TailPlot", {"Dates=1950", "TailPlot"}, false});
    t.push_back({"HillPlot", {"HillPlot"}, false});
    return t;
}

void Press(Form& f, const std::string& click) {
    auto eq = click.find('=');
    if (eq == std::string::npos)
        f.Click(click);
    else
        f.ChooseText(click.substr(0, eq), click.substr(eq + 1));
}

std::string Html(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

bool SameOp(const DrawOp& a, const DrawOp& b) {
    return a.kind == b.kind && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.radius == b.radius &&
           a.colour == b.colour && a.width == b.width && a.text == b.text && a.fontSize == b.fontSize && a.bold == b.bold;
}

// A step draws when its picture shows something that was not there before it: a step that
// only prints (or pages through a table) leaves the picture as it was.
bool Drew(const Picture& now, const std::vector<DrawOp>& before, Colour backBefore) {
    if (!now.Visible || now.Ops().empty()) return false;
    const auto& ops = now.Ops();
    return now.BackColor != backBefore || ops.size() != before.size() ||
           !std::equal(ops.begin(), ops.end(), before.begin(), SameOp);
}

// Writes the picture files on every core while the tour goes on: the tour feeds a queue, one
// thread per other core starts at once, and the tour's thread joins them when it is done. A
// picture's PNG and SVG are separate tasks so the last ones spread evenly. Each file depends
// only on its own display list, so the output is the same whatever order the tasks run in.
class Renderer {
public:
    Renderer() {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned k = 1; k < cores; ++k) pool_.emplace_back([this] { Work(); });
    }
    ~Renderer() { Finish(); }

    void Add(const std::string& base, const Picture& picture) {
        auto shared = std::make_shared<const Picture>(picture);
        {
            std::lock_guard lock(mutex_);
            tasks_.push_back({base + ".png", shared});
            tasks_.push_back({base + ".svg", shared});
        }
        ready_.notify_all();
    }

    // Renders what is left on this thread too; returns the first error, if any.
    std::string Finish() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        ready_.notify_all();
        Work();
        for (auto& t : pool_) t.join();
        pool_.clear();
        return failure_;
    }

private:
    struct Task {
        std::string path;
        std::shared_ptr<const Picture> picture;
    };

    void Work() {
        for (;;) {
            Task task;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return done_ || !tasks_.empty(); });
                if (tasks_.empty()) return;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            const QString error = render::Save(*task.picture, QString::fromStdString(task.path), 1.0);
            if (!error.isEmpty()) {
                std::lock_guard lock(mutex_);
                if (failure_.empty()) failure_ = error.toStdString();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Task> tasks_;
    bool done_ = false;
    std::string failure_;
    std::vector<std::thread> pool_;
};

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out) throw RunError("Cannot write " + path);
}

}  // namespace

int ExportTour(const std::string& dataDir, const std::string& outDir, bool black, std::ostream& log, PixelSize size) {
    // The tour is written into a new folder beside `outDir` and moved there only when every
    // step and file succeeded: a failed export leaves `outDir` as it was.
    AtomicFiles files;
    std::string dir;
    try {
        dir = files.Folder(outDir);
    } catch (const RunError& e) {
        log << "citysize: " << e.what() << "\n";
        return 1;
    }
    Form f(dataDir);
    f.Picture1.Width = 15.0f * size.width;
    f.Picture1.Height = 15.0f * size.height;
    // A short bootstrap with the fixed default seed keeps the tour fast and its tables the same.
    f.Module<TailFitModule>().options.replicates = 200;
    try {
        f.Click("ReadData");
        if (black) f.Choose("BackMap", 1);
    } catch (const RunError& e) {
        log << "citysize: ReadData: " << e.what() << "\n";
        return 1;
    }
    std::ostringstream body;
    Renderer renderer;
    const auto tour = Tour();
    for (std::size_t i = 0; i < tour.size(); ++i) {
        const Step& step = tour[i];
        char number[24];
        std::snprintf(number, sizeof number, "%02zu", i + 1);
        const std::string base = std::string(number) + "-" + step.control;
        std::string caption = f.panel.Find(step.control) ? f.panel[step.control].caption : step.control;
        std::string error;
        const std::vector<DrawOp> before = f.Picture1.Ops();
        const Colour backBefore = f.Picture1.BackColor;
        try {
            if (step.clearFirst) f.Click("Clear");
            for (const auto& click : step.clicks) {
                Press(f, click);
                if (click.rfind("Cities=", 0) == 0) caption += " (" + click.substr(7) + ")";
            }
        } catch (const RunError& e) {
            // A command that cannot run on this table (too few places for a fit, say) is a
            // result of the tour: its message stands on the page in place of a picture.
            error = e.what();
            log << "citysize: " << base << ": " << error << " (shown on the page)\n";
        }
        body << "<section id=\"" << base << "\">\n<h2>" << number << ". " << Html(caption) << "</h2>\n";
        if (!error.empty()) body << "<p class=\"error\">" << Html(error) << "</p>\n";
        const bool drew = Drew(f.Picture1, before, backBefore);
        if (drew) {
            renderer.Add(dir + "/" + base, f.Picture1);
            body << "<figure><img src=\"" << base << ".png\" width=\"" << size.width << "\" height=\"" << size.height << "\" alt=\"" << Html(caption)
                 << "\"><figcaption><a href=\"" << base << ".svg\">SVG</a></figcaption></figure>\n";
        }
        const std::string text = f.Text.ToString();
        try {
            if (!text.empty()) {
                WriteFile(dir + "/" + base + ".txt", text);
                body << "<pre>" << Html(text) << "</pre>\n<p><a href=\"" << base << ".txt\">text</a>";
            }
            if (!f.Text.Tables.empty()) {
                for (const auto& file : WriteTablesCsv(dir + "/" + base + ".csv", f.Text.Tables)) {
                    std::string name = std::filesystem::path(file).filename().string();
                    body << " <a href=\"" << Html(name) << "\">" << Html(name) << "</a>";
                }
            }
            if (!text.empty()) body << "</p>\n";
        } catch (const RunError& e) {
            log << "citysize: " << files.Named(e.what()) << "\n";
            return 1;
        }
        body << "</section>\n";
    }
    if (const std::string failure = renderer.Finish(); !failure.empty()) {
        log << "citysize: " << files.Named(failure) << "\n";
        return 1;
    }
    std::ostringstream page;
    page << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<title>citysize: every result</title>\n<style>\n"
         << "body{font-family:sans-serif;margin:2em;background:#f4f4f4;color:#222}"
         << "section{background:#fff;padding:1em;margin:1em 0;border:1px solid #ccc}"
         << "pre{font-size:12px;overflow-x:auto;background:#fafafa;padding:.5em}"
         << "figure{margin:0}.error{color:#a00}\n</style>\n</head>\n<body>\n"
         << "<h1>citysize: every result</h1>\n<p>Data: " << Html(f.DataSource.empty() ? std::string(DataFileName) : f.DataSource) << ", " << f.data->NumCities << " cities, "
         << f.data->NumDates << " dates. Background: " << (black ? "black" : "grey") << ".</p>\n"
         << body.str() << "</body>\n</html>\n";
    try {
        WriteFile(dir + "/index.html", page.str());
        if (const std::string failure = files.Commit(); !failure.empty()) throw RunError(failure);
    } catch (const RunError& e) {
        log << "citysize: " << files.Named(e.what()) << "\n";
        return 1;
    }
    return 0;
}
