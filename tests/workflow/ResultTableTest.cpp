#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "draw/ResultTable.h"
#include "draw/RunError.h"

TEST(ResultTable, NumbersReadBackExactly) {
    for (float v : {0.1f, 1.0f / 3.0f, 1790.0f, -0.9876f, 8008278.0f, 1e-7f, 3.4e38f}) {
        std::string s = CsvNumber(v);
        EXPECT_EQ(std::strtof(s.c_str(), nullptr), v) << s;
    }
    EXPECT_EQ(CsvNumber(0.1f), "0.1");
    EXPECT_EQ(CsvNumber(1.0f / 3.0f), "0.33333334");  // the shortest that reads back as the same single
    EXPECT_EQ(CsvNumber(0.1), "0.1");
}

TEST(ResultTable, CsvHasOneHeaderRowAndQuotesWhereNeeded) {
    ResultTable t;
    t.columns = {"City", "Rank"};
    t.Row().Add("Boston, MA").Add(5);
    t.Row().Add("Say \"hi\"").Add(0.5f);
    EXPECT_EQ(t.ToCsv(), "City,Rank\r\n\"Boston, MA\",5\r\n\"Say \"\"hi\"\"\",0.5\r\n");
}

TEST(ResultTable, WritesEveryTableBesideTheFirst) {
    auto dir = std::filesystem::temp_directory_path() / "citysize-csv-test";
    std::filesystem::create_directories(dir);
    ResultTable a, b;
    a.columns = {"x"};
    b.columns = {"y"};
    auto files = WriteTablesCsv((dir / "t.csv").string(), {a, b});
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[1], (dir / "t-2.csv").string());
    std::ifstream in(files[1]);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "y\r");
    EXPECT_THROW(WriteTablesCsv((dir / "none.csv").string(), {}), RunError);
    EXPECT_THROW(WriteTablesCsv("/nonexistent-folder/t.csv", {a}), RunError);
    std::filesystem::remove_all(dir);
}
