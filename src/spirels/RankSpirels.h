#pragma once
#include "draw/Arrays.h"

class Form;

// Every city's history as a path on a spirel face, coloured by order of first appearance
// and drawn in order of how much it changed (the most changeable last, on top). The six
// variants differ in the plotted value, the scale, the change measure and the face colour.
void RankSpirel1_Click(Form& f);
void RankSpirel2_Click(Form& f);
void RankSpirel3_Click(Form& f);
void RankSpirel4_Click(Form& f);
void RankSpirel5_Click(Form& f);
void RankSpirel6_Click(Form& f);

// The colour of each city, by city number: components as floats before rounding.
struct RampColours {
    CityVec Red, Green, Blue;
};

// The ramp from red over yellow, green and cyan to blue in four equal quarters of the
// cities, taken in EntryOrder. Uses ColorRed/Green/Blue/Step as its working values.
void AssignRampColours(Form& f, RampColours& colours);

// The rounded colour of city c, as a path is drawn in it.
Colour RampColourOf(const RampColours& colours, int c);
