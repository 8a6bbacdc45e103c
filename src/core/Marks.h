#pragma once
#include <string_view>
#include <vector>

#include "draw/Emphasis.h"

class Form;

// The places a researcher marks, the pin and the selection, on every picture: the picture's
// paths of those places emphasised and the rest dimmed when painted (draw/Emphasis.h); on the
// map a halo and the name of each; on the curves of one date (the rank-size family, the tail
// plot) a ring where each lies on every curve. Halos, names and rings are ops of MarkSeries
// appended at the end of the picture, so that a new pin or selection replaces only them.

// The pin and the selection, as painting reads them (borrowing the Form's selection).
Emphasised MarkedPlaces(const Form& f);

// After `control` drew the picture: notes whether its picture marks places and appends the
// marks. Draws nothing when no place is marked, so the picture stays as the command drew it.
void MarkPlaces(Form& f, std::string_view control);

// The pin or the selection changed: the marks of the picture shown replaced, the rest as it is
// (a picture thinned to every n-th path is drawn again, with the marked paths among them).
// True when the picture was drawn again.
bool RemarkPlaces(Form& f);

// The places the picture draws inside the rectangle (twips, corners in any order): a disc of
// the map by its centre, a path by any of its points, a place on a curve of one date by its
// point. Ascending, each once.
std::vector<int> PlacesUnder(const Form& f, float x1, float y1, float x2, float y2);
