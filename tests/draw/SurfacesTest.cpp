// The two output surfaces: the window's text (print zones, statements, clearing) and
// Picture1's display list (current position, line width, clearing).
#include <gtest/gtest.h>

#include "draw/Picture.h"
#include "draw/TextSurface.h"

TEST(TextSurfaceTest, CommaMovesToTheNextMultipleOf14StrictlyBeyondTheColumn) {
    TextSurface t;
    t.Zone();  // column 0 -> 14: a leading comma still moves a whole zone
    EXPECT_EQ(t.Column(), 14);
    t.Zone();  // exactly on a zone start -> the next one
    EXPECT_EQ(t.Column(), 28);
    t.Put("abc").Zone();  // 31 -> 42
    EXPECT_EQ(t.Column(), 42);
    t.Put("0123456789012").Zone();  // 55 -> 56
    EXPECT_EQ(t.Column(), 56);
    t.End();
    EXPECT_EQ(t.Lines().back(), std::string(28, ' ') + "abc" + std::string(11, ' ') + "0123456789012" + " ");
}

// A print statement without a trailing separator goes to the start of the next line.
TEST(PictureTest, PrintMovesToTheNextLine) {
    Picture p;
    p.FontSize = 9;
    p.CurrentX = 300;
    p.CurrentY = 400;
    p.Print("1850");
    EXPECT_EQ(p.CurrentX, 0);
    EXPECT_EQ(p.CurrentY, 400 + 207);  // 1.15 x 9 points of 20 twips
}
