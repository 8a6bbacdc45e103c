#pragma once
// What the import of one table shares between its steps: the table read, the options, the
// preview it fills and what it has seen so far. Only the import's own files include this.
#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "data/Import.h"
#include "data/LayoutDetect.h"
#include "data/RawTable.h"
#include "data/TableBuild.h"
#include "data/TableCells.h"

inline constexpr std::size_t PreviewRows = 10;
inline constexpr std::size_t LinesNamed = 10;  // a warning about many lines names the first ones

struct Reading {
    const RawTable& raw;
    const std::string& file;  // the source as messages name it
    const ImportOptions& opt;
    ImportPreview& pv;
    std::set<std::string> absence;
    bool decimals = false;  // some population has decimals
    double largest = 0;     // the largest population as written, before the unit
    std::vector<std::string> badPositions;

    Where At(const CsvRow& row, int column, const std::string& header) const {
        return Where{file, raw.rowWord, row.line, static_cast<std::size_t>(column) + 1, header};
    }
    // A population times the unit; 0 where absent.
    double Value(const CsvRow& row, int column, const std::string& header) {
        static const CsvCell empty;
        const CsvCell& cell = static_cast<std::size_t>(column) < row.cells.size() ? row.cells[static_cast<std::size_t>(column)] : empty;
        const double v = CellValue(cell, At(row, column, header), absence);
        if (!(v > 0)) return 0;
        largest = std::max(largest, v);
        decimals = decimals || v != std::floor(v);
        return Scaled(v, cell.text);
    }
    // v times the unit; a whole number when the unit moves every decimal of the text to
    // the left of the point ("14425.208" in thousands is 14425208, not 14425207.999999998).
    double Scaled(double v, std::string_view text) const {
        const double s = v * opt.unit;
        const std::size_t point = text.find('.');
        if (point == std::string_view::npos || text.find_first_of("eE") != std::string_view::npos)
            return opt.unit == std::floor(opt.unit) ? std::round(s) : s;
        std::size_t decimalsWritten = 0;
        while (point + 1 + decimalsWritten < text.size() && IsDigit(text[point + 1 + decimalsWritten])) ++decimalsWritten;
        const double shift = std::pow(10.0, static_cast<double>(decimalsWritten));
        return decimalsWritten <= 15 && std::fmod(opt.unit, shift) == 0 ? std::round(s) : s;
    }
};

// The position of row r (NaN, NaN for none); a position that cannot be right is reported.
void Position(Reading& rd, std::size_t r, const CoordinateColumns& cc, double& lat, double& lon);
// The coordinate columns (marked taken) or the layer's geometry, named in the preview.
CoordinateColumns Coordinates(Reading& rd, const std::vector<std::string>& header, std::vector<char>& taken);
bool Positioned(const Reading& rd, const CoordinateColumns& cc);
// The positions refused (the first few named) and the count of places with one.
void ReportPositions(Reading& rd, const Table& tab);
