#pragma once
#include <cstdint>
#include <string>

#include "draw/Arrays.h"

// The data read from USData.csv and the calendar derived from it. Loading writes every
// field; the analyses only read them.
struct DataSet {
    int16_t NumCities = 0;
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
};
