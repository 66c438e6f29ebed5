// The raster's strokes where GDI has rules of its own: end points, reversed
// lines, frames of thin boxes and the alternating focus outline.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/software_raster.h"

namespace vellumar {
namespace {

std::vector<std::string> Picture(const PixelBuffer& p) {
    std::vector<std::string> rows;
    for (int y = 0; y < p.height; ++y) {
        std::string row;
        for (int x = 0; x < p.width; ++x) row += (BitsOf(p.At(x, y)) & 0xFFFFFF) != 0 ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> FocusOutline(Rect rect) {
    PixelBuffer pixels(12, 8, Argb{});
    SoftwareRaster raster(pixels);
    raster.DrawFocusRect(rect);
    return Picture(pixels);
}

// Outlines as the platform's DrawFocusRect leaves them on a black 32-bit DIB.
TEST(SoftwareRaster, FocusOutlineAlternatesAlongTheWholeOutline) {
    EXPECT_EQ(
        FocusOutline({1, 1, 11, 7}),
        (std::vector<std::string>{"............", "..#.#.#.#.#.", ".#..........", "..........#.",
                                  ".#..........", "..........#.", ".#.#.#.#.#..", "............"}));
    EXPECT_EQ(
        FocusOutline({0, 0, 5, 4}),
        (std::vector<std::string>{"#.#.#.......", "............", "#...#.......", ".#.#........",
                                  "............", "............", "............", "............"}));
    EXPECT_EQ(
        FocusOutline({3, 1, 9, 3}),
        (std::vector<std::string>{"............", "....#.#.#...", "...#.#.#....", "............",
                                  "............", "............", "............", "............"}));
    // One pixel wide or high: the outline passes most pixels twice.
    EXPECT_EQ(FocusOutline({2, 2, 3, 6})[2], "..#.........");
    EXPECT_EQ(FocusOutline({2, 2, 3, 6})[4], "............");
    EXPECT_EQ(FocusOutline({0, 0, 4, 1})[0], "...#........");
    EXPECT_EQ(FocusOutline({5, 5, 2, 2}), FocusOutline({0, 0, 0, 0}));

    PixelBuffer twice(12, 8, OpaqueRgb(1, 2, 3));
    SoftwareRaster raster(twice);
    raster.DrawFocusRect({1, 1, 11, 7});
    EXPECT_EQ(BitsOf(twice.At(2, 1)) & 0xFFFFFF, 0xFEFDFCu);
    raster.DrawFocusRect({1, 1, 11, 7});
    EXPECT_EQ(twice.pixels, PixelBuffer(12, 8, OpaqueRgb(1, 2, 3)).pixels);
}

TEST(SoftwareRaster, LinesAndBoxesLikeGdi) {
    PixelBuffer pixels(12, 8, Argb{});
    SoftwareRaster raster(pixels);
    raster.DrawLine(5, 2, 2, 2, Rgb(1, 2, 3));  // leftward: 5, 4, 3
    raster.DrawLine(1, 6, 1, 3, Rgb(1, 2, 3));  // upward: 6, 5, 4
    raster.DrawLine(7, 7, 7, 7, Rgb(1, 2, 3));  // no length, nothing
    raster.FrameRect({8, 1, 9, 2}, Rgb(9, 9, 9));
    raster.FrameRect({9, 3, 12, 6}, Rgb(9, 9, 9));
    raster.FillRect({-5, 7, 100, 100}, Rgb(1, 0, 0));  // clipped to the buffer
    raster.SetPixel(-1, 0, Rgb(1, 1, 1));
    EXPECT_EQ(
        Picture(pixels),
        (std::vector<std::string>{"............", "........#...", "...###......", ".........###",
                                  ".#.......#.#", ".#.......###", ".#..........", "############"}));
    EXPECT_EQ(pixels.At(3, 2), OpaqueRgb(1, 2, 3));
    EXPECT_EQ(pixels.At(9, 3), OpaqueRgb(9, 9, 9));
}

TEST(SoftwareRaster, TextIsMeasuredByCharacterAndRecorded) {
    PixelBuffer pixels(10, 10);
    SoftwareRaster raster(pixels);
    EXPECT_EQ(raster.MeasureText("OK").width, 12);
    EXPECT_EQ(raster.MeasureText("\xC3\x84pfel").width, 30);
    raster.SetTextColor(Rgb(7, 8, 9));
    raster.DrawText("OK", {0, 0, 10, 10}, 0x65);
    ASSERT_EQ(raster.TextRuns().size(), 1u);
    EXPECT_EQ(raster.TextRuns()[0].color, Rgb(7, 8, 9));
    EXPECT_EQ(pixels.pixels, PixelBuffer(10, 10).pixels);

    SoftwareRaster measured(pixels, [](std::string_view) { return TextExtent{50, 13}; });
    EXPECT_EQ(measured.MeasureText("x").height, 13);
}

}  // namespace
}  // namespace vellumar
