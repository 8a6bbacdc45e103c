#pragma once

class Form;

// The rank-change distances the last rank spirel recorded in PathStep: marks the moves,
// averages them per date, per city and overall, prints the per-date table on the window
// and draws them with DrawDistanceSpirel.
void DistancePlot_Click(Form& f);

// Every city's distances as a path on a spirel face (the most mobile city last, on top)
// and the curve of the per-date averages; leaves its scale in SpirelScale.
void DrawDistanceSpirel(Form& f);
