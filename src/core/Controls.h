#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "draw/Numeric.h"

enum class ControlKind { Button, List, Label, Image };

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
    int listIndex = -1;
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

// The buttons of the main command set.
extern const std::vector<std::string_view> MainCommandSet;
