#pragma once

struct DataSet;
struct InfoStatsState;
struct RankTables;
class TextSurface;

// The pages that follow the first information table, in the order their buttons offer
// them: "Next-Info" -> "N-Last-Info" -> "Last-Info". Each clears the text pane first.

// "Next-Info": information of change and growth per interval, with the time-weighted
// averages (InfoAverages slots 12..23; slots 1..11 are cleared).
void NextInfo(const DataSet& d, InfoStatsState& s, TextSurface& out);
// "N-Last-Info": the number of cities present at both of every two dates.
void NextLastInfo(const DataSet& d, const RankTables& r, TextSurface& out);
// "Last-Info": the share-shift matrix with its row averages.
void LastInfo(const DataSet& d, const InfoStatsState& s, TextSurface& out);
