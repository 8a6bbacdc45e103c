#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QGuiApplication>

#include "data/Import.h"
#include "draw/ViewRange.h"
#include "map/MapExtent.h"

class AtomicFiles;
class Form;

// One run of controls without a window, as `citysize run` and the Python module make it:
// the options, a Form set up from them, the controls clicked in order, the pin, and the
// picture and time-lapse written. No widgets: only the renderer's QtGui.

struct RunOptions {
    std::string dataDir;  // empty: search the usual places
    ImportOptions import;
    std::string picture;
    std::string pin;  // a city whose path the picture emphasises
    std::string animate, frames;  // the time-lapse as an animated PNG, and as single frames
    int frameMs = 800;
    std::vector<std::string> outlines;
    std::string text;
    std::string csv;
    std::string places;
    double scale = 1.0;
    std::vector<std::pair<std::string, std::string>> tailFit;  // option name without "--", value
    std::vector<std::string> steps;
    std::string in;  // the group every command runs on; empty: all places
    std::optional<PixelSize> size;    // the pictures' size; none: 600 x 600
    std::optional<MapExtent> extent;  // the box the map shows; none: every place
    std::string select;               // "A;B;C" or "@FILE": the places selected after loading
    bool inSelection = false;         // every command runs on the selected places alone
    int labels = -1;                  // places named on the map; -1: the map's own default
};

// Rendering text needs a GUI application, but no display: one on the offscreen platform.
// Makes none when an application exists already.
class OffscreenApp {
public:
    OffscreenApp();
    OffscreenApp(const OffscreenApp&) = delete;
    OffscreenApp& operator=(const OffscreenApp&) = delete;

private:
    int argc_ = 1;
    char name_[9] = "citysize";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

// A table held in memory rather than in a file: "ReadData" reads these bytes, by the text
// reader's rules, and the caption and messages name `source`.
struct TextSource {
    std::string bytes;
    std::string source;
};

// The data file of a run: `o.dataDir`, else USData.csv from the first of `folders` holding it.
// The Form is made with it (`Form f(DataPath(o, folders))`).
std::string DataPath(const RunOptions& o, const std::vector<std::string>& folders);

// Prepares `f` as the command line does before its first control: the import options, the
// outlines shipped in `folders` and those of `o.outlines`, and every analysis option. Throws
// RunError on a refused option.
void SetUpForm(Form& f, const RunOptions& o, const std::vector<std::string>& folders);

// One control: a button name, or LIST=ENTRY to choose a list entry. Throws RunError. With a
// `memory` source, "ReadData" reads it instead of the data file.
void Step(Form& f, const std::string& step, const TextSource* memory = nullptr);

// Clicks o.steps in order (after "ReadData", o.in chooses the group); each load warning goes
// to `warn` as "TITLE: WARNING". Returns "" or "STEP: MESSAGE" for the step that failed; the
// steps after it are not clicked, and what was drawn or printed until then stays.
std::string RunSteps(Form& f, const RunOptions& o, const std::function<void(const std::string&)>& warn,
                     const TextSource* memory = nullptr);

// The first place named `name` (1-based); 0 when none is (or no data is loaded).
int FindPlace(const Form& f, const std::string& name);

// Writes the time-lapse of the last step that has one (o.animate, o.frames) through `files`,
// which puts it in place only when the whole run succeeded; "" or the error.
std::string WriteAnimation(Form& f, const RunOptions& o, AtomicFiles& files);
