// A table converted by GDAL's own tools to each format reads back as its CSV, coordinates included;
// each kind of bad input says where and what. (Delimiters and line ends: DelimiterTest.)
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "data/Import.h"
#include "TestForm.h"

namespace {

const std::string Dir = std::string(CITYSIZE_TEST_DATA) + "/import/";

bool HasWarning(const ImportPreview& pv, const std::string& w) {
    for (const auto& have : pv.warnings)
        if (have.find(w) != std::string::npos) return true;
    return false;
}

}  // namespace

// places.csv was written from the UN table with Python's csv module; Herat's row there:
// 1,Afghanistan,Herat,34.3482,62.1997,82,102,183,359,1058 (thousands, read with unit 1).
TEST(Readers, ConvertedFilesReadAsTheirCsv) {
    const ImportResult csv = ImportFile(Dir + "places.csv");
    const DataSet& c = *csv.data;
    ASSERT_EQ(c.NumCities, 150);
    ASSERT_EQ(c.NumDates, 5);
    EXPECT_TRUE(c.CityName(1) == "Herat" && c.Pop(1, 5) == 1058 && c.Latitude[0] == 34.3482 && c.Longitude[0] == 62.1997);
    EXPECT_EQ(csv.preview.positioned, 150);
    struct Source {
        const char* file;
        double tolerance;  // degrees; the shapefile went through Web Mercator and back
        const char* part, *source;
    };
    for (const Source& s : std::vector<Source>{{"book.xlsx", 0, "Cities", "sheet Cities"},
                                               {"places.ods", 0, "Cities", "sheet Cities"},
                                               {"places.gpkg", 0, "cities", "layer cities"},
                                               {"places_3857.shp", 1e-9, "places_3857", "layer places_3857"}}) {
        SCOPED_TRACE(s.file);
        const ImportResult r = ImportFile(Dir + s.file);
        const DataSet& d = *r.data;
        EXPECT_TRUE(r.preview.part == s.part && r.preview.source == Dir + s.file + ", " + s.source) << r.preview.source;
        ASSERT_EQ(d.NumCities, c.NumCities);
        ASSERT_EQ(d.NumDates, c.NumDates);
        for (int t = 1; t <= d.NumDates; ++t) EXPECT_EQ(d.DateYear(t), c.DateYear(t));
        EXPECT_EQ(d.Population, c.Population);
        EXPECT_EQ(d.CityGroup, c.CityGroup);
        EXPECT_EQ(d.CityID, c.CityID);
        for (int i = 1; i <= d.NumCities; ++i) {
            EXPECT_EQ(d.CityName(i), c.CityName(i));
            EXPECT_NEAR(d.Latitude[i - 1], c.Latitude[i - 1], s.tolerance) << i;
            EXPECT_NEAR(d.Longitude[i - 1], c.Longitude[i - 1], s.tolerance) << i;
        }
    }
}

// Tables that load, with what the preview must say about them.
TEST(Readers, WhatATableMeansIsFoundAndSaid) {
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<int> years;           // as loaded
        std::vector<std::string> warnings;  // each found in one warning
        int positioned = -1;              // -1: not checked
        double proposedUnit = 0;
    };
    const std::vector<Case> cases = {
        {"a 0/1 column ending in digits is not a date", "name,Pop1840,Pop1850,Pop1860,RAIL.10\nA,5,6,7,1\nB,1,2,3,0\n",
         {1840, 1850, 1860}, {"\"RAIL.10\": not a date, unlike \"Pop1840\"\xE2\x80\xA6\"Pop1860\""}},
        {"two families of equal size: the one holding populations", "name,code1,code2,y1900,y2000\nA,0,1,5000,7000\nB,1,0,300,900\n",
         {1900, 2000}, {"\"code1\": not a date"}},
        {"years before Christ and the year 0 are years; the header is no place", "name,-500,0,500\nA,1,2,3\n",
         {-500, 0, 500}, {}},
        {"\"BC\" after the digits", "name,500 BC,1,500\nA,1,2,3\n", {-500, 1, 500}, {}},
        {"a short row's missing cells are absent, and said", "name,1900,1950\nA,1,2\nB,3\n", {1900, 1950},
         {"Line 3: fewer cells than the 3 of the header; the missing cells are read as absent"}},
        {"positions: out of range, not a number and (0, 0) are said and dropped",
         "name,Latitude,Longitude,1900,1950\nA,91,0,1,2\nB,x,3,1,2\nC,0,0,1,2\nD,-33.9,151.2,1,2\n", {1900, 1950},
         {"t.csv, line 2: latitude 91, longitude 0 is out of range; the place is kept without a position",
          "t.csv, line 3: \"x\" is not a number", "t.csv, line 4: (0, 0) stands for an unknown position"},
         1},
        // Longitudes beyond 90 degrees: columns read the wrong way round would be out of range.
        {"positions under lat and lon", "name,lat,lon,1900,1950\nA,40,-120,1,2\nB,-33.9,151.2,1,2\n", {1900, 1950}, {}, 2},
        {"positions under y and x", "name,x,y,1900,1950\nA,-120,40,1,2\nB,151.2,-33.9,1,2\n", {1900, 1950}, {}, 2},
        {"positions under latitude and long", "name,long,latitude,1900,1950\nA,-120,40,1,2\n", {1900, 1950}, {}, 1},
        {"decimals below 100,000 look like thousands", "name,1950,1960\nMoscow,14425.208,15000.5\n", {1950, 1960},
         {"The populations look like thousands: the populations have decimals and the largest is 15000.5"}, -1, 1000},
        {"a header saying thousands", "name,1950 (thousands),1960 (thousands)\nA,14,15\n", {1950, 1960},
         {"the header \"1950 (thousands)\" says thousands"}, -1, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ImportResult r = ImportTable(c.bytes, "t.csv");
        std::vector<int> years;
        for (int t = 1; t <= r.data->NumDates; ++t) years.push_back(r.data->DateYear(t));
        EXPECT_EQ(years, c.years);
        for (const auto& w : c.warnings) EXPECT_TRUE(HasWarning(r.preview, w)) << w;
        EXPECT_TRUE(!c.warnings.empty() || r.preview.warnings.empty()) << r.preview.warnings.front();
        EXPECT_TRUE(c.positioned < 0 || r.preview.positioned == c.positioned) << r.preview.positioned;
        EXPECT_EQ(r.preview.proposedUnit, c.proposedUnit);
    }
    // A decimal in thousands becomes the whole number it stands for, not 14425207.999999998.
    ImportOptions thousands;
    thousands.unit = 1000;
    EXPECT_EQ(ImportTable("name,1950,1960\nMoscow,14425.208,15000.5\n", "t.csv", thousands).data->Pop(1, 1), 14425208.0);
}

// Bad input: one message naming the source, the row and the column where they apply.
TEST(Readers, BadInputIsRefusedWithWhereAndWhat) {
    const auto tmp = std::filesystem::temp_directory_path() / "citysize-readers-test";
    std::filesystem::create_directories(tmp);
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(tmp / name, std::ios::binary) << bytes;
        return (tmp / name).string();
    };
    const std::string xlsx = FileBytes(Dir + "book.xlsx");
    const std::string damaged = write("damaged.xlsx", xlsx.substr(0, xlsx.size() / 2));
    const std::string textAsXlsx = write("text.xlsx", "name,1900,1950\nA,1,2\n");
    const std::string zipAsCsv = write("zip.csv", xlsx);
    const std::string bare = write("bare.geojson",
                                   "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"properties\":{},"
                                   "\"geometry\":{\"type\":\"Point\",\"coordinates\":[1,2]}}]}");
    const std::string huge = write("huge.csv", "");
    std::filesystem::resize_file(huge, MaxFileBytes + 1);  // sparse: nothing is written
    ImportOptions sheet9;
    sheet9.part = "9";
    struct Case {
        const char* what;
        std::function<void()> load;
        std::string message;  // the start of it, when it ends in GDAL's own words
    };
    const std::vector<Case> cases = {
        {"a number beyond the header's last column",
         [] { ImportTable("name,1900,1950\nA,1,2\nB,3,4,5\n", "t.csv"); },
         "t.csv, line 3, column 4: \"5\" stands beyond the 3 columns of the header; it would be lost"},
        {"no place present at any date", [] { ImportTable("name,1900,1950\nA,0,\nB,NA,0\n", "t.csv"); },
         "t.csv: no place has a population at any date"},
        {"empty (merged) header cells", [] { ImportTable("name,Population,,\n,1900,1950,2000\nA,1,2,3\n", "t.csv"); },
         "t.csv: 0 dates found; at least 2 dates are needed (the header cells of columns 3, 4 are empty (merged cells?)"},
        {"text in a number cell of a sheet", [] { ImportFile(Dir + "textcell.xlsx"); },
         Dir + "textcell.xlsx, sheet textcell, row 2, column 4 (P1970): \"abc\" is not a number"},
        {"a sheet that is not there", [&] { ImportFile(Dir + "book.xlsx", sheet9); },
         Dir + "book.xlsx: there is no sheet \"9\" (the sheets are About, Cities)"},
        {"a damaged workbook", [&] { ImportFile(damaged); },
         damaged + ": the workbook is damaged (its zip archive cannot be read)"},
        {"text with a workbook's extension", [&] { ImportFile(textAsXlsx); },
         textAsXlsx + ": the file is text, not a workbook or GIS layer (a CSV file? give it the extension .csv)"},
        {"a workbook with a text extension", [&] { ImportFile(zipAsCsv); },
         zipAsCsv + ": not a text table: the file is a zip archive (an .xlsx or .ods workbook?)"},
        {"a file over 2 GB, refused before it is read", [&] { ImportFile(huge); },
         huge + ": 2,048 MB; files over 2 GB are not read"},
        {"a layer without attributes", [&] { ImportFile(bare); }, bare + ", layer bare: the layer has no columns"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string got = Thrown(c.load);
        EXPECT_EQ(got.substr(0, c.message.size()), c.message) << got;
    }
    std::filesystem::remove_all(tmp);
    // A formula saved without its value would vanish as an empty cell: it is said instead.
    EXPECT_TRUE(HasWarning(ImportFile(Dir + "formula.xlsx").preview,
                           "formula.xlsx, sheet textcell, cell D2: a formula without its computed value, read as empty"));
}
