#pragma once
#include <compare>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "draw/RunError.h"

// The cells of a delimited text table, row by row, with the line each row starts on.
// A quoted cell may hold delimiters, line ends and doubled quotes; blanks around an
// unquoted cell are dropped; LF, CR LF and CR all end a line; empty lines are skipped.

// One cell as it is read: its text, which views the row holding it (valid while that row
// lives and is not added to), and whether it was quoted.
struct CsvCell {
    std::string_view text;
    bool quoted = false;
};

// The cells of one row, kept together: their texts end to end in one string and where each
// ends. A cell costs its characters and four bytes, where a string of its own cost forty: a
// table of a million rows is read in a fraction of the memory.
class CsvCellList {
public:
    class Iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = CsvCell;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = CsvCell;
        Iterator() = default;
        Iterator(const CsvCellList* list, std::size_t k) : list_(list), k_(k) {}
        CsvCell operator*() const { return (*list_)[k_]; }
        CsvCell operator[](difference_type n) const { return (*list_)[k_ + static_cast<std::size_t>(n)]; }
        Iterator& operator++() { return ++k_, *this; }
        Iterator operator++(int) { return {list_, k_++}; }
        Iterator& operator--() { return --k_, *this; }
        Iterator operator--(int) { return {list_, k_--}; }
        Iterator& operator+=(difference_type n) { return k_ += static_cast<std::size_t>(n), *this; }
        Iterator& operator-=(difference_type n) { return k_ -= static_cast<std::size_t>(n), *this; }
        friend Iterator operator+(Iterator i, difference_type n) { return i += n; }
        friend Iterator operator+(difference_type n, Iterator i) { return i += n; }
        friend Iterator operator-(Iterator i, difference_type n) { return i -= n; }
        friend difference_type operator-(const Iterator& a, const Iterator& b) {
            return static_cast<difference_type>(a.k_) - static_cast<difference_type>(b.k_);
        }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.k_ == b.k_; }
        friend auto operator<=>(const Iterator& a, const Iterator& b) { return a.k_ <=> b.k_; }

    private:
        const CsvCellList* list_ = nullptr;
        std::size_t k_ = 0;
    };

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    CsvCell operator[](std::size_t k) const {
        const std::size_t begin = k == 0 ? 0 : ends_[k - 1] & LengthBits;
        return {std::string_view(chars_).substr(begin, (ends_[k] & LengthBits) - begin), (ends_[k] & QuotedBit) != 0};
    }
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

    void push_back(const CsvCell& cell) {
        Append(cell.text);
        Close(cell.quoted);
    }
    void clear() {
        chars_.clear();
        ends_.clear();
    }
    // Building a row a piece at a time: the text of the cell being read, then its end.
    void Append(std::string_view text) { chars_.append(text); }
    void Append(char c) { chars_.push_back(c); }
    // Inline, as all of this list: the GIS library, loaded apart, fills rows too.
    void Close(bool quoted) {
        if (chars_.size() > LengthBits) throw RunError("A row of over 2 GB of text cannot be read");
        ends_.push_back(static_cast<std::uint32_t>(chars_.size()) | (quoted ? QuotedBit : 0u));
    }

private:
    static constexpr std::uint32_t QuotedBit = 0x80000000u, LengthBits = 0x7FFFFFFFu;
    std::string chars_;
    std::vector<std::uint32_t> ends_;
};

struct CsvRow {
    CsvCellList cells;
    std::size_t line = 0;
};

// Comma, unless the first line holds none and does hold semicolons or tabs.
char GuessDelimiter(std::string_view text);
// Throws RunError naming `name` and the line of a quote that is never closed.
std::vector<CsvRow> SplitCells(std::string_view text, char delimiter, const std::string& name);
