#include "Numeric.h"

namespace {
int Component(double v) {
    long c = RoundToLong(v);
    if (c < 0) throw RunError("Invalid procedure call or argument");
    return c > 255 ? 255 : static_cast<int>(c);
}
}  // namespace

Colour RGB(double r, double g, double b) {
    return Component(r) + 256 * Component(g) + 65536 * Component(b);
}

Colour PaletteColour(int n) {
    static const int table[16][3] = {
        {0, 0, 0},     {0, 0, 128},   {0, 128, 0},   {0, 128, 128}, {128, 0, 0},     {128, 0, 128},
        {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},   {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    if (n < 0 || n > 15) throw RunError("Subscript out of range");
    return table[n][0] + 256 * table[n][1] + 65536 * table[n][2];
}
