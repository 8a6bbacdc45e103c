#pragma once
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "draw/Arrays.h"

// The data read from USData.csv and the calendar derived from it. Loading writes every
// field; the analyses only read them.
struct DataSet {
    int NumCities = 0;  // past 32,767 on the large tables; the classic counts never are
    int16_t NumDates = 0;
    int16_t FirstYear = 0;
    int16_t DataReady = 0;
    Vec1<int16_t, MaxDates> DateYear;
    Vec1<std::string, MaxCities> CityName;
    CityDateGrid PopTable;
    CityDateGrid Present;
    DateVec NumPresent;
    DateVec TimeFraction;
    DateVec StepFraction;
    DateVec DateWeight;
    DateVec AngleStep;

    // What tables beyond the classic one carry. Each vector is indexed from 0 (place i is
    // index i - 1) and is either empty or holds one entry per place.
    //   Exact: double precision and exact sums for every statistic. Only the classic
    //          header-less US table computes in single precision (its results are the
    //          system's); every other table is exact. Decided once, by the loader.
    //   Population: the populations as read times the unit, place-major
    //          (index (i - 1) * NumDates + (t - 1)); 0 where the place is absent.
    //   CityGroup, CityID: the group (state, country, region) and ID columns; "" where none.
    //   Latitude, Longitude: WGS 84 degrees; NaN where the position is unknown.
    bool Exact = false;
    std::vector<double> Population;
    std::vector<std::string> CityGroup, CityID;
    std::vector<double> Latitude, Longitude;

    // Sizes every per-place and per-date table for `cities` places and `dates` dates; a
    // loader calls it before writing any field.
    // A date is a 16-bit year and its count a 16-bit field, so dates stop at 32,767; places
    // have no limit but memory.
    void Resize(int cities, int dates) {
        if (cities < 0 || dates < 0 || dates > 32767)
            throw RunError(std::to_string(cities) + " places and " + std::to_string(dates) +
                           " dates cannot be loaded");
        DateYear.Resize(dates);
        CityName.Resize(cities);
        PopTable.Resize(cities, dates);
        Present.Resize(cities, dates);
        for (DateVec* v : {&NumPresent, &TimeFraction, &StepFraction, &DateWeight, &AngleStep}) v->Resize(dates);
    }

    // The population of place i at date t, exact where the table carries it, else the
    // single-precision value; 0 where absent. i and t count from 1.
    double Pop(int i, int t) const {
        if (!Population.empty()) return Population[static_cast<std::size_t>(i - 1) * NumDates + (t - 1)];
        return Present(i, t) > 0 ? static_cast<double>(PopTable(i, t)) : 0.0;
    }
    bool HasPosition(int i) const {
        return !Latitude.empty() && !std::isnan(Latitude[i - 1]) && !std::isnan(Longitude[i - 1]);
    }
    const std::string& Group(int i) const {
        static const std::string none;
        return CityGroup.empty() ? none : CityGroup[i - 1];
    }
};
