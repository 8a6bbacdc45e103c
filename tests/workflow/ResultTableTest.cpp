#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "draw/ResultTable.h"
#include "draw/RunError.h"

// Numbers and the header row are pinned by the golden CSV files, which hold no quote inside a name.
TEST(ResultTable, QuotesInsideAQuotedCellAreDoubled) {
    ResultTable t;
    t.columns = {"City", "Rank"};
    t.Row().Add("Say \"hi\"").Add(0.5f);
    EXPECT_EQ(t.ToCsv(), "City,Rank\r\n\"Say \"\"hi\"\"\",0.5\r\n");
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
