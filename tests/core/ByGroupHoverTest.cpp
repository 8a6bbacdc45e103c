// By-Group on every US place: the forest plot offers every date at which some group has a row,
// and a row's hover gives the zeta_GI and 95 % half-width (1.96 SE) the printed table holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "TestForm.h"
#include "core/ByGroupModule.h"
#include "draw/HitTest.h"
#include "stats/ByGroupPlots.h"

namespace {

std::size_t Column(const ResultTable& t, const std::string& name) {
    return static_cast<std::size_t>(std::find(t.columns.begin(), t.columns.end(), name) - t.columns.begin());
}

TEST(ByGroupHover, DatesOfferedAndRowHoverAgreeWithThePrintedTable) {
    // us-places has no row at its first date (1790), the UN's table has rows at every date.
    for (const char* file : {"/us-places-1790-2010.csv", "/un-wup2018-f12-cities-1950-2035.csv"}) {
        SCOPED_TRACE(file);
        auto f = FormReading(std::string(CITYSIZE_REAL_DATA) + file);
        f->SetOption("replicates", "0");
        f->Click("ByGroup");
        ASSERT_FALSE(f->Text.Tables.empty());
        const ResultTable table = f->Text.Tables.front();
        const std::size_t year = Column(table, "Year"), group = Column(table, "Group");
        const std::size_t zeta = Column(table, "zeta_GI"), se = Column(table, "SE_GI");
        ASSERT_LT(se, table.columns.size());
        std::set<int> years;
        for (const auto& row : table.rows) years.insert(std::stoi(row[year]));
        const auto& offered = f->panel["GroupDates"].items;
        std::set<int> listed;
        for (const auto& y : offered) listed.insert(std::stoi(y));
        EXPECT_EQ(listed, years);
        EXPECT_EQ(offered.size(), years.size());
        for (int y : {*years.begin(), *years.rbegin()}) {
            SCOPED_TRACE(y);
            f->ChooseText("GroupDates", std::to_string(y));
            f->Click("ForestPlot");
            int hovered = 0;
            const auto& ops = f->Picture1.Ops();
            for (std::size_t k = 0; k < ops.size(); ++k) {
                if (ops[k].tag.series != GroupForestRow || ops[k].kind != OpKind::Circle) continue;
                const std::string text = DescribeHit(*f, Hit{k, ops[k].tag}, ops[k].x1, ops[k].y1);
                const std::string name = text.substr(0, text.find(", " + std::to_string(y) + ":"));
                double z = 0, half = 0;
                ASSERT_EQ(std::sscanf(text.c_str() + text.find("zeta_GI "), "zeta_GI %lf +- %lf", &z, &half), 2) << text;
                const auto row = std::find_if(table.rows.begin(), table.rows.end(), [&](const auto& r) {
                    return r[group] == name && std::stoi(r[year]) == y;
                });
                ASSERT_NE(row, table.rows.end()) << text;
                EXPECT_NEAR(z, std::stod((*row)[zeta]), 6e-4) << text;
                EXPECT_NEAR(half, 1.96 * std::stod((*row)[se]), 6e-4) << text;
                ++hovered;
            }
            EXPECT_GT(hovered, 0);
        }
    }
}

}  // namespace
