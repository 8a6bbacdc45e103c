// Where the places of an imported table stand: coordinate columns or a layer's points,
// checked for what cannot be a position.
#include <cstdio>
#include <optional>

#include "data/ImportReading.h"
#include "data/Loader.h"

// The position of row r: from the coordinate columns, else from the layer's geometry.
// A position that cannot be right is reported and the place kept without one.
void Position(Reading& rd, std::size_t r, const CoordinateColumns& cc, double& lat, double& lon) {
    lat = lon = std::nan("");
    const CsvRow& row = rd.raw.rows[r];
    std::optional<double> la, lo;
    std::string problem;
    if (cc.lat >= 0) {
        const std::string a = Trim(CellText(row, cc.lat)), b = Trim(CellText(row, cc.lon));
        if (a.empty() && b.empty()) return;
        la = CellNumber(a);
        lo = CellNumber(b);
        // Joined with append: g++ 12 misreads `"\"" + text` at -O3 as an overlapping copy.
        if (!la || !lo) problem.append("\"").append(Shown(!la ? a : b)).append("\" is not a number");
    } else if (r < rd.raw.latitude.size() && !std::isnan(rd.raw.latitude[r])) {
        la = rd.raw.latitude[r];
        lo = rd.raw.longitude[r];
    } else {
        return;
    }
    if (problem.empty() && (std::fabs(*la) > 90 || std::fabs(*lo) > 180)) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "latitude %.6g, longitude %.6g is out of range", *la, *lo);
        problem = buf;
    } else if (problem.empty() && *la == 0 && *lo == 0) {
        problem = "(0, 0) stands for an unknown position";
    }
    if (!problem.empty()) {
        rd.badPositions.push_back(rd.file + ", " + rd.raw.rowWord + " " + std::to_string(row.line) + ": " + problem +
                                  "; the place is kept without a position");
        return;
    }
    lat = *la;
    lon = *lo;
}

CoordinateColumns Coordinates(Reading& rd, const std::vector<std::string>& header, std::vector<char>& taken) {
    const ImportOptions& o = rd.opt;
    const bool geometry = !rd.raw.latitude.empty();
    const bool named = !o.lat.empty() && o.lat != NoColumn && !o.lon.empty() && o.lon != NoColumn;
    CoordinateColumns cc = FindCoordinateColumns(header, o, rd.file);
    for (int c : {cc.lat, cc.lon})
        if (c >= 0) taken[static_cast<std::size_t>(c)] = 1;
    if (geometry && !named && o.lat != NoColumn && o.lon != NoColumn) {
        rd.pv.latColumn = rd.pv.lonColumn = "geometry";
        return {};  // a layer's own points win over columns that merely look like coordinates
    }
    if (cc.lat >= 0) {
        rd.pv.latColumn = header[static_cast<std::size_t>(cc.lat)];
        rd.pv.lonColumn = header[static_cast<std::size_t>(cc.lon)];
    }
    return cc;
}

bool Positioned(const Reading& rd, const CoordinateColumns& cc) {
    return cc.lat >= 0 || (!rd.raw.latitude.empty() && rd.opt.lat != NoColumn && rd.opt.lon != NoColumn);
}

void ReportPositions(Reading& rd, const Table& tab) {
    for (std::size_t k = 0; k < rd.badPositions.size() && k < LinesNamed; ++k) rd.pv.warnings.push_back(rd.badPositions[k]);
    if (rd.badPositions.size() > LinesNamed)
        rd.pv.warnings.push_back(Thousands(rd.badPositions.size() - LinesNamed) +
                                 " more places are kept without a position for the same reasons");
    for (std::size_t p = 0; p < tab.Places(); ++p) rd.pv.positioned += !std::isnan(tab.latitude[p]);
}

