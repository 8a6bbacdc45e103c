#pragma once
#include <vector>
#include <string>

#include "draw/Emphasis.h"
#include "draw/Picture.h"

// A picture of a run kept for Python: written by the program's own writers, so that each
// format holds the bytes `citysize run --picture` writes. Throws RunError when it cannot.
class PictureBytes {
public:
    // `pinned` and `selected` (a membership by place, empty for none) are emphasised as the
    // command line's --pin and --select are.
    PictureBytes(Picture picture, int pinned, std::vector<char> selected = {})
        : picture_(std::move(picture)), pinned_(pinned), selected_(std::move(selected)) {}

    // Size in pixels at scale 1.
    int Width() const;
    int Height() const;

    std::string Png(double scale) const;
    // Exactly w x h pixels: the picture as large as fits, centred on its background.
    std::string PngSized(int w, int h) const;
    std::string Svg(double scale) const;
    std::string Pdf() const;

private:
    std::string Saved(const char* suffix, double scale) const;
    Picture picture_;
    int pinned_ = 0;
    std::vector<char> selected_;
    Emphasised Marked() const { return Emphasised(pinned_, selected_.empty() ? nullptr : &selected_); }
};
