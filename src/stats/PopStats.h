#pragma once

class Form;

// "Pop-Stats": the overlaps of the top 25 (through HalfLives_Click without a plot), the
// cumulative shares of the top 10 %, 20 %, ... of the present cities (printed) and of the
// top 10, 20, ..., 200 cities (kept in PopBands), and the four summary series.
void PopStats_Click(Form& f);
// "Next-Pop": the table of the rank bands.
void NextPop_Click(Form& f);
// "Last-Pop": the table of the top-25 overlaps and their averages.
void LastPop_Click(Form& f);

