// The selection's summary: every selected place counted, present at the date or not, and the
// populations of those present totalled.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TestForm.h"
#include "core/SelectionActions.h"

namespace {

TEST(SelectionSummary, CountsEverySelectedPlaceAndTotalsThosePresent) {
    // Three censuses 1790-1810; C is absent in 1810, B in 1790.
    auto f = FormWithData("\"A\",100,200,300\n\"B\",0,50,70\n\"C\",40,30,0\n", 3, 3);
    const struct {
        std::vector<int> selected;
        int count, present, total;  // worked from the table above at 1810
    } cases[] = {{{1, 3}, 2, 1, 300}, {{3}, 1, 0, 0}, {{1, 2, 3}, 3, 2, 370}, {{2, 3}, 2, 1, 70}};
    for (const auto& c : cases) {
        f->selection.Set(c.selected);
        const std::string text = SelectionTableText(*f);
        int count = -1, present = -1, year = 0;
        double total = -1;
        ASSERT_EQ(std::sscanf(text.c_str(), "Selected: %d %*[a-z], %d present in %d, total population %lf", &count,
                              &present, &year, &total), 4) << text;
        EXPECT_EQ(count, c.count) << text;
        EXPECT_EQ(text.find(c.count == 1 ? " place," : " places,"), 11u) << text;  // after "Selected: N"
        EXPECT_EQ(present, c.present) << text;
        EXPECT_EQ(year, 1810);
        EXPECT_EQ(total, c.total) << text;
        EXPECT_NE(text.find("-  C\n"), std::string::npos) << text;  // the absent place is listed
    }
}

}  // namespace
