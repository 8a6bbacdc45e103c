// The analyses as modules of the registry: options reach the analyses that declare them, state
// is made only when a command needs it, list entries carry what they stand for, and the map and
// Growth-Plot word one growth rate alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "TestForm.h"
#include "core/ByGroupModule.h"
#include "core/GrowthModule.h"
#include "core/MapModule.h"
#include "core/RankSizeModule.h"
#include "core/SpirelModule.h"
#include "core/StatsModules.h"
#include "core/TailFitModule.h"
#include "draw/HitTest.h"
#include "stats/GrowthPlots.h"

TEST(Modules, EachOptionReachesEveryAnalysisThatDeclaresItAndOnlyThose) {
    struct Case {
        const char* name;
        const char* value;
        std::function<bool(Form&)> holds;  // what the option changed, looked up in the modules
    } cases[] = {
        {"replicates", "7",
         [](Form& f) {
             return f.Module<TailFitModule>().options.replicates == 7 && f.Module<GrowthModule>().options.replicates == 7 &&
                    f.Module<ByGroupModule>().options.replicates == 7;
         }},
        {"seed", "9",
         [](Form& f) { return f.Module<TailFitModule>().options.seed == 9 && f.Module<GrowthModule>().options.seed == 9; }},
        {"min-tail", "5",
         [](Form& f) { return f.Module<TailFitModule>().options.minTail == 5 && f.Module<ByGroupModule>().options.minPlaces == 10; }},
        {"min-places", "4",
         [](Form& f) { return f.Module<ByGroupModule>().options.minPlaces == 4 && f.Module<TailFitModule>().options.minTail == 10; }},
        {"bandwidth", "0.5", [](Form& f) { return f.Module<GrowthModule>().options.bandwidth == 0.5; }},
    };
    for (const Case& c : cases) {
        Form f;
        f.SetOption(c.name, c.value);
        EXPECT_TRUE(c.holds(f)) << c.name;
    }
    // A bad value names the option and changes nothing; a name no analysis declares is refused.
    const std::pair<std::pair<const char*, const char*>, const char*> refused[] = {
        {{"replicates", "12x"}, "--replicates takes a whole number, not \"12x\""},
        {{"replicates", "-1"}, "--replicates -1 is out of range (0 to 1000000)"},
        {{"min-tail", "1"}, "--min-tail 1 is out of range (2 to 1000000)"},
        {{"min-places", "0"}, "--min-places 0 is out of range (1 to 1000000)"},
        {{"bandwidth", "-1"}, "--bandwidth takes a positive number, not \"-1\""},
        {{"bandwidth", "nan"}, "--bandwidth takes a positive number, not \"nan\""},
        {{"frobnicate", "3"}, "--frobnicate is not an option of any analysis"},
    };
    for (const auto& [option, message] : refused) {
        Form f;
        EXPECT_EQ(Thrown([&] { f.SetOption(option.first, option.second); }), message) << option.first;
        EXPECT_EQ(f.Module<TailFitModule>().options.replicates, 1000);
    }
    // --help lists each option once.
    const auto options = AllAnalysisOptions();
    EXPECT_EQ(std::count_if(options.begin(), options.end(), [](const OptionSpec& o) { return o.name == "replicates"; }), 1);
}

TEST(Modules, StateIsMadeByTheFirstCommandThatNeedsItAndDroppedByANewTable) {
    auto f = FormWithRealData();
    const auto made = [&] {
        return std::string() + (f->Module<ZipfModule>().Made() ? "Z" : "") + (f->Module<SpirelModule>().Made() ? "S" : "") +
               (f->Module<InfoStatsModule>().Made() ? "I" : "") + (f->Module<PopStatsModule>().Made() ? "P" : "") +
               (f->Module<HalfLivesModule>().Made() ? "H" : "");
    };
    EXPECT_EQ(made(), "");  // loading sizes nothing
    const std::pair<const char*, const char*> steps[] = {
        {"Zipf", "Z"}, {"Clear", "Z"}, {"RankSpirel1", "ZS"}, {"Clear", "ZS"}, {"PopStats", "ZSPH"}, {"Clear", "ZSPH"},
        {"InfoStats", "ZSIPH"}, {"Clear", "ZSIPH"}, {"ReadData", ""},
    };
    for (const auto& [control, expected] : steps) {
        f->Click(control);
        EXPECT_EQ(made(), expected) << control;
    }
    // State made after a load has the new table's size.
    f->Click("RankSpirel1");
    EXPECT_GT(f->Module<SpirelModule>().State(*f->data).SpirelScale, 0.0f);
}

TEST(Modules, DatesCarryTheirDateAndPooledComesAndGoesWithGrowth) {
    auto f = FormWithRealData();
    f->SetOption("replicates", "0");
    const Control& dates = f->panel["Dates"];
    ASSERT_EQ(dates.values.size(), dates.items.size());
    for (std::size_t k = 0; k < dates.values.size(); ++k) {
        EXPECT_EQ(dates.values[k].kind, ListValue::Kind::Date);
        EXPECT_EQ(std::to_string(f->data->DateYear(dates.values[k].date)), dates.items[k]);
    }
    const std::size_t n = dates.items.size();
    f->Click("Growth");
    ASSERT_EQ(dates.items.size(), n + 1);
    EXPECT_TRUE(dates.items.back() == "Pooled" && dates.values.back().kind == ListValue::Kind::Pooled);
    f->ChooseText("Dates", "Pooled");
    f->Click("GrowthPlot");
    EXPECT_TRUE(f->Module<GrowthModule>().sample.pooled);
    f->ChooseText("Dates", "2000");  // the last date starts no pair
    EXPECT_EQ(ErrorOf(*f, "GrowthPlot"), "2000 is the last date and starts no pair: choose an earlier year or Pooled");
    f->Click("Clear");
    EXPECT_TRUE(dates.items.size() == n && dates.values.size() == n);
    f->Click("Growth");  // offered again, once
    EXPECT_EQ(dates.items.size(), n + 1);
    // Pooled chosen when its entry leaves: nothing is chosen, so Tail-Plot asks for a date.
    f->ChooseText("Dates", "Pooled");
    f->Click("Clear");
    EXPECT_EQ(dates.listIndex, -1);
    f->Click("TailFit");
    EXPECT_EQ(ErrorOf(*f, "TailPlot"), "Choose a date in the list of dates first");
}

TEST(Modules, MapAndGrowthPlotWordTheSameGrowthRate) {
    auto f = FiveForm();
    f->SetOption("replicates", "0");
    const DataSet& d = *f->data;
    const auto hoverOf = [&](int16_t series, int city) {
        const auto& ops = f->Picture1.Ops();
        for (std::size_t i = 0; i < ops.size(); ++i)
            if (ops[i].tag.series == series && ops[i].tag.city == city)
                return DescribeHit(*f, Hit{i, ops[i].tag}, ops[i].x1, ops[i].y1);
        return std::string("no op");
    };
    for (int city : {1, 2, 4}) {  // New York, Chicago (declines), Anchorage; 1990 to 2000
        // 100 ln(P'/P) / years, the README's definition, from the table's two populations.
        char expected[64];
        std::snprintf(expected, sizeof expected, "growth %+.2f %% a year", 100 * std::log(d.Pop(city, 2) / d.Pop(city, 1)) / 10);
        f->Click("Clear");
        f->Click("Map");
        f->ChooseText("Dates", "1990");
        const std::string map = hoverOf(MapPlaceSeries, city);
        f->Click("Clear");
        f->Click("Growth");
        f->ChooseText("Dates", "1990");
        f->Click("GrowthPlot");
        const std::string plot = hoverOf(GrowthPlacePoint, city);
        EXPECT_NE(map.find(std::string(expected).substr(7)), std::string::npos) << map << " / " << expected;
        EXPECT_NE(plot.find(expected), std::string::npos) << plot << " / " << expected;
    }
}
