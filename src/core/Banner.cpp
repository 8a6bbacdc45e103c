#include "core/Banner.h"

#include <string>

#include <cmath>

namespace {

// A hue ramp red -> yellow -> green -> cyan -> blue for s in 0..1.
Colour Ramp(double s) {
    double r = 0, g = 0, b = 0;
    if (s < 0.25) { r = 1; g = s / 0.25; }
    else if (s < 0.5) { r = 1 - (s - 0.25) / 0.25; g = 1; }
    else if (s < 0.75) { g = 1; b = (s - 0.5) / 0.25; }
    else { g = 1 - (s - 0.75) / 0.25; b = 1; }
    return RGB(r * 255, g * 255, b * 255);
}

}  // namespace

Picture MakeBanner(const std::string& data) {
    Picture p;
    p.Width = 681 * 15;
    p.Height = 161 * 15;
    p.BackColor = RGB(18, 28, 64);
    p.Visible = true;
    const float cx = 1250, cy = 1207, R = 1000;
    const Colour face = RGB(90, 104, 150);
    for (int k = 5; k >= 1; --k) p.Circle(cx, cy, R * k / 5.0f, face);
    for (int t = 0; t < 21; ++t) {
        double a = 1.5707963 + t * 6.2831853 / 21;
        p.Line(cx, cy, static_cast<float>(cx - R * std::cos(a)), static_cast<float>(cy - R * std::sin(a)), face);
    }
    // Five city paths winding outwards around the dial.
    p.DrawWidth = 2;
    for (int c = 0; c < 5; ++c) {
        double start = 0.15 + 0.17 * c;
        for (int t = 0; t <= 21; ++t) {
            double a = 1.5707963 + t * 6.2831853 / 21;
            double r = R * (start + 0.012 * t * (c % 2 ? 1 : -0.6) + 0.05 * std::sin(t * 0.9 + c));
            float x = static_cast<float>(cx - r * std::cos(a)), y = static_cast<float>(cy - r * std::sin(a));
            if (t == 0)
                p.Line(x, y, x, y, Ramp(c / 4.0));
            else
                p.LineTo(x, y, Ramp(c / 4.0));
        }
    }
    // A family of fading rank-size lines on the right.
    for (int k = 0; k < 8; ++k) {
        int grey = 255 - 25 * k;
        p.Line(7900, 500.0f + 60 * k, 9900, 1700.0f + 110 * k, RGB(grey, grey, grey));
    }
    p.DrawWidth = 1;
    p.ForeColor = RGB(255, 255, 255);
    p.FontBold = true;
    p.FontSize = 34;
    p.CurrentX = 2600;
    p.CurrentY = 200;
    p.Print("citysize");
    p.FontBold = false;
    p.FontSize = 13;
    p.ForeColor = RGB(220, 225, 240);
    p.CurrentX = 2650;
    p.CurrentY = 1350;
    p.Print("Visualisation of City-Size Data");
    p.FontSize = 9;
    p.ForeColor = RGB(170, 180, 210);
    p.CurrentX = 2650;
    p.CurrentY = 1800;
    p.Print("rank-size, Zipf exponents, spirels, information of change  -  " + (data.empty() ? std::string("US cities 1790-2000") : data));
    return p;
}
