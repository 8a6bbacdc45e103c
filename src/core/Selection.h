#pragma once
#include <string>
#include <string_view>
#include <vector>

struct DataSet;

// A set of places the researcher brushed or named ("the Sun Belt", "the capitals"), shared by
// every picture as the pin is: indices (1-based) into the table shown. Kept both as a sorted
// list (the table under the text, the file) and as a membership by index (what painting asks
// for every op).
class Selection {
public:
    bool Empty() const { return places_.empty(); }
    int Size() const { return static_cast<int>(places_.size()); }
    bool Has(int city) const {
        return city > 0 && static_cast<std::size_t>(city) < member_.size() && member_[static_cast<std::size_t>(city)];
    }
    const std::vector<int>& Places() const { return places_; }
    // Indexed by place (entry 0 unused); what draw/Emphasis.h reads.
    const std::vector<char>& Membership() const { return member_; }

    void Clear();
    void Set(const std::vector<int>& places);
    void Add(const std::vector<int>& places);
    void Remove(const std::vector<int>& places);

    // The same places, by name, in another table (a group or the whole table installed):
    // places it lacks drop out.
    Selection Remapped(const DataSet& from, const DataSet& to) const;

    // The command whose picture carries marks of the marked places (see core/Marks.h), empty
    // when the picture shown has none.
    std::string markedPicture;

private:
    void Rebuild();
    std::vector<int> places_;
    std::vector<char> member_;
};

// "A;B;C": the names, blanks around each trimmed, empty ones skipped.
std::vector<std::string> SplitNameList(std::string_view text);

// The names of a selection file: one a line, as --places writes them (a name holding a comma
// or a quote may be quoted as in that CSV); blank lines skipped. Throws RunError naming the
// file when it cannot be read or names no place.
std::vector<std::string> ReadNameFile(const std::string& path);

// The places with these names, in the order given (a name given twice counts once). Throws
// RunError naming the first name the table lacks.
std::vector<int> PlacesNamed(const DataSet& d, const std::vector<std::string>& names);

// `--select` and the window's load: "A;B;C", or "@FILE" for a file of names.
std::vector<int> PlacesFromList(const DataSet& d, std::string_view list);

// Writes the names of the selection, one a line, in table order. Throws RunError when the
// file cannot be written.
void WriteNameFile(const DataSet& d, const Selection& s, const std::string& path);
