#pragma once

class Form;

// The pages that follow the first information table, in the order their buttons offer
// them: "Next-Info" -> "N-Last-Info" -> "Last-Info". Each clears the window's text first.

// "Next-Info": information of change and growth per interval, with the time-weighted
// averages (InfoAverages slots 12..23; slots 1..11 are cleared).
void NextInfo_Click(Form& f);
// "N-Last-Info": the number of cities present at both of every two dates.
void NextLastInfo_Click(Form& f);
// "Last-Info": the share-shift matrix with its row averages.
void LastInfo_Click(Form& f);
