#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "draw/ResultTable.h"

// The window's own text: what the print statements of the commands write, as lines of
// characters in a monospaced font. A print statement is written as a chain of calls:
//   text.Put("   ").Put(year).Zone().Put(count).End();
// Put joins directly (the ";" separator), Zone moves to the next print zone (",") and
// End finishes the statement with a new line.
class TextSurface {
public:
    static constexpr int ZoneWidth = 14;

    // The size of the lines started from now on; each line keeps the size in force when
    // it was started, so a title and its table may differ.
    float FontSize = 8.25f;

    // The numbers of the tables printed since the text was last cleared, for CSV. A command
    // that prints a table adds it here; clearing the text drops them with it.
    std::vector<ResultTable> Tables;

    TextSurface& Put(std::string_view item);
    // The "," separator: to the next multiple of 14 strictly beyond the current column.
    TextSurface& Zone();
    // A statement that ends without a separator: the position goes to the next line.
    TextSurface& End();
    // Convenience: one whole line (or an empty one).
    TextSurface& Line(std::string_view item = {});

    // Erase all text; the print position returns to the top left.
    void Clear();

    // The lines written so far; the last may be unfinished (statement ended with ; or ,).
    const std::vector<std::string>& Lines() const { return lines_; }
    // The font size of line `i`, in points.
    float LineFontSize(std::size_t i) const { return sizes_[i]; }
    // All text as it would be saved: lines joined with '\n', no unfinished empty tail.
    std::string ToString() const;
    int Column() const;
    // Bumped on every change, so a window can repaint only when needed.
    unsigned Revision() const { return revision_; }

private:
    std::string& Current();
    std::vector<std::string> lines_;
    std::vector<float> sizes_;  // one per line
    bool lineOpen_ = false;  // the last line still takes items
    unsigned revision_ = 0;
};
