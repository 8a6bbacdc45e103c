#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draw/HitTest.h"
#include "draw/Picture.h"

class Form;

// A command of an analysis: the button that runs it and what it does.
struct CommandSpec {
    std::string_view control;
    void (*handler)(Form&);
    bool needsData = true;
    // Shown with the main command set (Load Data, Clear-Data) rather than only in its panel.
    bool mainSet = false;
};

// A command-line option of an analysis, `--name VALUE`, with its line for --help.
struct OptionSpec {
    std::string_view name;   // without the dashes
    std::string_view value;  // what the value is, e.g. "N" or "FILE.gal"
    std::string_view help;
};

// An analysis declares in one place what it adds to the program: its controls, its commands,
// its options, what hover says about its pictures and whether it plays as a time-lapse. It
// owns its state and options; the Form owns the session (data, groups, pin, selection, panel)
// and reaches every analysis through the registry, as do the command line and Python.
class Analysis {
public:
    virtual ~Analysis() = default;
    virtual std::string_view Name() const = 0;

    // Adds and places its buttons and lists (hidden until its panel shows them); called once
    // when the Form is made, after the controls of the classic panel.
    virtual void AddControls(Form&) {}
    virtual std::vector<CommandSpec> Commands() const = 0;

    virtual std::vector<OptionSpec> Options() const { return {}; }
    // Sets one of its options from text: false when `name` is not one of its options; throws
    // RunError naming the value when the value is bad. An option several analyses declare
    // (--replicates, --seed) is set on each of them.
    virtual bool SetOption(std::string_view name, std::string_view value) {
        (void)name, (void)value;
        return false;
    }

    // What hover says about an op tagged with one of its series; nullopt when the op is not one
    // of its own.
    virtual std::optional<std::string> Describe(const Form&, const Hit&, float x, float y) const {
        (void)x, (void)y;
        return std::nullopt;
    }

    // A list entry was chosen (Form::Choose): redraw if its picture reads that list.
    virtual void ListChosen(Form&, std::string_view list) { (void)list; }

    // Every click, before its command runs: an analysis whose picture the command replaces
    // stops redrawing on list choices.
    virtual void BeforeCommand(std::string_view control) { (void)control; }

    // Time-lapses: whether `control` plays one, and its frames, one picture per date.
    virtual bool Animates(std::string_view control) const {
        (void)control;
        return false;
    }
    virtual std::vector<Picture> Frames(Form&, std::string_view control) {
        (void)control;
        return {};
    }

    // Draws the picture of `control` again, at the picture's size and zoom, from the results it
    // kept (no fit is run again); false when it has none to draw from.
    virtual bool Redraw(Form&, std::string_view control) {
        (void)control;
        return false;
    }

    // A new table was installed or the table analysed changed (a group, a selection): drop what
    // was computed on the old one.
    virtual void Reset() {}
    // After Reset, with the new table installed: refill the lists it offers.
    virtual void DataInstalled(Form&) {}
};

// For Describe: whether (x, y) lies nearer the start than the end of the hit line (a segment
// tagged with its later date names the earlier one near its start).
bool NearerStart(const Picture& picture, const Hit& hit, float x, float y);

using AnalysisFactory = std::unique_ptr<Analysis> (*)();

// Every analysis, one line each, in src/core/Registry.cpp.
const std::vector<AnalysisFactory>& RegisteredAnalyses();

// The options of every analysis, each name once (an option several analyses declare keeps the
// first declaration's help), for the command line's parser and --help.
std::vector<OptionSpec> AllAnalysisOptions();
