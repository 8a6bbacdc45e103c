// Dist-Fit as an analysis of its own: its buttons, its state and what hover says.
#include <cmath>
#include <cstdio>
#include <memory>

#include "core/Analysis.h"
#include "core/Form.h"
#include "core/LongFit.h"
#include "core/TailFitModule.h"
#include "draw/RunError.h"
#include "stats/DistFitPlots.h"

namespace {

std::string Fixed(double v, int decimals) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

class DistFitAnalysis : public Analysis {
public:
    std::string_view Name() const override { return "Dist-Fit"; }

    void AddControls(Form& f) override {
        ControlTable& p = f.panel;
        Control fit;
        fit.name = "DistFit";
        fit.caption = "Dist-Fit";
        fit.toolTip = "Which law? Fits the lognormal, the double Pareto-lognormal and a lognormal body with a Pareto "
                      "tail to every date by maximum likelihood, with AIC, KS, Vuong's test and the curvature test";
        // A new row under Growth, of its size.
        const Control& growth = p["Growth"];
        fit.left = growth.left;
        fit.top = growth.top + growth.height + 150;
        fit.width = growth.width;
        fit.height = growth.height;
        p.Add(fit);
        const float bottomMargin = f.WindowHeight - (growth.top + growth.height);
        f.WindowHeight = std::max(f.WindowHeight, fit.top + fit.height + bottomMargin);
        Control plot;
        plot.name = "DistPlot";
        plot.caption = "Dist-Plot";
        plot.toolTip = "For the date chosen above: the distribution on log-log axes and the density of ln x, each "
                       "with the three fitted laws";
        // Under the Dates list, below the places the other analyses' plot buttons take.
        const Control& rd = p["ReadData"];
        plot.left = rd.left;
        plot.top = rd.top + 2600;
        plot.width = rd.width;
        plot.height = growth.height;
        plot.visible = false;
        p.Add(plot);
        p.Hide("DistFit");
    }

    std::vector<CommandSpec> Commands() const override {
        return {{"DistFit", &DistFitAnalysis::FitClick, true, true}, {"DistPlot", &DistFitAnalysis::PlotClick, true, false}};
    }

    std::optional<std::string> Describe(const Form& f, const Hit& hit, float, float) const override {
        const OpTag& tag = hit.tag;
        if (tag.series != DistAicPoint && tag.series != DistPlace) return std::nullopt;
        const DataSet& d = *f.data;
        if (tag.date < 1 || tag.date > d.NumDates) return std::string();
        const DistFitRow* row = state_ ? Row(tag.date) : nullptr;
        if (tag.series == DistPlace) {
            if (tag.city < 1 || tag.city > d.NumCities) return std::string();
            const double x = d.Pop(tag.city, tag.date);
            std::string s = d.CityName(tag.city) + ", " + std::to_string(d.DateYear(tag.date)) + ": population " +
                            Fixed(x, 0);
            if (row)
                for (const auto& fit : row->fits)
                    if (fit.ok) s += "\n" + std::string(LawName(fit.law)) + ": P(X >= x) " + Fixed(1 - Cdf(fit, x), 4);
            return s;
        }
        if (!row || tag.point < 1 || tag.point > 3) return std::string();
        const LawFit& fit = row->fits[static_cast<std::size_t>(tag.point - 1)];
        std::string s = std::to_string(row->year) + ", " + LawName(fit.law) + " (n " + std::to_string(row->n) + ")";
        if (!fit.ok) return s + ": not fitted, " + fit.reason;
        return s + "\nAIC " + Fixed(fit.aic, 2) + ", logL " + Fixed(fit.logL, 2) + ", KS " + Fixed(fit.ks, 4) +
               "\nbest: " + row->best;
    }

    void Reset() override { state_.reset(); }

    const DistFitState* State() const { return state_.get(); }

private:
    std::unique_ptr<DistFitState> state_;

    const DistFitRow* Row(int date) const {
        for (const auto& r : state_->rows)
            if (r.date == date) return &r;
        return nullptr;
    }

    bool Redraw(Form& f, std::string_view control) override {
        if (control != "DistFit" || !state_) return false;
        DrawDistFitAic(*f.data, *state_, CanvasOf(f));
        return true;
    }

    static void FitClick(Form& f) {
        auto& self = f.Module<DistFitAnalysis>();
        auto state = std::make_unique<DistFitState>();
        const int minTail = f.Module<TailFitModule>().options.minTail;
        auto work = [&](const TailFitControl& control) { *state = FitDistAllDates(*f.data, minTail, control); };
        RunLongFit(f, work, "Dist-Fit");
        self.state_ = std::move(state);
        f.Text.Clear();
        PrintDistFit(*self.state_, f.Text);
        f.ShowMainCommandSet(false);
        f.Picture1.Visible = true;
        DrawDistFitAic(*f.data, *self.state_, CanvasOf(f));
        for (const char* name : {"TailPlot", "HillPlot", "GrowthPlot", "GroupDates", "ForestPlot", "HeatMap", "NextGroups"})
            f.panel.Hide(name);
        for (const char* name : {"Dates", "DistPlot"}) f.panel.Show(name);
    }

    static void PlotClick(Form& f) {
        auto& self = f.Module<DistFitAnalysis>();
        const int t = ChosenDate(f);
        // The table's row when Dist-Fit ran on this table, else this date alone.
        const DistFitRow* row = self.state_ ? self.Row(t) : nullptr;
        DistFitRow fresh;
        if (!row) {
            fresh = FitDistDate(PresentPopulations(*f.data, t), f.data->DateYear(t), t, f.Module<TailFitModule>().options.minTail);
            row = &fresh;
        }
        if (!row->reason.empty())
            throw RunError("Dist-Plot: " + std::to_string(row->year) + " has " + row->reason);
        DrawDistPlot(*f.data, t, *row, CanvasOf(f));
    }
};

}  // namespace

std::unique_ptr<Analysis> MakeDistFitAnalysis() { return std::make_unique<DistFitAnalysis>(); }
