#pragma once
#include "draw/Numeric.h"

class Form;

// The start of the statistics spirels: clears Picture1, DrawWidth = 1, the background
// choice without touching AxisColor; returns the face colour that contrasts with it.
float ClearForStatisticsSpirel(Form& f);

// The start angle of every spirel: date 1 straight up.
float SpirelStartAngle();

// The dial of a spirel after the caller has cleared Picture1, set DrawWidth = 1 and made
// its background choice: margins of 700, the face radius, five rings, NumDates - 1
// spokes and the year labels, all in fg. Returns the face radius R.
float DrawSpirelFaceProcedure(Form& f, float fg);

// Draws the five rings and the spokes only (no labels); returns R.
float DrawSpirelRingsAndSpokes(Form& f, float fg);

// The two halves of the above, for commands that work out their scale from R between the
// rings and the spokes: the geometry fields and the rings (returns R), then the spokes.
float DrawSpirelRings(Form& f, float fg);
void DrawSpirelSpokes(Form& f, float radius, float fg);

// The year labels at 1.1 R; on return angle holds the start angle plus a full turn.
void DrawSpirelFace(Form& f, float& angle, float radius, float colour);

// The spirel convention: distance r at angle theta from the centre of Picture1.
struct SpirelPoint {
    float x, y;
};
SpirelPoint SpirelPosition(const Form& f, double r, double theta);
