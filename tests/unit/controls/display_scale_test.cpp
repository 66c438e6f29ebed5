#include <gtest/gtest.h>

#include "controls/controls.h"

namespace vellumar {
namespace {

TEST(TwipsToPixelsAt, ScalesPlacesAndKeepsNeighboursTouching) {
    struct Case {
        int dpi;
        int window_width;   // the 11790-twip window
        int window_height;  // the 8355-twip window
        int odd_place;      // 100 twips, between two pixels at most scales
    };
    const Case cases[] = {
        {96, 786, 557, 7},     {120, 983, 696, 8},    {144, 1179, 836, 10},
        {192, 1572, 1114, 13}, {288, 2358, 1671, 20},
    };
    // Neighbours that touch: one item ends where the next begins, with
    // widths that fall between pixels at every scale.
    const int widths[] = {195, 7, 1305, 8, 420, 1, 14, 6645};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(TwipsToPixelsAt(11790, c.dpi), c.window_width);
        EXPECT_EQ(TwipsToPixelsAt(8355, c.dpi), c.window_height);
        EXPECT_EQ(TwipsToPixelsAt(100, c.dpi), c.odd_place);
        EXPECT_EQ(TwipsToPixelsAt(-100, c.dpi), -c.odd_place);
        EXPECT_EQ(ScalePixels(28, c.dpi), TwipsToPixelsAt(420, c.dpi));
        int left = 390;
        int previous_right = TwipsToPixelEdges(TwipsRect{0, 0, left, 0}, c.dpi).right;
        int total = previous_right;
        for (int width : widths) {
            const PixelEdges edges = TwipsToPixelEdges(TwipsRect{left, left, width, width}, c.dpi);
            EXPECT_EQ(edges.left, previous_right) << width;
            EXPECT_GE(edges.right, edges.left);
            total += edges.right - edges.left;
            previous_right = edges.right;
            left += width;
        }
        // No pixel lost or gained along the row.
        EXPECT_EQ(total, TwipsToPixelsAt(left, c.dpi));
    }
    // At 96 dpi the edges agree with the place-plus-size pixels for these.
    EXPECT_EQ(TwipsToPixelEdges(TwipsRect{390, 100, 1275, 195}, 96),
              (PixelEdges{TwipsToPixels(390), TwipsToPixels(100), 26 + TwipsToPixels(1275),
                          7 + TwipsToPixels(195)}));
}

}  // namespace
}  // namespace vellumar
