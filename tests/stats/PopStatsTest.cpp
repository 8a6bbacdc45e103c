#include <gtest/gtest.h>

#include <string>

#include "TestForm.h"

TEST(PopStats, DateWithoutCitiesIsReportedNotDividedBy) {
    auto f = FormWithData("\"A\",50,0,70\n\"B\",40,0,80\n\"C\",30,0,90\n", 3, 3);
    try {
        f->Click("PopStats");
        FAIL() << "expected an error";
    } catch (const RunError& e) {
        EXPECT_NE(std::string(e.what()).find("No city is present in 1800"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(f->Text.Lines().empty());
    EXPECT_TRUE(f->panel.Visible("PopStats"));  // the panel stays as it was
    EXPECT_FALSE(f->panel.Visible("NextPop"));
    for (int t = 1; t <= 3; ++t) EXPECT_EQ(f->pop.TopTenShare(t), 0.0f);
}
