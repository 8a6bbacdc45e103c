#include "SyntheticTable.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "data/Loader.h"

SyntheticValues DrawSyntheticValues(int places, int dates, std::uint64_t seed) {
    std::mt19937_64 gen(seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    SyntheticValues v{places, dates, {}, {}};
    v.population.assign(static_cast<std::size_t>(places) * static_cast<std::size_t>(dates), 0.0);
    v.groups.resize(static_cast<std::size_t>(places));
    for (std::size_t k = 0; k < static_cast<std::size_t>(places); ++k) {
        v.groups[k] = "Region " + std::to_string(1 + static_cast<int>(uniform(gen) * 50));
        const bool founding = uniform(gen) < 0.4;
        const int entry = founding ? 1 : 2 + static_cast<int>(uniform(gen) * (dates - 1));
        const int exit = uniform(gen) < 0.05 ? entry + 1 + static_cast<int>(uniform(gen) * dates) : dates + 1;
        double size = std::exp(std::log(founding ? 3000.0 : 800.0) + 1.3 * normal(gen));
        const double drift = 0.01 * normal(gen);
        for (int t = 1; t <= dates; ++t) {
            if (t > entry) size *= std::exp(0.02 + drift + 0.08 * normal(gen));
            if (t < entry || t >= exit) continue;
            v.population[k * static_cast<std::size_t>(dates) + static_cast<std::size_t>(t - 1)] =
                std::max(1.0, std::round(size));
        }
    }
    return v;
}

std::unique_ptr<DataSet> BuildSyntheticTable(const SyntheticValues& v) {
    auto d = std::make_unique<DataSet>();
    d->Resize(v.places, v.dates);
    d->NumCities = v.places;
    d->NumDates = static_cast<int16_t>(v.dates);
    d->Exact = true;
    for (int t = 1; t <= v.dates; ++t) d->DateYear(t) = static_cast<int16_t>(2010 - 5 * (v.dates - t));
    d->FirstYear = d->DateYear(1);
    d->Population = v.population;
    d->CityGroup = v.groups;
    d->CityID.resize(static_cast<std::size_t>(v.places));
    for (int i = 1; i <= v.places; ++i) {
        d->CityName(i) = "Place " + std::to_string(i);
        d->CityID[static_cast<std::size_t>(i - 1)] = std::to_string(100000 + i);
        for (int t = 1; t <= v.dates; ++t)
            d->PopTable(i, t) = static_cast<float>(
                v.population[static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(v.dates) + static_cast<std::size_t>(t - 1)]);
    }
    DeriveTimeMeasures(*d);
    MarkPresence(*d);
    return d;
}

std::unique_ptr<DataSet> SyntheticTable(int places, int dates, std::uint64_t seed) {
    return BuildSyntheticTable(DrawSyntheticValues(places, dates, seed));
}
