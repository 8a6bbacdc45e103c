#pragma once
#include <cstdint>

struct Canvas;
struct DataSet;
struct MobilityState;
struct RankTables;
class TextSurface;

// "Mobility": computes s, prints page 1 (one row per pair of consecutive dates) on a cleared
// text pane and draws the measures through time: tau_b and turnover on the left axis
// (0..1), the mean rank shift on its own right-hand axis, each point at the later date of
// its pair. Its ops carry OpTag{0, later date, MobilityPairSeries}. Nothing changes when the
// computation fails. The frame is left as it was found, so later plots are unaffected.
void Mobility(const DataSet& d, const RankTables& r, MobilityState& s, const Canvas& c);

// OpTag.series of the mobility plot's points and segments (any value distinct from the
// other series). Its tag.date is the later date of the pair, so pair index = date - 2.
inline constexpr int16_t MobilityPairSeries = 30;

// "Next-Mobility": page 2, the rank-class transition matrix, on a cleared text pane.
void NextMobility(const MobilityState& s, TextSurface& out);
