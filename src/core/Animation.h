#pragma once
#include <string_view>
#include <vector>

#include "draw/Picture.h"

class Form;

// The commands that unfold through time and can be played as a time-lapse.
bool Animates(const Form& f, std::string_view control);

// One picture per date of a command that unfolds through time: the map at each date, the
// rank-size curves up to each date with the newest emphasised, a spirel drawn up to each
// date. Runs the command on the form (what it prints and its panel changes happen as for a
// click); afterwards the picture is the command's own. Throws RunError for other commands.
std::vector<Picture> AnimationFrames(Form& f, std::string_view control);

// For an analysis's Frames: runs `control`'s command and cuts its picture into dates, each
// frame the ops up to that date with the date written large; with `emphasiseNewest` the rank
// curve of the frame's date drawn wider, over the others.
std::vector<Picture> FramesByDate(Form& f, std::string_view control, bool emphasiseNewest);
