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
std::string LongTable(const Word& w) {
    std::vector<std::string> h = {"name", "state", "id", "year", "pop", "lat", "lon"};
    h[static_cast<std::size_t>(w.role)] = w.header;
    std::string t;
    for (const auto& x : h) t.append(x).append(",");
    t.back() = '\n';
    return t + "Alpha,XX,17,1900,100,40.5,3.25\nAlpha,XX,17,1950,300,40.5,3.25\n"
               "Beta,YY,18,1900,50,41,4\nBeta,YY,18,1950,70,41,4\n";
}
std::string WideTable(const Word& w) {
    std::vector<std::string> h = {"name", "state", "id", "lat", "lon"};
    const int slot[] = {0, 1, 2, -1, -1, 3, 4};
    h[static_cast<std::size_t>(slot[static_cast<int>(w.role)])] = w.header;
    std::string t;
    for (const auto& x : h) t.append(x).append(",");
    return t + "1900,1950\nAlpha,XX,17,40.5,3.25,100,300\nBeta,YY,18,41,4,50,70\n";
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
        ExpectRoleFound(LongTable(w));
        if (w.role != Role::Year && w.role != Role::Pop) ExpectRoleFound(WideTable(w));
    }
}

// Expected code points from Python: bytes([b]).decode('cp1252') for each b; the five bytes
// Python leaves unassigned (0x81 0x8D 0x8F 0x90 0x9D) keep their value, as browsers read them.
struct Cp {
    unsigned char byte;
    char32_t code;
};
const std::vector<Cp> Cp1252 = {
    {0x80, 0x20AC}, {0x81, 0x81}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026}, {0x86, 0x2020},
    {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160}, {0x8B, 0x2039}, {0x8C, 0x0152}, {0x8D, 0x8D},
    {0x8E, 0x017D}, {0x8F, 0x8F}, {0x90, 0x90}, {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D},
    {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014}, {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A},
    {0x9C, 0x0153}, {0x9D, 0x9D}, {0x9E, 0x017E}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xA9, 0x00A9}, {0xC0, 0x00C0},
    {0xE9, 0x00E9}, {0xF1, 0x00F1}, {0xFF, 0x00FF},
};

std::string Utf8(char32_t c) {
    std::string s;
    if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    s += static_cast<char>(0x80 | (c & 0x3F));
    return s;
}

TEST(HeaderWords, Windows1252PlaceNamesDecodeByteForByte) {
    std::string text = "name,1900,1950\n";
    for (const Cp& c : Cp1252) text.append("P").append(1, static_cast<char>(c.byte)).append("q,10,20\n");
    ImportResult r;
    ASSERT_EQ(Thrown([&] { r = ImportTable(text, "t.csv"); }), "no error");
    EXPECT_EQ(r.preview.encoding, "Windows-1252");
    ASSERT_EQ(r.data->NumCities, static_cast<int>(Cp1252.size()));
    for (std::size_t k = 0; k < Cp1252.size(); ++k)
        EXPECT_EQ(r.data->CityName(static_cast<int>(k) + 1), "P" + Utf8(Cp1252[k].code) + "q") << std::hex << +Cp1252[k].byte;
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
