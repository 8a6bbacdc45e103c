#include "gdal/GdalEntry.h"

#include "data/RawTable.h"

#include <gdal_priv.h>
#include <cpl_minixml.h>
#include <cpl_vsi.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "draw/RunError.h"

namespace {

// The library stands alone (a program that loads it need not export anything), so it keeps
// its own copies of the three small helpers it shares with the text reader.
std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A sheet's number as typed, "2" or " 2 "; nothing for any other text.
std::optional<double> CellNumber(const std::string& text) {
    const std::size_t a = text.find_first_not_of(" \t"), b = text.find_last_not_of(" \t");
    if (a == std::string::npos) return std::nullopt;
    const std::string t = text.substr(a, b - a + 1);
    if (t.size() > 9 || t.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return std::stod(t);
}

std::string ColumnList(const std::vector<std::string>& names) {
    std::string s;
    for (std::size_t k = 0; k < names.size(); ++k) s += (k ? ", " : "") + names[k];
    return s;
}

// Sets a GDAL option for this thread while reading, and puts the old value back.
class ThreadOption {
public:
    ThreadOption(const char* key, const char* value) : key_(key) {
        if (const char* old = CPLGetThreadLocalConfigOption(key, nullptr)) old_ = old, had_ = true;
        CPLSetThreadLocalConfigOption(key, value);
    }
    ~ThreadOption() { CPLSetThreadLocalConfigOption(key_, had_ ? old_.c_str() : nullptr); }
    ThreadOption(const ThreadOption&) = delete;
    ThreadOption& operator=(const ThreadOption&) = delete;

private:
    const char* key_;
    std::string old_;
    bool had_ = false;
};

// GDAL's own complaint, kept for the message rather than printed on the terminal.
class QuietErrors {
public:
    QuietErrors() {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~QuietErrors() { CPLPopErrorHandler(); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;
    static std::string Last() {
        const char* m = CPLGetLastErrorMsg();
        return m && *m ? std::string(" (GDAL: ") + m + ")" : std::string();
    }
};

bool IsWorkbook(const std::string& driver) { return driver == "XLSX" || driver == "XLS" || driver == "ODS"; }

OGRLayer* ChooseLayer(GDALDataset& ds, const std::string& part, bool workbook, const std::string& path,
                      std::vector<std::string>& names) {
    const int n = ds.GetLayerCount();
    for (int k = 0; k < n; ++k) names.push_back(ds.GetLayer(k)->GetName());
    const char* kind = workbook ? "sheet" : "layer";
    if (n == 0) throw RunError(path + ": the " + std::string(workbook ? "workbook" : "file") + " holds no " + kind);
    if (!part.empty()) {
        for (int k = 0; k < n; ++k)
            if (Lower(names[static_cast<std::size_t>(k)]) == Lower(part)) return ds.GetLayer(k);
        if (const auto number = CellNumber(part); number && *number >= 1 && *number <= n && *number == std::floor(*number))
            return ds.GetLayer(static_cast<int>(*number) - 1);
        throw RunError(path + ": there is no " + kind + " \"" + part + "\" (the " + kind + "s are " + ColumnList(names) +
                       ")");
    }
    if (!workbook) return ds.GetLayer(0);
    // A title or notes sheet before the table is passed over: the first sheet of two rows
    // and two columns or more, else the first that holds anything.
    for (int k = 0; k < n; ++k)
        if (ds.GetLayer(k)->GetFeatureCount() >= 2 && ds.GetLayer(k)->GetLayerDefn()->GetFieldCount() >= 2)
            return ds.GetLayer(k);
    for (int k = 0; k < n; ++k)
        if (ds.GetLayer(k)->GetFeatureCount() > 0) return ds.GetLayer(k);
    throw RunError(path + ": every sheet of the workbook is empty");
}

// What the first bytes tell about a file GDAL would not open.
std::string WhyNotOpened(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    const std::string ext = Lower(std::filesystem::path(path).extension().string());
    if (head.rfind("PK\x03\x04", 0) == 0 && (ext == ".xlsx" || ext == ".ods"))
        return "the workbook is damaged (its zip archive cannot be read)";
    if (!head.empty() && head.find('\0') == std::string::npos && head.find('\n') != std::string::npos)
        return "the file is text, not a workbook or GIS layer (a CSV file? give it the extension .csv)";
    return "not a workbook or GIS layer that can be read; damaged, or not what its extension says";
}

std::string ZipText(const std::string& path, const std::string& member) {
    GByte* bytes = nullptr;
    vsi_l_offset size = 0;
    if (!VSIIngestFile(nullptr, ("/vsizip/" + path + "/" + member).c_str(), &bytes, &size, 256LL << 20)) return {};
    std::string text(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    VSIFree(bytes);
    return text;
}

using XmlTree = std::unique_ptr<CPLXMLNode, decltype(&CPLDestroyXMLNode)>;
XmlTree Xml(const std::string& text) { return XmlTree(CPLParseXMLString(text.c_str()), &CPLDestroyXMLNode); }

// An .xlsx cell holding a formula without the value last computed (written by a program
// that does not compute formulas): OGR reads it as empty, so a population would vanish
// unseen. The first such cell of the sheet, as "D2", or "" when there is none.
std::string FormulaWithoutValue(const std::string& path, const std::string& sheet) {
    const XmlTree book = Xml(ZipText(path, "xl/workbook.xml"));
    const XmlTree rels = Xml(ZipText(path, "xl/_rels/workbook.xml.rels"));
    if (!book || !rels) return {};
    std::string id, target;
    if (const CPLXMLNode* sheets = CPLGetXMLNode(book.get(), "=workbook.sheets"))
        for (const CPLXMLNode* n = sheets->psChild; n; n = n->psNext)
            if (n->eType == CXT_Element && sheet == CPLGetXMLValue(n, "name", "")) id = CPLGetXMLValue(n, "r:id", "");
    if (const CPLXMLNode* list = CPLGetXMLNode(rels.get(), "=Relationships"))
        for (const CPLXMLNode* n = list->psChild; n; n = n->psNext)
            if (n->eType == CXT_Element && id == CPLGetXMLValue(n, "Id", "")) target = CPLGetXMLValue(n, "Target", "");
    if (target.empty()) return {};
    if (target[0] == '/') target.erase(0, 1);
    else target = "xl/" + target;
    const std::string text = ZipText(path, target);
    if (text.find("<f>") == std::string::npos && text.find("<f ") == std::string::npos) return {};  // no formulas
    const XmlTree ws = Xml(text);
    const CPLXMLNode* data = ws ? CPLGetXMLNode(ws.get(), "=worksheet.sheetData") : nullptr;
    for (const CPLXMLNode* row = data ? data->psChild : nullptr; row; row = row->psNext)
        for (const CPLXMLNode* c = row->psChild; c; c = c->psNext)
            if (c->eType == CXT_Element && CPLGetXMLNode(c, "f") && !CPLGetXMLNode(c, "v"))
                return CPLGetXMLValue(c, "r", "?");
    return {};
}

}  // namespace

namespace {

RawTable ReadOgrTable(const std::string& path, const std::string& part) {
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    // The program, not the driver, decides whether a sheet's first row is a header, and
    // reads every cell as the text it holds (no rounding through a guessed type).
    const ThreadOption headers[] = {{"OGR_XLSX_HEADERS", "DISABLE"}, {"OGR_ODS_HEADERS", "DISABLE"},
                                    {"OGR_XLS_HEADERS", "DISABLE"},  {"OGR_XLSX_FIELD_TYPES", "STRING"},
                                    {"OGR_ODS_FIELD_TYPES", "STRING"}, {"OGR_XLS_FIELD_TYPES", "STRING"}};
    const QuietErrors quiet;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) throw RunError(path + ": no such file");
    GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!ds) throw RunError(path + ": " + WhyNotOpened(path) + QuietErrors::Last());
    const std::string driver = ds->GetDriver() ? ds->GetDriver()->GetDescription() : "";
    const bool workbook = IsWorkbook(driver);
    RawTable raw;
    raw.encoding = driver;
    OGRLayer* layer = ChooseLayer(*ds, part, workbook, path, raw.parts);
    raw.part = layer->GetName();
    raw.source = path + ", " + (workbook ? "sheet " : "layer ") + raw.part;
    raw.rowWord = workbook ? "row" : "feature";
    raw.headerKnown = !workbook;
    OGRFeatureDefn* defn = layer->GetLayerDefn();
    const int fields = defn->GetFieldCount();
    if (fields == 0) throw RunError(raw.source + ": the " + (workbook ? "sheet" : "layer") + " has no columns");
    if (!workbook) {
        CsvRow header;
        header.line = 0;
        for (int k = 0; k < fields; ++k) header.cells.push_back({defn->GetFieldDefn(k)->GetNameRef(), false});
        raw.rows.push_back(std::move(header));
    }
    // Positions: the geometry's point (a polygon's centroid), in longitude / latitude order.
    std::unique_ptr<OGRCoordinateTransformation> toWgs84;
    const bool geometry = !workbook && defn->GetGeomFieldCount() > 0;
    if (geometry) {
        raw.latitude.push_back(std::nan(""));
        raw.longitude.push_back(std::nan(""));
        if (const OGRSpatialReference* srs = layer->GetSpatialRef()) {
            OGRSpatialReference from(*srs), wgs84;
            wgs84.importFromEPSG(4326);
            from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
            wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
            toWgs84.reset(OGRCreateCoordinateTransformation(&from, &wgs84));
            if (!toWgs84)
                throw RunError(raw.source + ": its coordinates cannot be turned into latitude and longitude" +
                               QuietErrors::Last());
        }
    }
    layer->ResetReading();
    std::size_t number = 0;
    for (auto& feature : *layer) {
        ++number;
        CsvRow row;
        // A sheet's row as the spreadsheet numbers it (OGR counts features from 1 there).
        row.line = workbook && feature->GetFID() >= 1 ? static_cast<std::size_t>(feature->GetFID()) : number;
        bool any = false;
        for (int k = 0; k < fields; ++k) {
            CsvCell cell;
            if (feature->IsFieldSetAndNotNull(k)) cell.text = feature->GetFieldAsString(k);
            any = any || !cell.text.empty();
            // A number from a typed field is never written with thousands separators.
            cell.quoted = false;
            row.cells.push_back(std::move(cell));
        }
        if (workbook && !any) continue;
        if (geometry) {
            double lat = std::nan(""), lon = std::nan("");
            const OGRGeometry* g = feature->GetGeometryRef();
            if (g && !g->IsEmpty()) {
                OGRPoint pt;
                const bool point = wkbFlatten(g->getGeometryType()) == wkbPoint;
                if (point) pt = *g->toPoint();
                if (point || g->Centroid(&pt) == OGRERR_NONE) {
                    double x = pt.getX(), y = pt.getY();
                    if (!toWgs84 || toWgs84->Transform(1, &x, &y)) lon = x, lat = y;
                }
            }
            raw.latitude.push_back(lat);
            raw.longitude.push_back(lon);
        }
        raw.rows.push_back(std::move(row));
    }
    if (raw.rows.empty() || (raw.headerKnown && raw.rows.size() < 2))
        throw RunError(raw.source + ": the " + (workbook ? "sheet" : "layer") + " holds no rows");
    if (driver == "XLSX")
        if (const std::string cell = FormulaWithoutValue(path, raw.part); !cell.empty())
            raw.notes.push_back(raw.source + ", cell " + cell +
                                ": a formula without its computed value, read as empty (the workbook was saved by a "
                                "program that does not compute formulas; open and save it in a spreadsheet program)");
    std::vector<std::string> others;
    for (const auto& p : raw.parts)
        if (p != raw.part) others.push_back(p);
    if (!others.empty())
        raw.notes.push_back(std::string(workbook ? "Sheet" : "Layer") + " \"" + raw.part + "\" read; the file also holds " +
                            std::to_string(others.size()) + " other" + (workbook ? " sheet" : " layer") +
                            (others.size() > 1 ? "s" : "") + ": " + ColumnList(others));
    return raw;
}

}  // namespace

extern "C" void citysize_ReadOgrTable(const std::string* path, const std::string* part, RawTable* out) {
    *out = ReadOgrTable(*path, *part);
}
