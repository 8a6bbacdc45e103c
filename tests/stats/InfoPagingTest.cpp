#include <gtest/gtest.h>

#include "InfoTestData.h"
#include "stats/InfoPaging.h"

#include <sstream>
#include <string>
#include <vector>

#include "TestForm.h"
#include "data/Loader.h"

namespace {

using Fields = std::vector<std::string>;

TEST(InfoPagingButtons, TheThreePagesFollowInOrder) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    f->Click("NextInfo");
    EXPECT_FALSE(f->panel.Visible("NextInfo"));
    EXPECT_FALSE(f->panel.Visible("LastInfo"));
    EXPECT_TRUE(f->panel.Visible("NextLastInfo"));
    f->Click("NextLastInfo");
    EXPECT_FALSE(f->panel.Visible("NextInfo"));
    EXPECT_FALSE(f->panel.Visible("NextLastInfo"));
    EXPECT_TRUE(f->panel.Visible("LastInfo"));
    f->Click("LastInfo");
    EXPECT_TRUE(f->panel.Visible("LastInfo"));
    EXPECT_FALSE(f->panel.Visible("NextInfo"));
    EXPECT_FALSE(f->panel.Visible("NextLastInfo"));
    EXPECT_FALSE(f->panel.Visible("InfoStats"));
    // Clear-Data brings the main panel back from the last page.
    f->Click("Clear");
    EXPECT_TRUE(f->panel.Visible("InfoStats"));
    EXPECT_FALSE(f->panel.Visible("LastInfo"));
}

}  // namespace
