// The pictures at other display scales: each fills the place the window
// gives it, and a drawing at twice the scale shows the same picture.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/artwork.h"
#include "app/artwork_draw.h"
#include "app/window_pictures.h"
#include "fakes/form_fixture.h"

namespace vellumar::artwork {
namespace {

constexpr Argb kWhite = OpaqueRgb(0xFF, 0xFF, 0xFF);
constexpr Argb kBlack = OpaqueRgb(0, 0, 0);
constexpr int kDpis[] = {96, 120, 144, 192, 288};

bool RoundedFace(int id) {
    return id == kPictureMinHover || id == kPictureMinPressed || id == kPictureExitHover ||
           id == kPictureExitPressed;
}

using ArtworkAtScale = testing::FormFixture;

TEST_F(ArtworkAtScale, EveryPictureFillsItsPlaceAndMeetsTheSkinAroundIt) {
    struct Shown {
        const Image* image;
        bool on_skin;
    };
    std::vector<Shown> shown;
    for (const Control* control : form.WindowControls()) {
        if (const auto* image = dynamic_cast<const Image*>(control)) {
            shown.push_back({image, true});
        } else if (const auto* panel = dynamic_cast<const Panel*>(control)) {
            for (const Control* child : panel->Children()) {
                if (const auto* image = dynamic_cast<const Image*>(child))
                    shown.push_back({image, false});
            }
        }
    }
    ASSERT_GE(shown.size(), 20U);
    for (int dpi : kDpis) {
        const PixelBuffer& skin = Skin(dpi);
        EXPECT_EQ(skin.width, TwipsToPixelsAt(kWindowWidthTwips, dpi));
        EXPECT_EQ(skin.height, TwipsToPixelsAt(kWindowHeightTwips, dpi));
        for (const Shown& item : shown) {
            const PixelEdges place = TwipsToPixelEdges(item.image->Bounds(), dpi);
            const PixelBuffer picture = WindowPicture(item.image->Picture(), dpi);
            ASSERT_EQ(picture.width, place.right - place.left) << item.image->Name() << " " << dpi;
            ASSERT_EQ(picture.height, place.bottom - place.top) << item.image->Name() << " " << dpi;
            if (!item.on_skin)
                continue;
            // Seen against the skin around it: its rim (or, for a rounded
            // face, its corners) is the very skin it covers.
            const bool corners_only = RoundedFace(item.image->Picture());
            int seams = 0;
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) {
                    const bool edge_x = x == 0 || x == picture.width - 1;
                    const bool edge_y = y == 0 || y == picture.height - 1;
                    if (corners_only ? edge_x && edge_y : edge_x || edge_y)
                        seams += picture.At(x, y) != skin.At(place.left + x, place.top + y);
                }
            }
            EXPECT_EQ(seams, 0) << item.image->Name() << " at " << dpi << " dpi";
        }
    }
    ForgetSkin();
}

TEST(ArtworkAtScaleSkin, ContentCardHoldsTheLargestPanelAtEveryScale) {
    for (int dpi : kDpis) {
        const PixelBuffer& skin = Skin(dpi);
        const PixelEdges panel =
            TwipsToPixelEdges({kPanelX * kTwipsPerPixel, kPanelY * kTwipsPerPixel,
                               kPanelMaxWidth * kTwipsPerPixel, kPanelMaxHeight * kTwipsPerPixel},
                              dpi);
        int other = 0;
        for (int y = panel.top; y < panel.bottom; ++y) {
            for (int x = panel.left; x < panel.right; ++x)
                other += skin.At(x, y) != kPanelBackground;
        }
        EXPECT_EQ(other, 0) << dpi << " dpi";
    }
    ForgetSkin();
}

TEST(ArtworkAtScaleGeometry, TwiceTheScaleAveragedDownMatchesTheStandardDrawing) {
    struct Case {
        const char* name;
        std::function<PixelBuffer(int dpi)> draw;
    };
    const Case cases[] = {
        {"skin", [](int dpi) { return Skin(dpi); }},
        {"title strip", [](int dpi) { return TitleStrip(dpi); }},
        {"minimise",
         [](int dpi) {
             return ChromeButtonImage(ChromeButton::Minimise, ChromeState::Normal, dpi);
         }},
        {"close hover",
         [](int dpi) { return ChromeButtonImage(ChromeButton::Close, ChromeState::Hover, dpi); }},
        {"page button", [](int dpi) { return PageButton(false, dpi); }},
        {"page button lit", [](int dpi) { return PageButton(true, dpi); }},
        {"setting", SettingPicture},
        {"state", StatePicture},
        {"process", ProcessPicture},
        {"memory", MemoryPicture},
        {"logo", Logo},
    };
    for (const Case& c : cases) {
        const PixelBuffer standard = c.draw(96);
        const PixelBuffer twice = c.draw(192);
        ASSERT_EQ(twice.width, 2 * standard.width) << c.name;
        ASSERT_EQ(twice.height, 2 * standard.height) << c.name;
        // Averaged down, the large drawing is the standard one but for the
        // odd edge that the window's rounding moves by half a pixel.
        const PixelBuffer down = Resample(twice, standard.width, standard.height);
        long total = 0;
        int far = 0;
        for (std::size_t i = 0; i < standard.pixels.size(); ++i) {
            int diff = 0;
            for (int shift : {0, 8, 16, 24}) {
                diff = std::max(
                    diff, std::abs(static_cast<int>((BitsOf(standard.pixels[i]) >> shift) & 0xFF) -
                                   static_cast<int>((BitsOf(down.pixels[i]) >> shift) & 0xFF)));
            }
            total += diff;
            far += diff > 48 ? 1 : 0;
        }
        const auto count = static_cast<long>(standard.pixels.size());
        EXPECT_LE(total * 2, count * 3) << c.name;  // a mean under 1.5 per channel
        EXPECT_LE(far * 400L, count) << c.name;     // at most one pixel in 400 far off
    }
    ForgetSkin();
}

// The fills settle whole runs of pixels and samples from one distance; they
// must give exactly what asking the shape at every pixel and sample gives.
TEST(ArtworkDrawRuns, FillsMatchThePixelByPixelDefinition) {
    const std::array<Point, 6> chevron{{{40, 8}, {70, 38}, {70, 50}, {40, 20}, {10, 50}, {10, 38}}};
    // Rounded rectangles count their samples their own way: wide, thinner
    // than their corners, and square-cornered.
    const RoundedRectShape rects[] = {{3.25F, 2.5F, 90.75F, 57.4F, 9.5F},
                                      {20.5F, 10, 23.5F, 40.2F, 1.5F},
                                      {10.5F, 5.25F, 80, 45, 0}};
    const std::function<float(float, float)> shapes[] = {
        rects[0],
        rects[1],
        rects[2],
        [](float x, float y) { return CircleSdf(x, y, 47.3F, 30.6F, 25.2F); },
        [&](float x, float y) { return PolygonSdf(x, y, chevron); },
        [](float x, float y) {
            return SegmentSdf(x, y, {5, 50}, {88, 9}, 3.7F);
        },
        [](float x, float y) {
            return std::max(RotatedBoxSdf(x, y, {48, 30}, 30, 12, 0.6F, 4),
                            -CircleSdf(x, y, 48, 30, 8.5F));
        },
    };
    const Paint paints[] = {Solid(OpaqueRgb(200, 40, 10)),
                            Solid(Fade(OpaqueRgb(10, 20, 250), 0.4F)),
                            VerticalGradient(4, OpaqueRgb(0, 0, 0), 55, Fade(kWhite, 0.7F)),
                            LinearGradient({0, 0}, OpaqueRgb(255, 0, 0), {96, 60}, kWhite)};
    PixelBuffer backdrop(97, 61);
    for (std::size_t i = 0; i < backdrop.pixels.size(); ++i)
        backdrop.pixels[i] = i % 7 < 4 ? OpaqueRgb(30, 60, 90) : MakeArgb(120, 250, 250, 0);
    const Box box{-3, 1, 95, 70};
    for (std::size_t s = 0; s < std::size(shapes); ++s) {
        const auto& shape = shapes[s];
        for (std::size_t p = 0; p < std::size(paints); ++p) {
            PixelBuffer fast = backdrop;
            PixelBuffer slow = backdrop;
            if (s < std::size(rects)) {
                Fill(fast, box, rects[s], paints[p]);
                FillSoft(fast, {0, 0, 97, 30}, rects[s], Fade(kBlack, 0.3F),
                         1.0F + static_cast<float>(p));
            } else {
                Fill(fast, box, shape, paints[p]);
                FillSoft(fast, {0, 0, 97, 30}, shape, Fade(kBlack, 0.3F),
                         1.0F + static_cast<float>(p));
            }
            for (int y = 1; y < 61; ++y) {
                for (int x = 0; x < 95; ++x) {
                    const float cx = static_cast<float>(x) + 0.5F;
                    const float cy = static_cast<float>(y) + 0.5F;
                    const float d = shape(cx, cy);
                    int hits = 0;
                    for (int sy = 0; sy < 8; ++sy) {
                        for (int sx = 0; sx < 8; ++sx)
                            hits +=
                                shape(static_cast<float>(x) + (static_cast<float>(sx) + 0.5F) / 8,
                                      static_cast<float>(y) + (static_cast<float>(sy) + 0.5F) / 8) <
                                0.0F;
                    }
                    const float cov = d <= -0.7072F  ? 1.0F
                                      : d >= 0.7072F ? 0.0F
                                                     : static_cast<float>(hits) / 64;
                    if (cov > 0.0F)
                        slow.At(x, y) = Over(slow.At(x, y), paints[p].At(cx, cy), cov);
                }
            }
            const float blur = 1.0F + static_cast<float>(p);
            for (int y = 0; y < 30; ++y) {
                for (int x = 0; x < 97; ++x) {
                    const float d =
                        shape(static_cast<float>(x) + 0.5F, static_cast<float>(y) + 0.5F);
                    const float t = std::clamp(1.0F - (d + blur * 0.5F) / blur, 0.0F, 1.0F);
                    const float cov = t * t * (3.0F - 2.0F * t);
                    if (cov > 0.0F)
                        slow.At(x, y) = Over(slow.At(x, y), Fade(kBlack, 0.3F), cov);
                }
            }
            EXPECT_EQ(fast.pixels, slow.pixels) << "shape " << s << " paint " << p;
        }
    }
}

}  // namespace
}  // namespace vellumar::artwork
