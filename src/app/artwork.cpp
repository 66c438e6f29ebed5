#include "app/artwork.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

#include "app/artwork_draw.h"

namespace vellumar::artwork {

namespace {

// ---- Layout of the skin, in pixels at 96 dpi -------------------------------------

// Dark navigation column (as wide as the page buttons) and the white content
// card, side by side under the header; both end above the footer line.
constexpr int kSurfaceTop = 128;
constexpr int kSurfaceBottom = 532;
constexpr int kCardLeft = 248;
constexpr int kCardRight = 779;
constexpr float kSurfaceRadius = 6;
// The product mark in the header, left of the product name.
constexpr int kHeaderMarkX = 40;
constexpr int kHeaderMarkY = 34;
constexpr int kHeaderMarkSize = 56;
// Small program icon left of the window title on the title band.
constexpr int kBandIconX = 6;
constexpr int kBandIconY = 5;
constexpr int kBandIconSize = 16;
// Accent line under the title band.
constexpr int kAccentLineHeight = 2;

constexpr Argb kWindowOutline = OpaqueRgb(0x9A, 0xA5, 0xB3);
constexpr Argb kBandOutline = OpaqueRgb(0x16, 0x20, 0x2D);
constexpr Argb kShadow = OpaqueRgb(0x1A, 0x26, 0x36);
constexpr Argb kWhite = OpaqueRgb(0xFF, 0xFF, 0xFF);
constexpr Argb kTransparent{};

// Chrome glyphs.
constexpr Argb kGlyphNormal = OpaqueRgb(0xB4, 0xC0, 0xCE);
constexpr Argb kMinimiseHover = OpaqueRgb(0x3B, 0x4E, 0x67);
constexpr Argb kMinimisePressed = OpaqueRgb(0x12, 0x1A, 0x25);

// Page buttons: the dot left of a plain label, and the light top edge of
// the highlighted pill.
constexpr Argb kMarkerPlain = OpaqueRgb(0x4F, 0x62, 0x7A);
constexpr Argb kSelectionEdge = OpaqueRgb(0x4A, 0x7A, 0xB3);

// Gear tile of the Setting page.
constexpr Argb kTileNavyTop = OpaqueRgb(0x36, 0x4A, 0x64);
constexpr Argb kTileNavyBottom = OpaqueRgb(0x1F, 0x2C, 0x3D);

Box BoxOf(float left, float top, float right, float bottom) {
    return {static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)),
            static_cast<int>(std::ceil(right)), static_cast<int>(std::ceil(bottom))};
}

RoundedRectShape RoundedRect(float left, float top, float right, float bottom, float radius) {
    return {left, top, right, bottom, radius};
}

auto Circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return CircleSdf(x, y, cx, cy, radius); };
}

// The pixel rectangle of a place at a dpi.
Box BoxAt(const TwipsRect& place, int dpi) {
    const PixelEdges e = TwipsToPixelEdges(place, dpi);
    return {e.left, e.top, e.right, e.bottom};
}

// An upward chevron: two arms at 45 degrees meeting at a sharp apex, with
// vertical cuts at the arm ends. `thickness` is measured vertically.
std::array<Point, 6> Chevron(float cx, float apexY, float halfWidth, float thickness) {
    return {{{cx, apexY},
             {cx + halfWidth, apexY + halfWidth},
             {cx + halfWidth, apexY + halfWidth + thickness},
             {cx, apexY + thickness},
             {cx - halfWidth, apexY + halfWidth + thickness},
             {cx - halfWidth, apexY + halfWidth}}};
}

// Two stacked chevrons, the product's "speed up" sign, fitted to a square of
// `size` at (x, y): strokes of 16% of the size, a gap of 13% between the
// chevrons, centred. Small sizes snap the chevrons to whole pixels so the
// 16 to 32 pixel icons stay sharp.
auto DoubleChevron(float x, float y, float size) {
    float halfWidth = size * 0.25F;
    float thickness = size * 0.16F;
    float step = thickness + size * 0.13F;
    if (size <= 32) {
        halfWidth = std::round(halfWidth);
        thickness = std::round(thickness);
        step = std::round(step);
    }
    float apex = (size - (step + halfWidth + thickness)) * 0.5F;
    if (size <= 32) {
        apex = std::round(apex);
    }
    auto upper = Chevron(x + size * 0.5F, y + apex, halfWidth, thickness);
    auto lower = Chevron(x + size * 0.5F, y + apex + step, halfWidth, thickness);
    return [upper, lower](float px, float py) {
        return std::min(PolygonSdf(px, py, upper), PolygonSdf(px, py, lower));
    };
}

float TileRadius(float size) {
    return size * 0.22F;
}

// The product mark: an orange rounded tile with the white double chevron.
void DrawMark(PixelBuffer& buffer, float x, float y, float size) {
    float r = TileRadius(size);
    Fill(buffer, BoxOf(x, y, x + size, y + size), RoundedRect(x, y, x + size, y + size, r),
         VerticalGradient(y, kAccentLight, y + size, kAccentDeep));
    if (size >= 40) {
        // A thin light rim along the upper edge, fading out towards the
        // middle, gives the tile some body.
        float inset = std::max(1.0F, size / 64.0F);
        auto outer = RoundedRect(x, y, x + size, y + size, r);
        auto inner = RoundedRect(x + inset, y + inset, x + size - inset, y + size, r - inset);
        Fill(
            buffer, BoxOf(x, y, x + size, y + size),
            [outer, inner](float px, float py) { return std::max(outer(px, py), -inner(px, py)); },
            VerticalGradient(y, Fade(kWhite, 0.45F), y + size * 0.6F, Fade(kWhite, 0.0F)));
    }
    Fill(buffer, BoxOf(x, y, x + size, y + size), DoubleChevron(x, y, size), Solid(kWhite));
}

// Soft shadow under a tile of `size` at (x, y).
void DrawTileShadow(PixelBuffer& buffer, float x, float y, float size) {
    float r = TileRadius(size);
    float drop = size / 28.0F;
    float blur = size / 10.0F;
    FillSoft(buffer, BoxOf(x - blur, y, x + size + blur, y + size + drop + blur),
             RoundedRect(x, y + drop, x + size, y + size + drop, r), Fade(kShadow, 0.28F), blur);
}

// A gear of eight teeth centred at (cx, cy) with an outer radius `radius`.
auto Gear(float cx, float cy, float radius) {
    float body = radius * 0.72F;
    float hole = radius * 0.34F;
    float toothHalfWidth = radius * 0.15F;
    float toothHalfLength = radius * 0.22F;
    float toothRounding = radius * 0.06F;
    struct Tooth {
        Point centre;
        float sine;
        float cosine;
    };
    std::array<Tooth, 8> teeth{};
    for (int i = 0; i < 8; ++i) {
        float angle = static_cast<float>(i) * std::numbers::pi_v<float> / 4.0F;
        float sine = std::sin(angle);
        float cosine = std::cos(angle);
        teeth[static_cast<std::size_t>(i)] = {
            {cx + cosine * (radius - toothHalfLength), cy + sine * (radius - toothHalfLength)},
            sine,
            cosine};
    }
    return [=](float x, float y) {
        float d = CircleSdf(x, y, cx, cy, body);
        for (const Tooth& tooth : teeth) {
            d = std::min(d, RotatedBoxSdf(x, y, tooth.centre, toothHalfLength, toothHalfWidth,
                                          tooth.sine, tooth.cosine, toothRounding));
        }
        return std::max(d, -CircleSdf(x, y, cx, cy, hole));
    };
}

// ---- Parts of the skin ---------------------------------------------------------

void DrawTitleBand(PixelBuffer& skin, const Scale& scale) {
    // Only a vertical gradient: every column of the band is alike, so the
    // title strip and the chrome buttons fit anywhere along it.
    const int band = scale.Px(kTitleBandHeight);
    for (int y = 0; y < band; ++y) {
        float t = (static_cast<float>(y) + 0.5F) / static_cast<float>(band);
        FillRect(skin, {0, y, skin.width, y + 1}, Mix(kTitleBandTop, kTitleBandBottom, t));
    }
    FillRect(skin, {0, band, skin.width, scale.Px(kTitleBandHeight + kAccentLineHeight)}, kAccent);
    // The program icon's mark at the band's scale, without the margin the
    // larger system icon sizes keep.
    const int size = scale.Px(kBandIconSize);
    PixelBuffer icon(size, size, kTransparent);
    DrawMark(icon, 0, 0, static_cast<float>(size));
    Draw(skin, icon, scale.Px(kBandIconX), scale.Px(kBandIconY));
}

// The column is one flat colour from top to bottom, so a page button cut
// from one place fits every other place.
void DrawSidebar(PixelBuffer& skin, const Scale& scale) {
    // The column's sides are the page buttons' sides wherever the window's
    // rounding puts them.
    const PixelEdges buttons =
        TwipsToPixelEdges({kPageButtonLeftTwips, 0, kPageButtonWidthTwips, 0}, scale.Dpi());
    const auto left = static_cast<float>(buttons.left);
    const float top = scale.Edge(kSurfaceTop);
    const auto right = static_cast<float>(buttons.right);
    const float bottom = scale.Edge(kSurfaceBottom);
    const float radius = scale.Len(kSurfaceRadius);
    Fill(skin, BoxOf(left, top, right, bottom), RoundedRect(left, top, right, bottom, radius),
         Solid(kSidebar));
    // A large, barely visible double chevron fills the empty foot of the column.
    float size = scale.Len(150);
    float x = (left + right - size) * 0.5F;
    float y = bottom - size + scale.Len(10);
    Fill(skin, BoxOf(x, y, x + size, bottom - radius), DoubleChevron(x, y, size),
         Solid(Fade(kWhite, 0.025F)));
}

void DrawCard(PixelBuffer& skin, const Scale& scale) {
    const float left = scale.Edge(kCardLeft);
    const float top = scale.Edge(kSurfaceTop);
    const float right = scale.Edge(kCardRight);
    const float bottom = scale.Edge(kSurfaceBottom);
    const float radius = scale.Len(kSurfaceRadius);
    FillSoft(
        skin,
        BoxOf(left - scale.Len(4), top - scale.Len(2), right + scale.Len(4), bottom + scale.Len(4)),
        RoundedRect(left, top + scale.Len(1), right, bottom + scale.Len(1), radius),
        Fade(kShadow, 0.10F), scale.Len(4));
    Fill(skin, BoxOf(left, top, right, bottom), RoundedRect(left, top, right, bottom, radius),
         Solid(kCardBorder));
    // A hairline at every scale: a wider border would reach into the largest
    // panel's corners.
    Fill(skin, BoxOf(left, top, right, bottom),
         RoundedRect(left + 1, top + 1, right - 1, bottom - 1, radius - 1),
         Solid(kPanelBackground));
}

void DrawHeaderMark(PixelBuffer& skin, const Scale& scale) {
    const float x = scale.Edge(kHeaderMarkX);
    const float y = scale.Edge(kHeaderMarkY);
    const float size = scale.Edge(kHeaderMarkSize);
    DrawTileShadow(skin, x, y, size);
    DrawMark(skin, x, y, size);
}

// A one-pixel outline around the frameless window, dark along the title band
// and a soft slate below it.
void DrawWindowOutline(PixelBuffer& skin, const Scale& scale) {
    const int band = scale.Px(kTitleBandHeight);
    for (int x = 0; x < skin.width; ++x) {
        skin.At(x, 0) = kBandOutline;
        skin.At(x, skin.height - 1) = kWindowOutline;
    }
    for (int y = 0; y < skin.height; ++y) {
        Argb c = y < band ? kBandOutline : kWindowOutline;
        skin.At(0, y) = c;
        skin.At(skin.width - 1, y) = c;
    }
}

// ---- Chrome buttons ------------------------------------------------------------

void DrawMinimiseGlyph(PixelBuffer& image, Argb c, int dy, const Scale& scale) {
    FillRect(image, {scale.Px(9), scale.Px(7) + dy, scale.Px(19), scale.Px(9) + dy}, c);
}

void DrawCloseGlyph(PixelBuffer& image, Argb c, int dy, const Scale& scale) {
    float cx = static_cast<float>(image.width) * 0.5F;
    float cy = static_cast<float>(image.height) * 0.5F + static_cast<float>(dy);
    float arm = scale.Len(3.5F);
    float width = scale.Len(1.6F);
    Fill(
        image, {0, 0, image.width, image.height},
        [=](float x, float y) {
            return std::min(SegmentSdf(x, y, {cx - arm, cy - arm}, {cx + arm, cy + arm}, width),
                            SegmentSdf(x, y, {cx - arm, cy + arm}, {cx + arm, cy - arm}, width));
        },
        Solid(c));
}

PixelBuffer RenderSkin(int dpi) {
    const Scale scale(dpi);
    PixelBuffer skin(scale.Px(kSkinWidth), scale.Px(kSkinHeight), kBackdrop);
    DrawTitleBand(skin, scale);
    DrawHeaderMark(skin, scale);
    DrawSidebar(skin, scale);
    DrawCard(skin, scale);
    DrawWindowOutline(skin, scale);
    return skin;
}

// The skin is drawn once; the title strip and the button images are cut from
// it, which keeps them identical to the skin they cover.
struct KeptSkin {
    int dpi = 0;
    std::optional<PixelBuffer> pixels;
};

KeptSkin& SkinCache() {
    static KeptSkin skin;
    return skin;
}

PixelBuffer CropAt(int dpi, const TwipsRect& place) {
    const Box box = BoxAt(place, dpi);
    return Crop(Skin(dpi), box.left, box.top, box.right - box.left, box.bottom - box.top);
}

}  // namespace

const PixelBuffer& Skin(int dpi) {
    KeptSkin& kept = SkinCache();
    if (!kept.pixels || kept.dpi != dpi) {
        kept.pixels.reset();
        kept.pixels = RenderSkin(dpi);
        kept.dpi = dpi;
    }
    return *kept.pixels;
}

void ForgetSkin() {
    SkinCache().pixels.reset();
}

PixelBuffer TitleStrip(int dpi) {
    return CropAt(dpi, kTitleStripPlace);
}

PixelBuffer ChromeButtonImage(ChromeButton button, ChromeState state, int dpi) {
    const Scale scale(dpi);
    PixelBuffer image = CropAt(dpi, button == ChromeButton::Close ? kClosePlace : kMinimisePlace);
    Argb glyph = kGlyphNormal;
    int dy = 0;
    if (state != ChromeState::Normal) {
        Argb face = kMinimiseHover;
        if (button == ChromeButton::Close) {
            face = state == ChromeState::Hover ? kCloseHover : kClosePressed;
        } else if (state == ChromeState::Pressed) {
            face = kMinimisePressed;
        }
        const auto width = static_cast<float>(image.width);
        const auto height = static_cast<float>(image.height);
        Fill(image, {0, 0, image.width, image.height},
             RoundedRect(0, 0, width, height, scale.Len(4)), Solid(face));
        glyph = kWhite;
        dy = state == ChromeState::Pressed ? scale.Px(1) : 0;
    }
    if (button == ChromeButton::Close) {
        DrawCloseGlyph(image, glyph, dy, scale);
    } else {
        DrawMinimiseGlyph(image, glyph, dy, scale);
    }
    return image;
}

PixelBuffer PageButton(bool highlighted, int dpi) {
    // Drawn over the column as it is under the first button; the pill and
    // the marker stay clear of the first and last rows and columns.
    const Scale scale(dpi);
    PixelBuffer image = CropAt(dpi, {kPageButtonLeftTwips, kPageButtonTopsTwips[0],
                                     kPageButtonWidthTwips, kPageButtonHeightTwips});
    const auto width = static_cast<float>(image.width);
    const auto height = static_cast<float>(image.height);
    float markerX = scale.Len(40);
    float markerY = scale.Len(18);
    float markerBox = scale.Len(5);
    auto marker = [&](float radius, Argb c) {
        Fill(image,
             BoxOf(markerX - markerBox, markerY - markerBox, markerX + markerBox,
                   markerY + markerBox),
             Circle(markerX, markerY, radius), Solid(c));
    };
    if (highlighted) {
        // A raised pill in the selection blue, an orange indicator at its
        // left and the marker lit in orange.
        float left = scale.Snap(6);
        float top = scale.Snap(3);
        float right = width - scale.Snap(6);
        float bottom = height - scale.Snap(3);
        float radius = scale.Len(6);
        Fill(image, BoxOf(left, top, right, bottom), RoundedRect(left, top, right, bottom, radius),
             Solid(kSelectionEdge));
        Fill(image, BoxOf(left, top, right, bottom),
             RoundedRect(left, top + scale.Snap(1), right, bottom, radius),
             VerticalGradient(top, kSelectionTop, bottom, kSelectionBottom));
        Fill(image, BoxOf(left + scale.Len(4), scale.Len(10), left + scale.Len(8), scale.Len(26)),
             RoundedRect(left + scale.Len(4), scale.Len(10), left + scale.Len(7), scale.Len(26),
                         scale.Len(1.5F)),
             Solid(kAccent));
        marker(scale.Len(4), kAccent);
    } else {
        marker(scale.Len(3), kMarkerPlain);
    }
    return image;
}

PixelBuffer SettingPicture(int dpi) {
    const Scale scale(dpi);
    const PixelSize place = SizeAt(kSettingPicturePlace, dpi);
    PixelBuffer image(place.width, place.height, kPanelBackground);
    float x = scale.Len(4);
    float y = scale.Len(3);
    float size = scale.Len(52);
    DrawTileShadow(image, x, y, size);
    Fill(image, BoxOf(x, y, x + size, y + size),
         RoundedRect(x, y, x + size, y + size, TileRadius(size)),
         VerticalGradient(y, kTileNavyTop, y + size, kTileNavyBottom));
    float cx = x + size * 0.5F;
    float cy = y + size * 0.5F;
    Fill(image, BoxOf(x, y, x + size, y + size), Gear(cx, cy, size * 0.36F), Solid(kWhite));
    float dot = scale.Len(5);
    Fill(image, BoxOf(cx - dot, cy - dot, cx + dot, cy + dot), Circle(cx, cy, scale.Len(3.2F)),
         Solid(kAccent));
    return image;
}

PixelBuffer Logo(int dpi) {
    const Scale scale(dpi);
    const PixelSize place = SizeAt(kLogoPlace, dpi);
    PixelBuffer image(place.width, place.height, kPanelBackground);
    float size = scale.Len(67);
    float x = (static_cast<float>(place.width) - size) * 0.5F;
    float y = scale.Len(8);
    DrawTileShadow(image, x, y, size);
    DrawMark(image, x, y, size);
    return image;
}

PixelBuffer ProgramIcon(int size) {
    if (size < 1) {
        return {};
    }
    PixelBuffer icon(size, size, kTransparent);
    auto s = static_cast<float>(size);
    // Small icons use the whole square; larger ones keep a margin in
    // proportion, as the platform's own icons do.
    float margin = size <= 16 ? 0.0F : std::round(s / 32.0F);
    DrawMark(icon, margin, margin, s - 2 * margin);
    return icon;
}

}  // namespace vellumar::artwork
