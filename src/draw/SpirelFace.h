#pragma once
#include "draw/Arrays.h"
#include "draw/Numeric.h"

struct Canvas;
struct PlotFrame;

// The dates a dial shows: how many, their years, and the angle from each to the next.
struct DialDates {
    int16_t NumDates;
    const Vec1<int16_t, MaxDates>& Year;
    const DateVec& AngleStep;
};

// The start of the statistics spirels: clears Picture1, DrawWidth = 1, the background
// choice without touching AxisColor; returns the face colour that contrasts with it.
float ClearForStatisticsSpirel(const Canvas& c);

// The start angle of every spirel: date 1 straight up.
float SpirelStartAngle();

// The dial of a spirel after the caller has cleared Picture1, set DrawWidth = 1 and made
// its background choice: margins of 700, the face radius, five rings, NumDates - 1
// spokes and the year labels, all in fg. Returns the face radius R.
float DrawSpirelFaceProcedure(const Canvas& c, const DialDates& dates, float fg);

// Draws the five rings and the spokes only (no labels); returns R.
float DrawSpirelRingsAndSpokes(const Canvas& c, const DialDates& dates, float fg);

// The two halves of the above, for commands that work out their scale from R between the
// rings and the spokes: the geometry fields and the rings (returns R), then the spokes.
float DrawSpirelRings(const Canvas& c, float fg);
void DrawSpirelSpokes(const Canvas& c, const DialDates& dates, float radius, float fg);

// The year labels at 1.1 R; on return angle holds the start angle plus a full turn.
void DrawSpirelFace(const Canvas& c, const DialDates& dates, float& angle, float radius, float colour);

// The spirel convention: distance r at angle theta from the centre of Picture1.
struct SpirelPoint {
    float x, y;
};
SpirelPoint SpirelPosition(const PlotFrame& frame, double r, double theta);
