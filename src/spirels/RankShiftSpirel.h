#pragma once

class Form;

// "RankSSpirel": the three rank-shift series of "Info-Stats" around a dial without year
// labels, as the last run of the statistics left them.
void RankShiftSpirel_Click(Form& f);
