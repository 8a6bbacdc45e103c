#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "draw/Numeric.h"

enum class ControlKind { Button, List, Label, Image };

// What a list entry stands for beside the text it shows: a date of the table (1-based), the
// pooled pairs of dates, or only its place in the list.
struct ListValue {
    enum class Kind { Position, Date, Pooled } kind = Kind::Position;
    int date = 0;
    static ListValue Date(int t) { return {Kind::Date, t}; }
    static ListValue PooledDates() { return {Kind::Pooled, 0}; }
};

// One control of the window as the core sees it: the window only mirrors these fields.
struct Control {
    std::string name;
    ControlKind kind = ControlKind::Button;
    std::string caption;  // caption, or the text field of a list
    std::string toolTip;
    float left = 0, top = 0, width = 0, height = 0;  // twips
    bool visible = true;
    Colour backColor = -1;  // -1: the toolkit's standard look
    // Labels
    float fontSize = 12;
    bool italic = false;
    Colour foreColor = -1;
    std::string fontName;
    // Lists
    std::vector<std::string> items;
    std::vector<ListValue> values;  // beside items, for lists whose entries stand for something
    int listIndex = -1;
    // The value of the chosen entry; null when none is chosen or the list has no values.
    const ListValue* Chosen() const {
        return listIndex >= 0 && listIndex < static_cast<int>(values.size()) ? &values[static_cast<std::size_t>(listIndex)]
                                                                              : nullptr;
    }
};

// The controls in the order the window holds them, looked up by name.
class ControlTable {
public:
    Control& Add(Control c);
    Control& operator[](std::string_view name);
    const Control& operator[](std::string_view name) const;
    const Control* Find(std::string_view name) const;
    void Show(std::string_view name) { (*this)[name].visible = true; }
    void Hide(std::string_view name) { (*this)[name].visible = false; }
    bool Visible(std::string_view name) const { return (*this)[name].visible; }
    const std::vector<Control>& All() const { return controls_; }
    // Bumped whenever a list's items change, so the window refills only then.
    unsigned listRevision = 0;

private:
    std::vector<Control> controls_;
};

// The buttons of the classic main command set (an analysis marks its own with
// CommandSpec::mainSet).
extern const std::vector<std::string_view> MainCommandSet;

// Making and placing controls (twips): a button, a list, a control of another kind; at a
// place, right of another with a gap, or below another.
Control ButtonControl(std::string name, std::string caption, std::string tip = {});
Control ListControl(std::string name, std::string caption = {});
Control OfKind(ControlKind kind, std::string name, std::string caption = {});
void Place(Control& c, float left, float top, float width, float height);
void RightOf(ControlTable& p, std::string_view name, std::string_view of, float gap);
void Below(ControlTable& p, std::string_view name, std::string_view of);
