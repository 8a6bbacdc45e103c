#include "draw/Ticks.h"

#include <cmath>
#include <cstdio>

namespace {

// The gap kept between two labels, in twips.
constexpr double LabelGap = 60;

std::string Trimmed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

int DecimalsOf(double step) { return step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9)); }

std::string LinearLabel(double v, double step) {
    if (std::fabs(v) < step * 1e-6) return "0";
    if (step >= 100000 && std::fabs(v) >= 1000000) return Trimmed(v / 1e6, DecimalsOf(step / 1e6)) + "m";
    if (step >= 100 && std::fabs(v) >= 1000) return Trimmed(v / 1e3, DecimalsOf(step / 1e3)) + "k";
    return Trimmed(v, DecimalsOf(step));
}

double Extent(const Tick& t, float fontSize, bool horizontal) {
    return horizontal ? LabelWidth(t.label, fontSize) : LabelHeight(fontSize);
}

bool Overprint(const Tick& a, const Tick& b, double twipsPerUnit, float fontSize, bool horizontal) {
    const double distance = std::fabs(b.at - a.at) * twipsPerUnit;
    return distance < (Extent(a, fontSize, horizontal) + Extent(b, fontSize, horizontal)) / 2 + LabelGap;
}

}  // namespace

double LabelWidth(const std::string& label, float fontSize) { return label.size() * fontSize * 20 * 0.6; }
double LabelHeight(float fontSize) { return std::round(fontSize * 20.0f * 1.15f); }

std::vector<Tick> LinearTicks(double lo, double hi, int target) {
    std::vector<Tick> ticks;
    if (!(hi > lo) || target < 1) return ticks;
    const double raw = (hi - lo) / target;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * mag;
    for (double m : {1.0, 2.0, 5.0})
        if (m * mag >= raw) {
            step = m * mag;
            break;
        }
    for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + step * 1e-9; ++k)
        ticks.push_back({k * step, LinearLabel(k * step, step)});
    return ticks;
}

std::vector<Tick> LogTicks(double lnHi) {
    std::vector<Tick> ticks;
    std::string label = "1";
    for (double v = 1; std::log(v) <= lnHi + 1e-9 && v <= 1e15; v *= 10, label += "0")
        ticks.push_back({std::log(v), label});
    return ticks;
}

std::vector<Tick> LogTicksIn(double lnLo, double lnHi) {
    std::vector<Tick> ticks;
    if (!(lnHi > lnLo)) return ticks;
    const double eps = (lnHi - lnLo) * 1e-9;
    auto add = [&](std::initializer_list<double> multiples) {
        ticks.clear();
        const int first = static_cast<int>(std::floor(lnLo / std::log(10.0))) - 1;
        const int last = static_cast<int>(std::ceil(lnHi / std::log(10.0))) + 1;
        for (int k = first; k <= last && k <= 15; ++k)
            for (double m : multiples) {
                const double v = m * std::pow(10.0, k), at = std::log(v);
                if (at >= lnLo - eps && at <= lnHi + eps) ticks.push_back({at, LinearLabel(v, v >= 1 ? 1 : v)});
            }
    };
    add({1});
    if (ticks.size() < 3) add({1, 2, 5});
    if (ticks.size() < 3) {
        ticks.clear();
        for (const Tick& t : LinearTicks(std::exp(lnLo), std::exp(lnHi)))
            if (t.at > 0) ticks.push_back({std::log(t.at), t.label});
    }
    return ticks;
}

std::vector<Tick> Thinned(const std::vector<Tick>& ticks, double twipsPerUnit, float fontSize, bool horizontal) {
    for (std::size_t k = 1; k <= ticks.size(); ++k) {
        std::vector<Tick> kept;
        for (std::size_t i = 0; i < ticks.size(); i += k) kept.push_back(ticks[i]);
        bool clear = true;
        for (std::size_t i = 1; i < kept.size() && clear; ++i)
            clear = !Overprint(kept[i - 1], kept[i], twipsPerUnit, fontSize, horizontal);
        if (clear) return kept;
    }
    return ticks.empty() ? ticks : std::vector<Tick>{ticks.front()};
}

std::vector<Tick> YearTicks(int first, int last, double xFirst, double xLast, double twipsPerUnit, float fontSize) {
    auto at = [&](int year) {
        return last == first ? xFirst : xFirst + (xLast - xFirst) * (year - first) / static_cast<double>(last - first);
    };
    const Tick head{at(first), std::to_string(first)}, tail{at(last), std::to_string(last)};
    if (last <= first) return {head};
    for (int step : {1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000, 2000, 5000}) {
        std::vector<Tick> between;
        for (int y = (first / step + 1) * step; y < last; y += step) between.push_back({at(y), std::to_string(y)});
        bool clear = true;
        for (std::size_t i = 1; i < between.size() && clear; ++i)
            clear = !Overprint(between[i - 1], between[i], twipsPerUnit, fontSize, true);
        if (!clear) continue;
        std::vector<Tick> ticks{head};
        for (const Tick& t : between)
            if (!Overprint(head, t, twipsPerUnit, fontSize, true) && !Overprint(t, tail, twipsPerUnit, fontSize, true))
                ticks.push_back(t);
        if (!Overprint(head, tail, twipsPerUnit, fontSize, true)) ticks.push_back(tail);
        return ticks;
    }
    return {head, tail};
}
