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

TEST(PictureTest, CirclesAndTextTakeTheirStyleAndTag) {
    Picture p;
    p.CurrentTag = OpTag{7, 3, 0};
    p.DrawWidth = 2;
    p.Circle(100, 200, 50, 12345);
    p.ForeColor = 999;
    p.FontSize = 9;
    p.FontBold = true;
    p.CurrentX = 300;
    p.CurrentY = 400;
    p.Print("1850");
    ASSERT_EQ(p.Ops().size(), 2u);
    const DrawOp& c = p.Ops()[0];
    EXPECT_TRUE(c.kind == OpKind::Circle && c.x1 == 100 && c.y1 == 200 && c.radius == 50 && c.colour == 12345 &&
                c.width == 2 && c.tag == (OpTag{7, 3, 0}));
    const DrawOp& t = p.Ops()[1];  // its top-left corner at the print position
    EXPECT_TRUE(t.kind == OpKind::Text && t.text == "1850" && t.x1 == 300 && t.y1 == 400 && t.colour == 999 &&
                t.fontSize == 9 && t.bold);
    // A print statement without a trailing separator goes to the start of the next line.
    EXPECT_EQ(p.CurrentX, 0);
    EXPECT_EQ(p.CurrentY, 400 + 207);  // 1.15 x 9 points of 20 twips
}
