#include "app/artwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "app/artwork_draw.h"

namespace vellumar::artwork {
namespace {

constexpr Argb kBlack = OpaqueRgb(0, 0, 0);
constexpr Argb kWhite = OpaqueRgb(0xFF, 0xFF, 0xFF);

bool FullyOpaque(const PixelBuffer& image) {
    return std::all_of(image.pixels.begin(), image.pixels.end(),
                       [](Argb c) { return AlphaOf(c) == 0xFF; });
}

int CountDifferent(const PixelBuffer& a, const PixelBuffer& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        n += a.pixels[i] != b.pixels[i] ? 1 : 0;
    }
    return n;
}

// The weakest contrast of `text` against any pixel of the box.
float MinContrast(const PixelBuffer& image, Box box, Argb text) {
    float worst = 21.0F;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            worst = std::min(worst, ContrastRatio(image.At(x, y), text));
        }
    }
    return worst;
}

// Spread of luminance over the box: 0 for a flat colour.
float LuminanceSpread(const PixelBuffer& image, Box box) {
    float lo = 1.0F;
    float hi = 0.0F;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            lo = std::min(lo, Luminance(image.At(x, y)));
            hi = std::max(hi, Luminance(image.At(x, y)));
        }
    }
    return hi - lo;
}

// Whether the image equals the skin it covers at (x, y) on the given pixels.
template <typename Which>
bool MatchesSkin(const PixelBuffer& skin, const PixelBuffer& image, int x, int y, Which which) {
    for (int row = 0; row < image.height; ++row) {
        for (int col = 0; col < image.width; ++col) {
            if (which(col, row) && image.At(col, row) != skin.At(x + col, y + row)) {
                return false;
            }
        }
    }
    return true;
}

const ChromeButton kChromeButtons[] = {ChromeButton::Minimise, ChromeButton::Close};
const ChromeState kChromeStates[] = {ChromeState::Normal, ChromeState::Hover, ChromeState::Pressed};

int ChromeX(ChromeButton button) {
    return button == ChromeButton::Close ? kCloseX : kMinimiseX;
}

// ---- Drawing helpers -------------------------------------------------------------

TEST(ArtworkDraw, CoverageAddsUpToTheAreaOfTheShape) {
    auto total = [](const Sdf& shape) {
        float sum = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                sum += Coverage(shape, x, y);
            }
        }
        return sum;
    };
    float circle = total([](float x, float y) { return CircleSdf(x, y, 32.3F, 31.7F, 20); });
    EXPECT_NEAR(circle, std::numbers::pi_v<float> * 400.0F, 4.0F);

    float rounded =
        total([](float x, float y) { return RoundedRectSdf(x, y, 4.5F, 6, 50, 40.5F, 8); });
    EXPECT_NEAR(rounded, 45.5F * 34.5F - (4.0F - std::numbers::pi_v<float>)*64.0F, 3.0F);

    // A pixel cut in half by an edge is half covered.
    auto half = [](float x, float) { return x - 10.5F; };
    EXPECT_FLOAT_EQ(Coverage(half, 10, 3), 0.5F);
    EXPECT_FLOAT_EQ(Coverage(half, 9, 3), 1.0F);
    EXPECT_FLOAT_EQ(Coverage(half, 11, 3), 0.0F);
}

TEST(ArtworkDraw, BlendingKeepsStraightAlphaColours) {
    EXPECT_EQ(Over(kBlack, kWhite), kWhite);
    EXPECT_EQ(Over(kBlack, Argb{}), kBlack);
    Argb grey = Over(kBlack, kWhite, 0.5F);
    EXPECT_NEAR(RedOf(grey), 128, 1);
    EXPECT_EQ(AlphaOf(grey), 0xFF);

    // A half-covered edge on a transparent picture keeps the full colour and
    // carries the coverage in alpha, so icon edges do not darken.
    Argb edge = Over(Argb{}, kAccent, 0.5F);
    EXPECT_NEAR(AlphaOf(edge), 128, 1);
    EXPECT_EQ(BitsOf(edge) & 0x00FFFFFFU, BitsOf(kAccent) & 0x00FFFFFFU);
}

TEST(ArtworkDraw, ResamplingKeepsEdgesWhereTheyFallAndColoursUnmixedAway) {
    // Left half black, right half transparent white: the edge lands on a
    // pixel boundary at 2x and splits a pixel at 1.5x.
    PixelBuffer source(4, 2, kBlack);
    for (int y = 0; y < 2; ++y) {
        source.At(2, y) = ArgbFromBits(BitsOf(kWhite) & 0x00FFFFFFU);
        source.At(3, y) = ArgbFromBits(BitsOf(kWhite) & 0x00FFFFFFU);
    }
    EXPECT_EQ(Resample(source, 4, 2).pixels, source.pixels);
    const PixelBuffer twice = Resample(source, 8, 4);
    EXPECT_EQ(twice.At(3, 3), kBlack);
    EXPECT_EQ(twice.At(4, 0), Argb{});
    const PixelBuffer half_again = Resample(source, 6, 3);
    EXPECT_EQ(half_again.At(2, 1), kBlack);
    EXPECT_EQ(half_again.At(3, 1), Argb{});
    // A pixel across a transparent edge keeps the opaque colour, half covered.
    const PixelBuffer odd = Resample(source, 3, 2);
    EXPECT_EQ(BitsOf(odd.At(1, 0)) & 0x00FFFFFFU, 0U);
    EXPECT_NEAR(AlphaOf(odd.At(1, 0)), 128, 1);
}

TEST(ArtworkDraw, ContrastRatioSpansOneToTwentyOne) {
    EXPECT_NEAR(ContrastRatio(kWhite, kBlack), 21.0F, 0.01F);
    EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0F, 0.01F);
    EXPECT_FLOAT_EQ(ContrastRatio(kAccent, kAccent), 1.0F);
}

// ---- All pictures ------------------------------------------------------------------

TEST(ArtworkPictures, HaveTheSizesTheWindowPlacesThemAt) {
    PixelBuffer skin = Skin();
    EXPECT_EQ(skin.width, 786);
    EXPECT_EQ(skin.height, 557);
    PixelBuffer strip = TitleStrip();
    EXPECT_EQ(strip.width, 681);
    EXPECT_EQ(strip.height, 25);
    for (ChromeButton button : kChromeButtons) {
        for (ChromeState state : kChromeStates) {
            PixelBuffer image = ChromeButtonImage(button, state);
            EXPECT_EQ(image.width, 28);
            EXPECT_EQ(image.height, 15);
        }
    }
    for (bool highlighted : {false, true}) {
        PixelBuffer image = PageButton(highlighted);
        EXPECT_EQ(image.width, 236);
        EXPECT_EQ(image.height, 36);
    }
    EXPECT_EQ(SettingPicture().width, 60);
    EXPECT_EQ(SettingPicture().height, 60);
    EXPECT_EQ(Logo().width, 77);
    EXPECT_EQ(Logo().height, 85);
}

TEST(ArtworkPictures, WindowPicturesAreOpaque) {
    EXPECT_TRUE(FullyOpaque(Skin()));
    EXPECT_TRUE(FullyOpaque(TitleStrip()));
    for (ChromeButton button : kChromeButtons) {
        for (ChromeState state : kChromeStates) {
            EXPECT_TRUE(FullyOpaque(ChromeButtonImage(button, state)));
        }
    }
    EXPECT_TRUE(FullyOpaque(PageButton(false)));
    EXPECT_TRUE(FullyOpaque(PageButton(true)));
    EXPECT_TRUE(FullyOpaque(SettingPicture()));
    EXPECT_TRUE(FullyOpaque(Logo()));
}

TEST(ArtworkPictures, DrawTheSameEveryTime) {
    EXPECT_EQ(ProgramIcon(48).pixels, ProgramIcon(48).pixels);
    EXPECT_EQ(Logo().pixels, Logo().pixels);
    EXPECT_EQ(SettingPicture().pixels, SettingPicture().pixels);
    EXPECT_EQ(PageButton(true).pixels, PageButton(true).pixels);
    EXPECT_EQ(StatePicture().pixels, StatePicture().pixels);
    EXPECT_EQ(ProcessPicture().pixels, ProcessPicture().pixels);
    EXPECT_EQ(MemoryPicture().pixels, MemoryPicture().pixels);
}

// ---- The skin and the images placed on it ------------------------------------------

TEST(ArtworkSkin, TitleStripContinuesTheTitleBandSeamlessly) {
    PixelBuffer skin = Skin();
    EXPECT_TRUE(MatchesSkin(skin, TitleStrip(), kTitleStripX, 0, [](int, int) { return true; }));
}

TEST(ArtworkSkin, ChromeButtonsBlendIntoTheTitleBand) {
    PixelBuffer skin = Skin();
    for (ChromeButton button : kChromeButtons) {
        PixelBuffer normal = ChromeButtonImage(button, ChromeState::Normal);
        auto border = [](int col, int row) {
            return col == 0 || row == 0 || col == kChromeButtonWidth - 1 ||
                   row == kChromeButtonHeight - 1;
        };
        EXPECT_TRUE(MatchesSkin(skin, normal, ChromeX(button), kChromeButtonY, border));
        // The hover and pressed faces are rounded: their corners show the band.
        for (ChromeState state : {ChromeState::Hover, ChromeState::Pressed}) {
            PixelBuffer image = ChromeButtonImage(button, state);
            auto corner = [](int col, int row) { return col == 0 && row == 0; };
            EXPECT_TRUE(MatchesSkin(skin, image, ChromeX(button), kChromeButtonY, corner));
        }
    }
}

TEST(ArtworkSkin, PageButtonsBlendIntoTheColumnAtEveryPlace) {
    // Neighbouring buttons overlap by a row, and a button's edges meet the
    // column around it; at each of the six places those edges must be the
    // very pixels of the skin, so no seam shows whichever image is on top.
    PixelBuffer skin = Skin();
    auto edges = [](int col, int row) {
        return row == 0 || row == kPageButtonHeight - 1 || col == 0 || col == kPageButtonWidth - 1;
    };
    for (bool highlighted : {false, true}) {
        PixelBuffer image = PageButton(highlighted);
        for (int top : kPageButtonTops) {
            EXPECT_TRUE(MatchesSkin(skin, image, kPageButtonX, top, edges))
                << "highlighted " << highlighted << " at y " << top;
        }
    }
}

TEST(ArtworkSkin, ContentCardHoldsTheLargestPanelInPanelColour) {
    EXPECT_EQ(kPanelBackground, kWhite);
    PixelBuffer skin = Skin();
    for (int y = kPanelY; y < kPanelY + kPanelMaxHeight; ++y) {
        for (int x = kPanelX; x < kPanelX + kPanelMaxWidth; ++x) {
            ASSERT_EQ(skin.At(x, y), kPanelBackground) << "at " << x << ", " << y;
        }
    }
}

TEST(ArtworkSkin, TextDrawnByTheWindowStaysReadable) {
    PixelBuffer skin = Skin();
    // Window title on the band, left of and under the title strip.
    EXPECT_GE(MinContrast(skin, {26, 6, 111, 19}, kTitleTextColor), 7.0F);
    EXPECT_GE(MinContrast(TitleStrip(), {0, 6, 79, 19}, kTitleTextColor), 7.0F);
    // Product name and subtitle in the header.
    EXPECT_GE(MinContrast(skin, {112, 48, 236, 64}, kBodyTextColor), 7.0F);
    EXPECT_GE(MinContrast(skin, {112, 64, 267, 76}, kBodyTextColor), 7.0F);
    // Advertisement line and version at the foot.
    EXPECT_GE(MinContrast(skin, {16, 536, 569, 548}, kBodyTextColor), 7.0F);
    EXPECT_GE(MinContrast(skin, {696, 536, 731, 548}, kBodyTextColor), 7.0F);
    // The header and the foot are flat, so labels with an opaque background
    // in kBackdrop blend as well as transparent ones.
    EXPECT_EQ(LuminanceSpread(skin, {112, 48, 267, 76}), 0.0F);
    EXPECT_EQ(LuminanceSpread(skin, {16, 536, 731, 548}), 0.0F);
    EXPECT_EQ(skin.At(112, 48), kBackdrop);
}

// ---- Chrome buttons ------------------------------------------------------------------

TEST(ArtworkChrome, EveryStateLooksDifferent) {
    for (ChromeButton button : kChromeButtons) {
        PixelBuffer normal = ChromeButtonImage(button, ChromeState::Normal);
        PixelBuffer hover = ChromeButtonImage(button, ChromeState::Hover);
        PixelBuffer pressed = ChromeButtonImage(button, ChromeState::Pressed);
        const int half = kChromeButtonWidth * kChromeButtonHeight / 2;
        // Hover and pressed light up the whole face, not just the glyph.
        EXPECT_GT(CountDifferent(normal, hover), half);
        EXPECT_GT(CountDifferent(normal, pressed), half);
        EXPECT_GT(CountDifferent(hover, pressed), half);
    }
}

TEST(ArtworkChrome, GlyphStandsOutInEveryState) {
    for (ChromeButton button : kChromeButtons) {
        for (ChromeState state : kChromeStates) {
            PixelBuffer image = ChromeButtonImage(button, state);
            Argb face = image.At(3, 7);
            float best = 1.0F;
            for (Argb c : image.pixels) {
                best = std::max(best, ContrastRatio(c, face));
            }
            // 3:1, the usual floor for graphical parts of a control.
            EXPECT_GE(best, 3.0F) << "button " << static_cast<int>(button) << " state "
                                  << static_cast<int>(state);
        }
    }
}

TEST(ArtworkChrome, CloseTurnsRedWhileMinimiseStaysNeutral) {
    for (ChromeState state : {ChromeState::Hover, ChromeState::Pressed}) {
        Argb close = ChromeButtonImage(ChromeButton::Close, state).At(3, 7);
        EXPECT_GT(RedOf(close), GreenOf(close) + 80);
        EXPECT_GT(RedOf(close), BlueOf(close) + 80);
        Argb minimise = ChromeButtonImage(ChromeButton::Minimise, state).At(3, 7);
        EXPECT_LE(RedOf(minimise), BlueOf(minimise));
    }
    // Pressed is deeper than hover, as a button pushed in.
    for (ChromeButton button : kChromeButtons) {
        EXPECT_LT(Luminance(ChromeButtonImage(button, ChromeState::Pressed).At(3, 7)),
                  Luminance(ChromeButtonImage(button, ChromeState::Hover).At(3, 7)));
    }
}

// ---- Page buttons -------------------------------------------------------------------

// Where the white page label is drawn: from x = 72 to near the right end,
// rows 7 to 24 (label tops lie 7 to 11 pixels down, about 12 pixels tall).
constexpr Box kLabelArea{kPageLabelX, 7, kPageButtonWidth - 10, 25};

TEST(ArtworkPageButton, HighlightedStandsApartFromPlain) {
    PixelBuffer plain = PageButton(false);
    PixelBuffer highlighted = PageButton(true);
    Argb a = plain.At(120, 18);
    Argb b = highlighted.At(120, 18);
    int distance = std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
                   std::abs(BlueOf(a) - BlueOf(b));
    EXPECT_GT(distance, 90);
    EXPECT_GT(CountDifferent(plain, highlighted), kPageButtonWidth * kPageButtonHeight / 2);
}

TEST(ArtworkPageButton, WhiteLabelsReadInBothStates) {
    EXPECT_EQ(kPageLabelColor, kWhite);
    for (bool highlighted : {false, true}) {
        PixelBuffer image = PageButton(highlighted);
        EXPECT_GE(MinContrast(image, kLabelArea, kPageLabelColor), 4.5F)
            << "highlighted " << highlighted;
        // Nothing busy under the text: only a gentle gradient at most.
        EXPECT_LT(LuminanceSpread(image, kLabelArea), 0.05F) << "highlighted " << highlighted;
    }
}

// ---- Program icon ----------------------------------------------------------------------

TEST(ArtworkIcon, ComesInAnySquareSize) {
    for (int size : {16, 24, 32, 48, 256, 20}) {
        PixelBuffer icon = ProgramIcon(size);
        EXPECT_EQ(icon.width, size);
        EXPECT_EQ(icon.height, size);
    }
    EXPECT_TRUE(ProgramIcon(0).pixels.empty());
    EXPECT_TRUE(ProgramIcon(-5).pixels.empty());
}

TEST(ArtworkIcon, HasARoundedAntiAliasedEdgeAndAnOpaqueBody) {
    for (int size : {16, 24, 32, 48, 256}) {
        PixelBuffer icon = ProgramIcon(size);
        const int last = size - 1;
        // Rounded corners leave the corner pixels see-through.
        for (Argb corner :
             {icon.At(0, 0), icon.At(last, 0), icon.At(0, last), icon.At(last, last)}) {
            EXPECT_EQ(corner, Argb{}) << "size " << size;
        }
        int partial = 0;
        for (Argb c : icon.pixels) {
            partial += AlphaOf(c) > 0 && AlphaOf(c) < 0xFF ? 1 : 0;
        }
        EXPECT_GT(partial, 0) << "size " << size;
        // Inside the outline there is no see-through pixel at all.
        for (int y = size / 5; y < size - size / 5; ++y) {
            for (int x = size / 5; x < size - size / 5; ++x) {
                ASSERT_EQ(AlphaOf(icon.At(x, y)), 0xFF) << "size " << size;
            }
        }
    }
}

TEST(ArtworkIcon, SmallestIconShowsALightMarkOnTheAccent) {
    PixelBuffer icon = ProgramIcon(16);
    int light = 0;
    int accent = 0;
    for (Argb c : icon.pixels) {
        if (AlphaOf(c) != 0xFF) {
            continue;
        }
        light += Luminance(c) > 0.9F ? 1 : 0;
        accent += RedOf(c) > 0xD0 && BlueOf(c) < 0x60 ? 1 : 0;
    }
    EXPECT_GE(light, 24);    // two chevrons, several pixels each
    EXPECT_GE(accent, 100);  // the tile around them
    // At 16 pixels the chevrons sit on whole pixels: their flat ends are
    // sharp, not smeared over two columns.
    int column = 4;
    bool sharp = false;
    for (int y = 0; y < 16; ++y) {
        sharp = sharp ||
                (Luminance(icon.At(column, y)) > 0.9F && Luminance(icon.At(column - 1, y)) < 0.5F);
    }
    EXPECT_TRUE(sharp);
}

// ---- Pictures on the page panels ---------------------------------------------------------

bool IsAccent(Argb c) {
    return RedOf(c) > 0xD0 && GreenOf(c) > 0x50 && BlueOf(c) < 0x60;
}

bool IsNavy(Argb c) {
    return BlueOf(c) < 0x70 && BlueOf(c) > RedOf(c) + 0x10;
}

struct PagePicture {
    const char* name;
    PixelBuffer image;
    int width;
    int height;
};

std::vector<PagePicture> PagePictures() {
    return {{"state", StatePicture(), 65, 37},
            {"process", ProcessPicture(), 30, 31},
            {"memory", MemoryPicture(), 30, 31}};
}

TEST(ArtworkPagePictures, AreOpaqueAtTheSizeThePagesShowThem) {
    for (const PagePicture& picture : PagePictures()) {
        EXPECT_EQ(picture.image.width, picture.width) << picture.name;
        EXPECT_EQ(picture.image.height, picture.height) << picture.name;
        EXPECT_TRUE(FullyOpaque(picture.image)) << picture.name;
    }
}

TEST(ArtworkPagePictures, MeetThePanelWithAWhiteEdge) {
    // The whole outer ring of pixels is panel white, so nothing is cut off
    // and no seam shows where the picture meets the panel.
    for (const PagePicture& picture : PagePictures()) {
        const PixelBuffer& image = picture.image;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                bool edge = x == 0 || y == 0 || x == image.width - 1 || y == image.height - 1;
                if (edge) {
                    ASSERT_EQ(image.At(x, y), kPanelBackground)
                        << picture.name << " at " << x << ", " << y;
                }
            }
        }
    }
}

TEST(ArtworkPagePictures, ShowNavyAndTheOrangeAccent) {
    for (const PagePicture& picture : PagePictures()) {
        int navy = 0;
        int accent = 0;
        for (Argb c : picture.image.pixels) {
            navy += IsNavy(c) ? 1 : 0;
            accent += IsAccent(c) ? 1 : 0;
        }
        const int area = picture.width * picture.height;
        EXPECT_GT(navy, area / 8) << picture.name;
        EXPECT_GE(accent, 12) << picture.name;
    }
}

TEST(ArtworkPagePictures, SwitchIconsShareTheTileButNotTheSign) {
    PixelBuffer process = ProcessPicture();
    PixelBuffer memory = MemoryPicture();
    // The same tile: its corners and rim match.
    EXPECT_EQ(process.At(4, 15), memory.At(4, 15));
    EXPECT_EQ(process.At(15, 3), memory.At(15, 3));
    EXPECT_EQ(process.At(15, 28), memory.At(15, 28));
    // A different sign on it.
    EXPECT_GT(CountDifferent(process, memory), 60);
}

TEST(ArtworkPagePictures, GaugeNeedleLeansTowardsTheFastEnd) {
    PixelBuffer state = StatePicture();
    long sumX = 0;
    long sumY = 0;
    int count = 0;
    for (int y = 0; y < state.height; ++y) {
        for (int x = 0; x < state.width; ++x) {
            if (IsAccent(state.At(x, y))) {
                sumX += x;
                sumY += y;
                ++count;
            }
        }
    }
    ASSERT_GT(count, 10);
    // Right of the centre line and above the hub at the foot.
    EXPECT_GT(sumX / count, state.width / 2);
    EXPECT_LT(sumY / count, state.height - 8);
    // The dial is symmetric about its centre line: the scale reaches as far
    // left as right.
    auto firstInk = [&](int from, int step) {
        for (int x = from; x >= 0 && x < state.width; x += step) {
            for (int y = 0; y < state.height; ++y) {
                if (state.At(x, y) != kWhite) {
                    return x;
                }
            }
        }
        return -1;
    };
    EXPECT_EQ(firstInk(0, 1), state.width - 1 - firstInk(state.width - 1, -1));
}

}  // namespace
}  // namespace vellumar::artwork
