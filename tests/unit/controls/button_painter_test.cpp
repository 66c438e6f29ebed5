// The Command faces on the software raster: style 1 as the program's own
// buttons use it, the decorations and their precedence, and the examples of
// styles 2 to 5.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "command_test_support.h"
#include "controls/button_painter.h"
#include "controls/software_raster.h"

namespace vellumar::testing {
namespace {

constexpr ColorRef kXp2Green = Rgb(122, 184, 98);
constexpr ColorRef kXp2Ring = Rgb(228, 144, 80);

TEST(CommandColors, ShiftAndOffsetClampAndTruncate) {
    EXPECT_EQ(ShiftColor(Rgb(250, 10, 100), 10, ColorShift::kAdditive), Rgb(255, 20, 110));
    EXPECT_EQ(ShiftColor(Rgb(20, 10, 100), -30, ColorShift::kAdditive), Rgb(0, 0, 70));
    // Proportional touches only blue: 200 * 48 / 192 = 50; 250 * -32 / 192 = -41.67 -> -41.
    EXPECT_EQ(ShiftColor(Rgb(212, 208, 200), 48, ColorShift::kProportional), Rgb(255, 255, 250));
    EXPECT_EQ(ShiftColor(Rgb(255, 255, 250), -32, ColorShift::kProportional), Rgb(223, 223, 209));
    EXPECT_EQ(OffsetColor(Rgb(220, 220, 186), -30, -30, -60, Rgb(250, 250, 250)),
              Rgb(190, 190, 126));
    EXPECT_EQ(OffsetColor(Rgb(255, 5, 100), 0, -30, 0, Rgb(250, 250, 50)), Rgb(250, 0, 50));
}

TEST(CommandStyle1, UpBodyOfAProgramButtonLightensRowByRow) {
    CommandRig rig;  // 97 x 25, XpType 2, ColorScheme 1
    const RasterHost& h = rig.host;
    EXPECT_EQ(h.At(5, 23), Rgb(243, 238, 219));
    EXPECT_EQ(h.At(5, 12), Rgb(254, 249, 230));
    EXPECT_EQ(h.At(5, 1), Rgb(255, 255, 241));
    // Border lines and rounded corners.
    EXPECT_EQ(h.At(2, 0), Rgb(0, 60, 115));
    EXPECT_EQ(h.At(0, 12), Rgb(0, 60, 115));
    EXPECT_EQ(h.At(1, 1), Rgb(16, 77, 123));
    EXPECT_EQ(h.At(95, 23), Rgb(16, 77, 123));
    EXPECT_EQ(h.At(0, 0), kSysBtnFace);
    ASSERT_EQ(h.raster.TextRuns().size(), 1u);
    EXPECT_EQ(h.raster.TextRuns()[0].text, "Limit");
    EXPECT_EQ(h.raster.TextRuns()[0].rect, (Rect{0, 0, 97, 25}));
    EXPECT_EQ(h.raster.TextRuns()[0].format, 0x65u);
}

TEST(CommandStyle1, FadeBodiesOfXpTypes1And3) {
    CommandRig rig;
    rig.button.SetXpType(1);
    // First drawn row already carries one increment of (255 - c) / (h - 5).
    EXPECT_EQ(rig.host.At(5, 23), Rgb(201, 200, 217));
    EXPECT_EQ(rig.host.At(5, 1), Rgb(255, 255, 255));
    rig.button.OnMouseDown(1, 0, 5, 5);
    EXPECT_EQ(rig.host.At(5, 1), Rgb(175, 174, 191));  // 171 + 84/20, 170 + 85/20, 188 + 67/20
    rig.button.OnMouseUp(1, 0, 5, 5);
    rig.button.SetXpType(3);
    EXPECT_EQ(rig.host.At(5, 23), Rgb(237, 236, 231));
}

TEST(CommandStyle1, PressedBodyDarkensTowardTheTopAndCaptionMovesRightAndDown) {
    CommandRig rig;
    rig.host.raster.ClearTextRuns();
    rig.button.OnMouseDown(1, 0, 10, 10);
    ASSERT_EQ(rig.button.ButtonState(), 2);
    // Face (212,208,200) +48 then -32 proportional = (223,223,209), then
    // -round(15 i / h) per row counted from the bottom.
    EXPECT_EQ(rig.host.At(5, 23), Rgb(222, 222, 208));
    EXPECT_EQ(rig.host.At(5, 1), Rgb(209, 209, 194));
    EXPECT_EQ(rig.host.At(2, 24), Rgb(0, 60, 115));
    ASSERT_EQ(rig.host.raster.TextRuns().size(), 1u);
    EXPECT_EQ(rig.host.raster.TextRuns()[0].rect, (Rect{2, 2, 97, 25}));
    EXPECT_EQ(rig.host.raster.TextRuns()[0].format, 0x65u);
}

TEST(CommandStyle1, HoverRingReplacesEmphasisAndFocusBoxUntilThePointerLeaves) {
    CommandRig rig;
    RasterHost& h = rig.host;
    rig.button.OnGotFocus();
    EXPECT_EQ(h.At(1, 5), kXp2Green);             // emphasis frame
    EXPECT_EQ(h.At(94, 2), Inverted(kXp2Green));  // focus box starts at InnerRect's top right
    EXPECT_EQ(h.At(2, 4), Inverted(kXp2Green));
    EXPECT_EQ(h.At(2, 3), kXp2Green);  // the dots alternate

    h.cursor = {10, 10};
    rig.button.OnMouseMove(0, 0, 10, 10);
    EXPECT_TRUE(rig.button.IsHovering());
    EXPECT_EQ(h.At(1, 5), kXp2Ring);
    EXPECT_EQ(h.At(94, 2), kXp2Ring);  // ring, not inverted: no focus box
    EXPECT_EQ(h.At(2, 1), kXp2Ring);

    h.cursor = {98, 10};  // right of the width
    rig.timers.Fire(rig.button.Timer1());
    EXPECT_FALSE(rig.button.IsHovering());
    EXPECT_EQ(h.At(1, 5), kXp2Green);
    EXPECT_EQ(h.At(94, 2), Inverted(kXp2Green));
}

TEST(CommandStyle1, OtherXpTypesUseBlueEmphasisAndTheRectcolorRing) {
    CommandRig rig;
    rig.button.SetXpType(1);
    rig.button.OnGotFocus();
    EXPECT_EQ(rig.host.At(1, 5), Rgb(140, 174, 231));
    EXPECT_EQ(rig.host.At(5, 23), Rgb(107, 130, 239));
    EXPECT_EQ(rig.host.At(5, 1), Rgb(206, 231, 255));
    EXPECT_EQ(rig.host.At(5, 2), Rgb(189, 215, 247));
    EXPECT_EQ(rig.host.At(2, 10), Inverted(Rgb(181, 209, 240)));  // side line under the focus box
    EXPECT_EQ(rig.host.At(94, 11), Rgb(181, 209, 240));

    // rectcolor shows only at the next paint of the ring.
    const int paints = rig.host.paints;
    rig.button.SetRectcolor(Rgb(1, 2, 3));
    EXPECT_EQ(rig.host.paints, paints);
    rig.button.OnMouseMove(0, 0, 10, 10);
    EXPECT_EQ(rig.host.At(1, 5), Rgb(1, 2, 3));
}

TEST(CommandStyle1, DefaultButtonFollowsShowFocusRect) {
    CommandRig rig;
    RasterHost& h = rig.host;
    const ColorRef row5 = Rgb(255, 255, 237);
    const ColorRef row2 = Rgb(255, 255, 240);
    rig.button.SetDisplayAsDefault(true);
    EXPECT_EQ(h.At(1, 5), kXp2Green);
    EXPECT_EQ(h.At(94, 2), Inverted(kXp2Green));

    rig.button.SetShowFocusRect(false);
    EXPECT_EQ(h.At(1, 5), row5);
    EXPECT_EQ(h.At(94, 2), row2);
    rig.button.OnGotFocus();
    EXPECT_EQ(h.At(1, 5), row5);
    EXPECT_EQ(h.At(94, 2), row2);
    rig.button.SetDisplayAsDefault(false);
    rig.button.SetShowFocusRect(true);  // focused: shows at once
    EXPECT_EQ(h.At(1, 5), kXp2Green);
    EXPECT_EQ(h.At(94, 2), Inverted(kXp2Green));
}

TEST(CommandStyle1, PressedFocusedShowsOnlyTheFocusBox) {
    CommandRig rig;
    rig.button.OnGotFocus();
    rig.button.OnMouseDown(1, 0, 5, 5);
    EXPECT_EQ(rig.host.At(94, 2), Inverted(Rgb(209, 209, 194)));  // row 2 of the pressed body
    EXPECT_EQ(rig.host.At(1, 5), Rgb(211, 211, 196));
}

TEST(CommandStyle1, DisabledLookIgnoresStateHoverAndFocus) {
    CommandRig rig;
    rig.button.SetEnabled(false);
    EXPECT_FALSE(rig.host.window_enabled);
    EXPECT_EQ(rig.host.At(5, 5), Rgb(244, 244, 234));
    EXPECT_EQ(rig.host.At(2, 0), Rgb(201, 199, 186));
    EXPECT_EQ(rig.host.At(1, 1), Rgb(201, 199, 186));
    EXPECT_EQ(rig.host.At(0, 0), Rgb(244, 244, 234));
    ASSERT_FALSE(rig.host.raster.TextRuns().empty());
    EXPECT_EQ(rig.host.raster.TextRuns().back().color, Rgb(161, 162, 146));
    EXPECT_EQ(rig.host.raster.TextRuns().back().rect, (Rect{0, 0, 97, 25}));
    const PixelBuffer plain = rig.host.pixels;

    rig.button.OnGotFocus();
    rig.button.SetDisplayAsDefault(true);
    EXPECT_EQ(rig.host.pixels.pixels, plain.pixels);
    rig.button.PaintButton(2, true);
    EXPECT_EQ(rig.host.pixels.pixels, plain.pixels);
}

TEST(CommandStyle1, UnforcedPaintDrawsOnlyWhenTheStateChanges) {
    CommandRig rig;
    const int paints = rig.host.paints;
    rig.button.PaintButton(0, false);
    EXPECT_EQ(rig.host.paints, paints);
    rig.button.PaintButton(2, false);
    EXPECT_EQ(rig.host.paints, paints + 1);
    EXPECT_EQ(rig.button.ButtonState(), 2);
    // Held inside: moves repaint nothing.
    rig.button.OnMouseMove(1, 0, 5, 5);
    rig.button.OnMouseMove(1, 0, 6, 5);
    EXPECT_EQ(rig.host.paints, paints + 1);
}

TEST(CommandCaption, WideCaptionWrapsWithAComputedTopAndShortOneCentresAgain) {
    CommandRig rig(60, 33, 1);
    rig.button.SetCaption("a caption far too wide");  // 22 * 6 = 132 px: two more lines
    const auto& runs = rig.host.raster.TextRuns();
    // top = (33 - 12 * (132 / 60 + 1)) / 2 = -3 / 2 -> -1
    EXPECT_EQ(runs.back().rect, (Rect{0, -1, 60, 33}));
    EXPECT_EQ(runs.back().format, 0x11u);
    rig.button.OnMouseDown(1, 0, 5, 5);
    EXPECT_EQ(runs.back().rect, (Rect{2, 1, 60, 33}));
    rig.button.OnMouseUp(1, 0, 5, 5);
    rig.button.SetCaption("OK");
    EXPECT_EQ(runs.back().rect, (Rect{0, 0, 60, 33}));
    EXPECT_EQ(runs.back().format, 0x65u);
    EXPECT_EQ(rig.button.ClientRect(), (Rect{0, 0, 60, 33}));
}

TEST(CommandStyle2, BevelFromThePaletteAndItsThreeLooks) {
    CommandRig rig(60, 20, 2);
    RasterHost& h = rig.host;
    EXPECT_EQ(h.At(10, 10), kSys3DLight);
    EXPECT_EQ(h.At(10, 0), kSys3DDkShadow);
    EXPECT_EQ(h.At(1, 1), kSys3DDkShadow);
    EXPECT_EQ(h.At(10, 2), kSysBtnHighlight);
    EXPECT_EQ(h.At(2, 10), kSysBtnHighlight);
    EXPECT_EQ(h.At(57, 10), kSysBtnFace);
    EXPECT_EQ(h.At(58, 10), kSysBtnShadow);
    EXPECT_EQ(h.At(57, 2), kSys3DLight);

    rig.button.OnGotFocus();  // emphasis, second top line from x = 1, no focus box
    EXPECT_EQ(h.At(1, 2), Rgb(189, 215, 247));
    EXPECT_EQ(h.At(57, 2), Rgb(189, 215, 247));
    EXPECT_EQ(h.At(1, 10), Rgb(140, 174, 231));
    rig.button.OnMouseMove(0, 0, 5, 5);  // ring always in rectcolor
    EXPECT_EQ(h.At(1, 10), Rgb(250, 195, 88));

    h.raster.ClearTextRuns();
    rig.button.OnMouseDown(1, 0, 5, 5);
    EXPECT_EQ(h.At(10, 10), Rgb(112, 112, 112));  // shadow - 16
    EXPECT_EQ(h.At(1, 10), Rgb(64, 64, 64));      // shadow - 64 frame
    EXPECT_EQ(h.At(2, 10), Rgb(96, 96, 96));      // shadow - 32 frame
    ASSERT_EQ(h.raster.TextRuns().size(), 1u);
    EXPECT_EQ(h.raster.TextRuns()[0].color, kSys3DLight);  // LightColor, not TextColor

    h.raster.ClearTextRuns();
    rig.button.SetEnabled(false);
    ASSERT_EQ(h.raster.TextRuns().size(), 2u);
    EXPECT_EQ(h.raster.TextRuns()[0].color, kSysBtnShadow);
    EXPECT_EQ(h.raster.TextRuns()[0].rect, (Rect{0, 0, 60, 20}));
    EXPECT_EQ(h.raster.TextRuns()[1].color, kSysBtnHighlight);
    EXPECT_EQ(h.raster.TextRuns()[1].rect, (Rect{2, 2, 60, 20}));
    EXPECT_EQ(h.At(10, 10), kSys3DLight);
}

TEST(CommandStyle3, HoveredFaceIsPaintedTwiceAndPressedFollowsTheScheme) {
    CommandRig rig(80, 24, 3);
    ButtonLook look = rig.button.Look();
    auto top_borders = [](const RecordingSurface& s) {
        std::vector<ColorRef> colors;
        for (const auto& l : s.lines) {
            if (l.x1 == 2 && l.y1 == 0 && l.x2 == 78 && l.y2 == 0)
                colors.push_back(l.color);
        }
        return colors;
    };
    RecordingSurface plain;
    PaintButtonFace(plain, look);
    EXPECT_EQ(top_borders(plain), (std::vector<ColorRef>{Rgb(183, 183, 183)}));
    look.hovering = true;
    RecordingSurface hovered;
    PaintButtonFace(hovered, look);
    EXPECT_EQ(top_borders(hovered), (std::vector<ColorRef>{Rgb(183, 183, 183), Rgb(82, 134, 182)}));
    EXPECT_EQ(hovered.Rows(80).size(), 2 * plain.Rows(80).size());

    rig.button.OnMouseDown(1, 0, 5, 5);
    EXPECT_EQ(rig.host.At(2, 0), Rgb(203, 130, 62));
    rig.button.SetColorScheme(2);
    rig.button.OnMouseDown(1, 0, 5, 5);
    EXPECT_EQ(rig.host.At(2, 0), Rgb(84, 157, 84));
    EXPECT_EQ(rig.host.At(10, 10), rig.button.MouseDownMidColor());
    rig.button.SetEnabled(false);
    EXPECT_EQ(rig.host.At(10, 10), Rgb(241, 242, 237));
    EXPECT_EQ(rig.host.At(2, 0), Rgb(204, 204, 202));
}

TEST(CommandStyle3, UpperGradientRunsFromMidAtTheSplitToEndAtRowOne) {
    CommandRig rig(80, 21, 3);
    rig.button.SetPercent(50);  // s = 10.5, row [s] = 10
    RecordingSurface s;
    PaintButtonFace(s, rig.button.Look());
    const auto rows = s.Rows(80);
    ASSERT_GE(rows.size(), 10u);
    EXPECT_EQ(rows[0].y1, 10);
    EXPECT_EQ(rows[0].color, rig.button.MidColor());
    EXPECT_EQ(rows[9].y1, 1);
    // Nine of the 9.5 steps toward End.
    EXPECT_NEAR(static_cast<int>(rows[9].color & 0xFF), 116 + (215 - 116) * 9 / 9.5, 1.0);
}

TEST(CommandStyle4, ZeroPercentHasNoUpperPartAndTheBandStartsAtRowOne) {
    CommandRig rig(80, 25, 4);
    EXPECT_EQ(rig.button.Percent(), 53);
    RecordingSurface split;
    PaintButtonFace(split, rig.button.Look());
    ASSERT_FALSE(split.Rows(80).empty());
    EXPECT_EQ(split.Rows(80)[0].y1, 13);                     // [53 * 25 / 100]
    EXPECT_EQ(split.Rows(80)[0].color, Rgb(134, 181, 255));  // Mid + 10, clamped

    rig.button.SetPercent(0);
    RecordingSurface none;
    PaintButtonFace(none, rig.button.Look());
    const auto rows = none.Rows(80);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].y1, 1);
    EXPECT_EQ(rows[0].color, Rgb(124, 171, 255));
    // Band rows 1..[0.27 h] = 1..7 in Mid, then the lower part from row 7.
    EXPECT_EQ(rows[6].y1, 7);
    EXPECT_EQ(rows[6].color, Rgb(124, 171, 255));
    EXPECT_EQ(rows[7].y1, 7);
    EXPECT_EQ(rows[7].color, Rgb(129, 176, 255));  // Mid + 5
    // Finish: frames, the light line and the border.
    EXPECT_EQ(rig.host.At(10, 1), Rgb(211, 229, 255));
    EXPECT_EQ(rig.host.At(10, 2), Rgb(201, 216, 255));
    EXPECT_EQ(rig.host.At(10, 22), Rgb(207, 234, 255));
    EXPECT_EQ(rig.host.At(10, 0), Rgb(81, 107, 148));
    EXPECT_TRUE(rig.host.region.cutouts.size() == 8);
}

TEST(CommandStyle5, OfficeXpFillsAndFrames) {
    CommandRig rig(60, 22, 5);
    EXPECT_EQ(rig.host.At(0, 10), Rgb(188, 188, 66));
    EXPECT_EQ(rig.host.At(10, 10), Rgb(222, 222, 160));
    rig.button.OnMouseDown(1, 0, 5, 5);
    EXPECT_EQ(rig.host.At(10, 10), Rgb(190, 190, 126));
    EXPECT_EQ(rig.host.At(0, 10), Rgb(127, 128, 1));
    rig.button.OnMouseUp(1, 0, 5, 5);

    rig.button.SetColorScheme(3);
    EXPECT_EQ(rig.host.At(10, 10), Rgb(236, 233, 216));
    EXPECT_EQ(rig.host.At(0, 10), Rgb(172, 169, 154));
    rig.button.OnMouseMove(0, 0, 5, 5);
    EXPECT_EQ(rig.host.At(10, 10), Rgb(193, 210, 238));
    EXPECT_EQ(rig.host.At(0, 10), Rgb(49, 105, 198));
    rig.button.OnMouseDown(1, 0, 5, 5);
    EXPECT_EQ(rig.host.At(10, 10), Rgb(153, 180, 223));

    rig.button.SetEnabled(false);
    EXPECT_EQ(rig.host.At(10, 10), Rgb(236, 233, 216));
    EXPECT_EQ(rig.host.raster.TextRuns().back().color, Rgb(172, 169, 154));
    rig.button.SetColorScheme(1);
    EXPECT_EQ(rig.host.At(10, 10), Rgb(238, 239, 208));
    EXPECT_EQ(rig.host.At(0, 10), Rgb(188, 188, 64));
}

// Every style, look and split on every small size: the degenerate heights
// (where the fades and the style 4 steps would divide by zero) paint flat
// faces and stay inside the surface.
TEST(CommandFaces, TinyAndOddSizesPaintWithoutFaults) {
    for (int type = 0; type <= 6; ++type) {
        for (int h = 1; h <= 30; ++h) {
            for (const int percent : {0, 4, 16, 50, 84, 100}) {
                CommandRig rig(7, h, type);
                rig.button.SetPercent(percent);
                rig.button.OnGotFocus();
                rig.button.OnMouseMove(0, 0, 1, 1);
                rig.button.OnMouseDown(1, 0, 1, 1);
                rig.button.SetEnabled(false);
            }
        }
    }
    CommandRig five(40, 5, 1);
    five.button.SetXpType(1);
    EXPECT_EQ(five.host.At(5, 2), Rgb(198, 197, 215));
    EXPECT_EQ(five.host.At(5, 3), Rgb(198, 197, 215));
}

// Single-precision references, rounded halves to even: [f * i] for a factor
// f = k / h, and the row `rows` steps into a gradient whose running channels
// start at `from` and advance toward `to` by 1 / `divisor` of the distance.
int RoundedProduct(float factor, int i) {
    return static_cast<int>(std::nearbyint(factor * static_cast<float>(i)));
}
ColorRef Gradient(ColorRef from, ColorRef to, float divisor, int rows) {
    ColorRef out = 0;
    for (int k = 0; k < 3; ++k) {
        float c = static_cast<float>((from >> (8 * k)) & 0xFF);
        const float step = (static_cast<float>((to >> (8 * k)) & 0xFF) - c) / divisor;
        for (int n = 0; n < rows; ++n) c = std::clamp(c + step, 0.0f, 255.0f);
        out |= static_cast<ColorRef>(std::nearbyint(c)) << (8 * k);
    }
    return out;
}

TEST(CommandFaces, RowsMatchTheSinglePrecisionReferenceAtEveryHeightFrom6To64) {
    constexpr auto kProp = ColorShift::kProportional;
    const ColorRef up_base = ShiftColor(kSysBtnFace, 48, kProp);
    const ColorRef down_base = ShiftColor(up_base, -32, kProp);
    const ColorRef white = Rgb(255, 255, 255);
    for (int h = 6; h <= 64; ++h) {
        const auto fh = static_cast<float>(h);
        CommandRig rig(40, h, 1);
        for (int y = 1; y <= h - 2; ++y) {  // XpType 1, up: fading from row h - 2 upward
            EXPECT_EQ(rig.host.At(3, y), Gradient(Rgb(198, 197, 215), white, fh - 5, h - 1 - y))
                << h << "," << y;
        }
        rig.button.SetXpType(2);
        rig.button.OnMouseDown(1, 0, 5, 5);
        for (int i = 2; i <= h - 1; ++i) {  // XpType 2, down: 15 / h, counted from the bottom
            EXPECT_EQ(rig.host.At(3, h - i),
                      ShiftColor(down_base, -RoundedProduct(15.0f / fh, i), kProp))
                << h << "," << i;
        }
        rig.button.OnMouseUp(1, 0, 5, 5);
        rig.button.SetColorScheme(2);
        for (int i = 1; i <= h - 2; ++i) {  // schemes 2 and 3, up: 25 / h
            EXPECT_EQ(rig.host.At(3, i), ShiftColor(up_base, -RoundedProduct(25.0f / fh, i), kProp))
                << h << "," << i;
        }
        CommandRig style3(40, h, 3);  // the upper gradient, from Mid at row [s] toward End
        style3.button.SetPercent(37);
        const float split = 37.0f * fh / 100.0f;
        const int split_row = static_cast<int>(std::nearbyint(split));
        for (int y = split_row; y >= 3; --y) {
            EXPECT_EQ(style3.host.At(3, y),
                      Gradient(style3.button.MidColor(), style3.button.EndColor(), split - 1.0f,
                               split_row - y))
                << h << "," << y;
        }
    }
}

// A face drawn at twice the scale is the same face: each 2 x 2 block of the
// large drawing has the colour of its pixel in the standard one, in every
// style and look, and the caption's box doubles with it. At 150 % the
// strokes are two pixels thick and the corners are cut to match.
TEST(CommandFaces, AtAnotherScaleEveryStyleKeepsItsGeometry) {
    struct Case {
        int type, xp, scheme;
        std::uint8_t state;
        bool enabled, hovering;
    };
    const Case cases[] = {{1, 2, 1, kStateUp, true, false},   {1, 2, 1, kStateDown, true, false},
                          {1, 1, 1, kStateUp, true, true},    {1, 3, 2, kStateUp, true, false},
                          {1, 2, 1, kStateUp, false, false},  {2, 1, 1, kStateUp, true, true},
                          {2, 1, 1, kStateDown, true, false}, {2, 1, 1, kStateUp, false, false},
                          {3, 1, 1, kStateUp, true, true},    {3, 1, 2, kStateDown, true, false},
                          {4, 1, 1, kStateUp, true, false},   {4, 1, 1, kStateUp, false, false},
                          {5, 1, 3, kStateDown, true, false}, {5, 1, 1, kStateUp, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        CommandRig rig(97, 25, c.type);
        ButtonLook look = rig.button.Look();
        look.XpType = c.xp;
        look.ColorScheme = c.scheme;
        look.state = c.state;
        look.enabled = c.enabled;
        look.hovering = c.hovering;
        look.caption = "Refresh";
        PixelBuffer one(97, 25);
        SoftwareRaster standard(one);
        PaintButtonFace(standard, look);
        look.width = 194;
        look.height = 50;
        look.dpi = 192;
        PixelBuffer two(194, 50);
        SoftwareRaster doubled(two);
        PaintButtonFace(doubled, look);
        int differing = 0;
        for (int y = 0; y < 25; ++y) {
            for (int x = 0; x < 97; ++x) {
                const Argb want = one.At(x, y);
                differing += two.At(2 * x, 2 * y) != want || two.At(2 * x + 1, 2 * y) != want ||
                             two.At(2 * x, 2 * y + 1) != want ||
                             two.At(2 * x + 1, 2 * y + 1) != want;
            }
        }
        EXPECT_EQ(differing, 0);
        ASSERT_EQ(doubled.TextRuns().size(), standard.TextRuns().size());
        for (std::size_t i = 0; i < standard.TextRuns().size(); ++i) {
            const Rect r = standard.TextRuns()[i].rect;
            EXPECT_EQ(doubled.TextRuns()[i].rect,
                      (Rect{2 * r.left, 2 * r.top, 2 * r.right, 2 * r.bottom}));
        }
    }

    ButtonLook look = CommandRig().button.Look();  // 97 x 25 at 150 %: 146 x 38
    look.width = 146;
    look.height = 38;
    look.dpi = 144;
    PixelBuffer pixels(146, 38);
    SoftwareRaster raster(pixels);
    PaintButtonFace(raster, look);
    // Border lines two pixels thick; corner dots one design pixel in.
    const Argb line = ArgbFromColorRef(Rgb(0, 60, 115));
    for (const int y : {0, 1, 36, 37}) EXPECT_EQ(pixels.At(70, y), line) << y;
    for (const int x : {144, 145}) EXPECT_EQ(pixels.At(x, 19), line) << x;
    EXPECT_NE(pixels.At(70, 2), line);
    EXPECT_NE(pixels.At(70, 35), line);
    EXPECT_NE(pixels.At(143, 19), line);
    EXPECT_EQ(pixels.At(2, 2), ArgbFromColorRef(Rgb(16, 77, 123)));
    EXPECT_EQ(pixels.At(143, 35), ArgbFromColorRef(Rgb(16, 77, 123)));
    EXPECT_EQ(RegionCutouts(3, 146, 38, 144).back(), (Rect{144, 35, 146, 36}));
}

TEST(CommandFaces, UnknownTypesAndStatesDrawOnlyTheBackground) {
    CommandRig rig(30, 20, 7);
    rig.host.raster.ClearTextRuns();
    rig.button.PaintButton(0, true);
    EXPECT_EQ(rig.host.At(0, 0), kSysBtnFace);
    EXPECT_EQ(rig.host.At(15, 10), kSysBtnFace);
    EXPECT_TRUE(rig.host.raster.TextRuns().empty());
    rig.button.SetButtonType(1);
    rig.button.PaintButton(1, true);
    EXPECT_EQ(rig.host.At(2, 0), kSysBtnFace);
}

}  // namespace
}  // namespace vellumar::testing
