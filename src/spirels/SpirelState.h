#pragma once
#include <cstdint>

#include "data/DataSet.h"
#include "draw/Arrays.h"
#include "draw/SpirelFace.h"

// PathStep(c, t, layer): layer 1 holds the distance city c moved from date t - 1 to date t
// on the last rank spirel; layer 2 marks the moves (1) once the distance spirel has run.
class PathStepTable {
public:
    static constexpr int Layers = 2;

    template <typename I, typename J>
    float& operator()(I c, J t, int layer) { return layers_[Slot(layer)](c, t); }
    template <typename I, typename J>
    const float& operator()(I c, J t, int layer) const { return layers_[Slot(layer)](c, t); }

    void Resize(int cities, int dates) {
        for (CityDateGrid& g : layers_) g.Resize(cities, dates);
    }

private:
    static std::size_t Slot(int layer) {
        if (layer < 1 || layer > Layers) throw RunError("Subscript out of range");
        return static_cast<std::size_t>(layer - 1);
    }
    CityDateGrid layers_[Layers];
};

// State the spirel commands leave for each other (rank spirels -> city and distance spirels).
struct SpirelState {
    PathStepTable PathStep;
    float SpirelScale = 0;     // twips per unit of the last rank or distance spirel
    int16_t CityPlotCount = 0; // 1: "Rank-Spirel1" drawn, no city plotted on it yet
    int CityChoice = 0;        // list position of Cities at the last "PlotCity"
    DateVec AvStepDistance;    // mean distance of the cities that moved into date t
    float AvAllDistance = 0;
    CityVec AvCityDistance;    // a city's mean distance per move
    // The order of the last rank or distance spirel: DrawOrder(j) is the city at position j,
    // the most changeable at 1; cities are drawn from position NumCities down to 1.
    CityVec DrawOrder;

    // Sized for a new data set; every field back to 0.
    void Resize(int cities, int dates) {
        *this = SpirelState{};
        PathStep.Resize(cities, dates);
        AvStepDistance.Resize(dates);
        AvCityDistance.Resize(cities);
        DrawOrder.Resize(cities);
    }
};

// The dates of a data set as a dial shows them.
inline DialDates DialOf(const DataSet& d) { return {d.NumDates, d.DateYear, d.AngleStep}; }
