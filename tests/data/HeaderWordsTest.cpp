// Header words the reader knows for each column role, Windows-1252 place names, and places
// told apart by their ID: each checked by what the loaded table holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestForm.h"
#include "data/Import.h"

namespace {

enum class Role { Name, Group, Id, Year, Pop, Lat, Lon };

struct Word {
    const char* header;
    Role role;
};

// The words the README and the column finder name for each role, in any case and spacing.
const std::vector<Word> Words = {
    {"Name", Role::Name}, {"City", Role::Name}, {"place", Role::Name}, {"Agglomeration", Role::Name},
    {"town", Role::Name}, {"Municipality", Role::Name}, {"settlement", Role::Name}, {"Locality", Role::Name},
    {"Urban Area", Role::Name}, {"ST", Role::Group}, {"State", Role::Group}, {"country", Role::Group},
    {"Country or Area", Role::Group}, {"Country Name", Role::Group}, {"region", Role::Group},
    {"Province", Role::Group}, {"ID", Role::Id}, {"City Code", Role::Id}, {"place_id", Role::Id},
    {"GEOID", Role::Id}, {"code", Role::Id}, {"Index", Role::Id}, {"Year", Role::Year}, {"date", Role::Year},
    {"Census", Role::Year}, {"yr", Role::Year}, {"Population", Role::Pop}, {"pop2", Role::Pop},
    {"value", Role::Pop}, {"Inhabitants", Role::Pop}, {"size", Role::Pop}, {"lat", Role::Lat},
    {"Latitude", Role::Lat}, {"y", Role::Lat}, {"lon", Role::Lon}, {"long", Role::Lon}, {"Longitude", Role::Lon},
    {"x", Role::Lon}, {"lng", Role::Lon},
};

// Default headers; the word under test replaces its role's one. Alpha's population is 100 in
// 1900 and 300 in 1950 (Beta's 50 and 70), at 40.5 N 3.25 E, group XX, ID 17.
std::string Table(const Word& w, bool wide) {
    std::vector<std::string> h = {"name", "state", "id", "year", "pop", "lat", "lon"};
    h[static_cast<std::size_t>(w.role)] = w.header;
    if (wide) h.erase(h.begin() + 3, h.begin() + 5), h.insert(h.end(), {"1900", "1950"});
    std::string t;
    for (const auto& x : h) t.append(x).append(",");
    t.back() = '\n';
    return t + (wide ? "Alpha,XX,17,40.5,3.25,100,300\nBeta,YY,18,41,4,50,70\n"
                     : "Alpha,XX,17,1900,100,40.5,3.25\nAlpha,XX,17,1950,300,40.5,3.25\n"
                       "Beta,YY,18,1900,50,41,4\nBeta,YY,18,1950,70,41,4\n");
}

void ExpectRoleFound(const std::string& text) {
    ImportResult r;
    ASSERT_EQ(Thrown([&] { r = ImportTable(text, "t.csv"); }), "no error");
    const DataSet& d = *r.data;
    ASSERT_EQ(d.NumCities, 2);
    ASSERT_EQ(d.NumDates, 2);
    EXPECT_EQ(d.CityName(1), "Alpha");
    EXPECT_EQ(d.Group(1), "XX");
    ASSERT_EQ(d.CityID.size(), 2u);
    EXPECT_EQ(d.CityID[0], "17");
    EXPECT_EQ(d.DateYear(1), 1900);
    EXPECT_EQ(d.DateYear(2), 1950);
    EXPECT_EQ(d.Pop(1, 2), 300);
    ASSERT_TRUE(d.HasPosition(1));
    EXPECT_EQ(d.Latitude[0], 40.5);
    EXPECT_EQ(d.Longitude[0], 3.25);
}

TEST(HeaderWords, EachRoleWordIsRecognisedInLongAndWideTables) {
    for (const Word& w : Words) {
        SCOPED_TRACE(w.header);
        ExpectRoleFound(Table(w, false));
        if (w.role != Role::Year && w.role != Role::Pop) ExpectRoleFound(Table(w, true));
    }
}

// Expected from Python, for b in 0x80..0x9F and the six after: bytes([b]).decode('cp1252'); the
// five bytes it leaves unassigned (0x81 0x8D 0x8F 0x90 0x9D) keep their value, as browsers read them.
const std::vector<unsigned char> Bytes = {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C,
                                          0x8D, 0x8E, 0x8F, 0x90, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
                                          0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F, 0xA0, 0xA9, 0xC0, 0xE9, 0xF1, 0xFF};
const std::string Decoded =
    "\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D\u008F\u0090"
    "\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178\u00A0\u00A9"
    "\u00C0\u00E9\u00F1\u00FF";

TEST(HeaderWords, Windows1252PlaceNamesDecodeByteForByte) {
    std::string text = "name,1900,1950\n", names;
    for (unsigned char c : Bytes) text.append("P").append(1, static_cast<char>(c)).append("q,10,20\n");
    ImportResult r;
    ASSERT_EQ(Thrown([&] { r = ImportTable(text, "t.csv"); }), "no error");
    EXPECT_EQ(r.preview.encoding, "Windows-1252");
    ASSERT_EQ(r.data->NumCities, static_cast<int>(Bytes.size()));
    for (int i = 1; i <= r.data->NumCities; ++i) {
        const std::string& n = r.data->CityName(i);
        EXPECT_TRUE(n.front() == 'P' && n.back() == 'q') << n;
        names += n.substr(1, n.size() - 2);
    }
    EXPECT_EQ(names, Decoded);
}

// One place per ID: equal name and group with two IDs are two places; a repeated ID and year
// is one place given twice.
TEST(HeaderWords, LongTablePlacesAreToldApartByTheirId) {
    const std::string head = "name,state,id,year,pop\n";
    ImportResult r;
    ASSERT_EQ(Thrown([&] {
                  r = ImportTable(head + "Kailua,HI,1521,1950,10\nKailua,HI,1522,1950,20\n"
                                         "Kailua,HI,1521,2000,11\nKailua,HI,1522,2000,22\n", "t.csv");
              }),
              "no error");
    ASSERT_EQ(r.data->NumCities, 2);
    EXPECT_NE(r.data->CityName(1), r.data->CityName(2));
    EXPECT_EQ(r.data->Pop(1, 1) + r.data->Pop(2, 1), 30);
    EXPECT_EQ(r.data->Pop(1, 2) + r.data->Pop(2, 2), 33);
    const std::string refused =
        Thrown([&] { ImportTable(head + "Kailua,HI,1521,1950,10\nKailua,HI,1521,2000,11\nKailua,HI,1521,1950,20\n", "t.csv"); });
    EXPECT_NE(refused.find("given twice"), std::string::npos) << refused;
}

}  // namespace
