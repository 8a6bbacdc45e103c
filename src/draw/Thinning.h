#pragma once
#include <string>

struct Canvas;

// Pictures of one path per place: past a few thousand paths the lines merge into a solid
// blot and the display list grows by hundreds of megabytes, so only every step-th path is
// drawn and the picture says so. Tables up to MaxDrawnPaths places are drawn in full.
inline constexpr int MaxDrawnPaths = 2500;

// 1 up to MaxDrawnPaths paths, else the smallest step that draws at most that many.
inline int PathThinning(int paths) { return paths <= MaxDrawnPaths ? 1 : (paths + MaxDrawnPaths - 1) / MaxDrawnPaths; }

// Whether the path at position j (1-based, in drawing order) is drawn at this step; the
// first position always is.
inline bool DrawsPath(int j, int step) { return (j - 1) % step == 0; }

// "8,915 paths: every 4th drawn", or "" at step 1.
std::string ThinningCaption(int paths, int step);

// The caption in the picture's bottom left corner, in the ink that contrasts with the
// background; nothing at step 1.
void DrawThinningCaption(const Canvas& c, int paths, int step);

// Curves with more points than this skip a point that lies within a pixel of the last one
// drawn: the curve looks the same and its display list stays small.
inline constexpr int MaxCurvePoints = 4000;
