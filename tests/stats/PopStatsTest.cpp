#include <gtest/gtest.h>

#include <string>

#include "TestForm.h"
#include "core/StatsModules.h"

TEST(PopStats, DateWithoutCitiesIsReportedNotDividedBy) {
    auto f = FormWithData("\"A\",50,0,70\n\"B\",40,0,80\n\"C\",30,0,90\n", 3, 3);
    const std::string why = ErrorOf(*f, "PopStats");
    EXPECT_NE(why.find("No city is present in 1800"), std::string::npos) << why;
    EXPECT_TRUE(f->Text.Lines().empty());
    EXPECT_TRUE(f->panel.Visible("PopStats") && !f->panel.Visible("NextPop"));  // the panel stays as it was
}

// Ten cities of 10, 9, ..., 1 (55 in all): the top 10 % is one city, the top half five,
// the top 10 and top 50 all ten. These four shares are what Pop-Spirel draws.
TEST(PopStats, TheSharesThePopSpirelDraws) {
    auto f = FormWithData("\"A\",10,10\n\"B\",9,9\n\"C\",8,8\n\"D\",7,7\n\"E\",6,6\n\"F\",5,5\n\"G\",4,4\n"
                          "\"H\",3,3\n\"I\",2,2\n\"J\",1,1\n", 10, 2);
    f->Click("PopStats");
    const auto& s = f->Module<PopStatsModule>().State(*f->data);
    for (int t = 1; t <= 2; ++t) {
        EXPECT_FLOAT_EQ(s.TopTenPctShare(t), 10.0f / 55);
        EXPECT_FLOAT_EQ(s.TopHalfShare(t), 40.0f / 55);
        EXPECT_FLOAT_EQ(s.TopTenShare(t), 1.0f);
        EXPECT_FLOAT_EQ(s.TopFiftyShare(t), 1.0f);
    }
}
