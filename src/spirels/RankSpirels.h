#pragma once
#include "draw/Arrays.h"

struct Canvas;
struct DataSet;
struct RankTables;
struct SpirelState;

// Every city's history as a path on a spirel face, coloured by order of first appearance
// and drawn in order of how much it changed (the most changeable last, on top). The six
// variants (1..6) differ in the plotted value, the scale, the change measure and the face
// colour. Variant 1 leaves its scale and a fresh count for the city spirel.
void RankSpirel(const DataSet& d, RankTables& r, SpirelState& s, const Canvas& c, int variant);

// The colour of each city, by city number: components as floats before rounding.
struct RampColours {
    CityVec Red, Green, Blue;
};

// The ramp from red over yellow, green and cyan to blue in four equal quarters of the
// cities, taken in EntryOrder. Uses ColorRed/Green/Blue/Step as its working values.
void AssignRampColours(const DataSet& d, RankTables& rt, RampColours& colours);

// The rounded colour of city c, as a path is drawn in it.
Colour RampColourOf(const RampColours& colours, int c);
