#pragma once
#include <string>
#include <string_view>

class Form;

// What the window and the command line do with the selection (core/Selection.h).

// Selects the places of "A;B;C" or "@FILE" (replacing the selection); throws RunError naming
// an unknown name, a missing file or one naming no place, and leaves the selection as it was.
void SelectFromList(Form& f, std::string_view list);

// The selection becomes the table analysed, ranked among itself exactly as a group's places
// are (core/Groups.h; "All" installs the whole table again). The selection is then every
// place of the table, so it is emptied: nothing is dimmed. Throws RunError when it is empty
// or present at one date only.
inline constexpr const char* SelectionGroupName = "Selection";
void AnalyseSelection(Form& f);

// The date the selection's table reports: the one chosen in the Dates list, else the last.
int SelectionDate(const Form& f);

// The table under the text: the selected places with their population at that date, largest
// first, then their count and total (the pin's table does the same for one place).
std::string SelectionTableText(const Form& f);
