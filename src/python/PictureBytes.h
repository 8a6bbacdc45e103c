#pragma once
#include <string>

#include "draw/Picture.h"

// A picture of a run kept for Python: written by the program's own writers, so that each
// format holds the bytes `citysize run --picture` writes. Throws RunError when it cannot.
class PictureBytes {
public:
    PictureBytes(Picture picture, int pinned) : picture_(std::move(picture)), pinned_(pinned) {}

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
};
