#include "app/artwork.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

#include "app/artwork_draw.h"

namespace vellumar::artwork {

namespace {

// ---- Layout of the skin --------------------------------------------------------

// Dark navigation column and the white content card, side by side under the
// header; both end above the footer line.
constexpr float kSurfaceTop = 128;
constexpr float kSurfaceBottom = 532;
constexpr float kSidebarLeft = 7;
constexpr float kSidebarRight = 243;
constexpr float kCardLeft = 248;
constexpr float kCardRight = 779;
constexpr float kSurfaceRadius = 6;
// The product mark in the header, left of the product name.
constexpr int kHeaderMarkX = 40;
constexpr int kHeaderMarkY = 34;
constexpr int kHeaderMarkSize = 56;
// Small program icon left of the window title on the title band.
constexpr int kBandIconX = 6;
constexpr int kBandIconY = 5;
// Accent line under the title band.
constexpr int kAccentLineHeight = 2;

constexpr Argb kWindowOutline = OpaqueRgb(0x9A, 0xA5, 0xB3);
constexpr Argb kBandOutline = OpaqueRgb(0x16, 0x20, 0x2D);
constexpr Argb kShadow = OpaqueRgb(0x1A, 0x26, 0x36);
constexpr Argb kWhite = OpaqueRgb(0xFF, 0xFF, 0xFF);
constexpr Argb kTransparent = 0;

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

Sdf RoundedRect(float left, float top, float right, float bottom, float radius) {
    return [=](float x, float y) { return RoundedRectSdf(x, y, left, top, right, bottom, radius); };
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
Sdf DoubleChevron(float x, float y, float size) {
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
Sdf Gear(float cx, float cy, float radius) {
    float body = radius * 0.72F;
    float hole = radius * 0.34F;
    float toothHalfWidth = radius * 0.15F;
    float toothHalfLength = radius * 0.22F;
    float toothRounding = radius * 0.06F;
    return [=](float x, float y) {
        float d = CircleSdf(x, y, cx, cy, body);
        for (int i = 0; i < 8; ++i) {
            float angle = static_cast<float>(i) * std::numbers::pi_v<float> / 4.0F;
            Point c{cx + std::cos(angle) * (radius - toothHalfLength),
                    cy + std::sin(angle) * (radius - toothHalfLength)};
            d = std::min(
                d, RotatedBoxSdf(x, y, c, toothHalfLength, toothHalfWidth, angle, toothRounding));
        }
        return std::max(d, -CircleSdf(x, y, cx, cy, hole));
    };
}

// ---- Parts of the skin ---------------------------------------------------------

void DrawTitleBand(PixelBuffer& skin) {
    // Only a vertical gradient: every column of the band is alike, so the
    // title strip and the chrome buttons fit anywhere along it.
    for (int y = 0; y < kTitleBandHeight; ++y) {
        float t = (static_cast<float>(y) + 0.5F) / kTitleBandHeight;
        FillRect(skin, {0, y, kSkinWidth, y + 1}, Mix(kTitleBandTop, kTitleBandBottom, t));
    }
    FillRect(skin, {0, kTitleBandHeight, kSkinWidth, kTitleBandHeight + kAccentLineHeight},
             kAccent);
    Draw(skin, ProgramIcon(16), kBandIconX, kBandIconY);
}

// The column is one flat colour from top to bottom, so a page button cut
// from one place fits every other place.
void DrawSidebar(PixelBuffer& skin) {
    Fill(skin, BoxOf(kSidebarLeft, kSurfaceTop, kSidebarRight, kSurfaceBottom),
         RoundedRect(kSidebarLeft, kSurfaceTop, kSidebarRight, kSurfaceBottom, kSurfaceRadius),
         Solid(kSidebar));
    // A large, barely visible double chevron fills the empty foot of the column.
    float size = 150;
    float x = (kSidebarLeft + kSidebarRight - size) * 0.5F;
    float y = kSurfaceBottom - size + 10;
    Fill(skin, BoxOf(x, y, x + size, kSurfaceBottom - kSurfaceRadius), DoubleChevron(x, y, size),
         Solid(Fade(kWhite, 0.025F)));
}

void DrawCard(PixelBuffer& skin) {
    FillSoft(
        skin, BoxOf(kCardLeft - 4, kSurfaceTop - 2, kCardRight + 4, kSurfaceBottom + 4),
        RoundedRect(kCardLeft, kSurfaceTop + 1, kCardRight, kSurfaceBottom + 1, kSurfaceRadius),
        Fade(kShadow, 0.10F), 4);
    Fill(skin, BoxOf(kCardLeft, kSurfaceTop, kCardRight, kSurfaceBottom),
         RoundedRect(kCardLeft, kSurfaceTop, kCardRight, kSurfaceBottom, kSurfaceRadius),
         Solid(kCardBorder));
    Fill(skin, BoxOf(kCardLeft, kSurfaceTop, kCardRight, kSurfaceBottom),
         RoundedRect(kCardLeft + 1, kSurfaceTop + 1, kCardRight - 1, kSurfaceBottom - 1,
                     kSurfaceRadius - 1),
         Solid(kPanelBackground));
}

void DrawHeaderMark(PixelBuffer& skin) {
    auto x = static_cast<float>(kHeaderMarkX);
    auto y = static_cast<float>(kHeaderMarkY);
    auto size = static_cast<float>(kHeaderMarkSize);
    DrawTileShadow(skin, x, y, size);
    DrawMark(skin, x, y, size);
}

// A one-pixel outline around the frameless window, dark along the title band
// and a soft slate below it.
void DrawWindowOutline(PixelBuffer& skin) {
    for (int x = 0; x < kSkinWidth; ++x) {
        skin.At(x, 0) = kBandOutline;
        skin.At(x, kSkinHeight - 1) = kWindowOutline;
    }
    for (int y = 0; y < kSkinHeight; ++y) {
        Argb c = y < kTitleBandHeight ? kBandOutline : kWindowOutline;
        skin.At(0, y) = c;
        skin.At(kSkinWidth - 1, y) = c;
    }
}

// ---- Chrome buttons ------------------------------------------------------------

void DrawMinimiseGlyph(PixelBuffer& image, Argb c, int dy) {
    FillRect(image, {9, 7 + dy, 19, 9 + dy}, c);
}

void DrawCloseGlyph(PixelBuffer& image, Argb c, int dy) {
    float cx = kChromeButtonWidth * 0.5F;
    float cy = kChromeButtonHeight * 0.5F + static_cast<float>(dy);
    float arm = 3.5F;
    float width = 1.6F;
    Fill(
        image, {0, 0, kChromeButtonWidth, kChromeButtonHeight},
        [=](float x, float y) {
            return std::min(SegmentSdf(x, y, {cx - arm, cy - arm}, {cx + arm, cy + arm}, width),
                            SegmentSdf(x, y, {cx - arm, cy + arm}, {cx + arm, cy - arm}, width));
        },
        Solid(c));
}

PixelBuffer RenderSkin() {
    PixelBuffer skin(kSkinWidth, kSkinHeight, kBackdrop);
    DrawTitleBand(skin);
    DrawHeaderMark(skin);
    DrawSidebar(skin);
    DrawCard(skin);
    DrawWindowOutline(skin);
    return skin;
}

// The skin is drawn once; the title strip and the button images are cut from
// it, which keeps them identical to the skin they cover.
std::optional<PixelBuffer>& SkinCache() {
    static std::optional<PixelBuffer> skin;
    return skin;
}

const PixelBuffer& CachedSkin() {
    std::optional<PixelBuffer>& skin = SkinCache();
    if (!skin)
        skin = RenderSkin();
    return *skin;
}

}  // namespace

PixelBuffer Skin() {
    return CachedSkin();
}

void ForgetSkin() {
    SkinCache().reset();
}

PixelBuffer TitleStrip() {
    return Crop(CachedSkin(), kTitleStripX, 0, kTitleStripWidth, kTitleBandHeight);
}

PixelBuffer ChromeButtonImage(ChromeButton button, ChromeState state) {
    int x = button == ChromeButton::Close ? kCloseX : kMinimiseX;
    PixelBuffer image =
        Crop(CachedSkin(), x, kChromeButtonY, kChromeButtonWidth, kChromeButtonHeight);
    Argb glyph = kGlyphNormal;
    int dy = 0;
    if (state != ChromeState::Normal) {
        Argb face = kMinimiseHover;
        if (button == ChromeButton::Close) {
            face = state == ChromeState::Hover ? kCloseHover : kClosePressed;
        } else if (state == ChromeState::Pressed) {
            face = kMinimisePressed;
        }
        Fill(image, {0, 0, kChromeButtonWidth, kChromeButtonHeight},
             RoundedRect(0, 0, kChromeButtonWidth, kChromeButtonHeight, 4), Solid(face));
        glyph = kWhite;
        dy = state == ChromeState::Pressed ? 1 : 0;
    }
    if (button == ChromeButton::Close) {
        DrawCloseGlyph(image, glyph, dy);
    } else {
        DrawMinimiseGlyph(image, glyph, dy);
    }
    return image;
}

PixelBuffer PageButton(bool highlighted) {
    // Drawn over the column as it is under the first button; the pill and
    // the marker stay clear of the first and last rows and columns.
    PixelBuffer image =
        Crop(CachedSkin(), kPageButtonX, kPageButtonTops[0], kPageButtonWidth, kPageButtonHeight);
    float markerX = 40;
    float markerY = 18;
    if (highlighted) {
        // A raised pill in the selection blue, an orange indicator at its
        // left and the marker lit in orange.
        float left = 6;
        float top = 3;
        float right = kPageButtonWidth - 6;
        float bottom = kPageButtonHeight - 3;
        Fill(image, BoxOf(left, top, right, bottom), RoundedRect(left, top, right, bottom, 6),
             Solid(kSelectionEdge));
        Fill(image, BoxOf(left, top, right, bottom), RoundedRect(left, top + 1, right, bottom, 6),
             VerticalGradient(top, kSelectionTop, bottom, kSelectionBottom));
        Fill(image, BoxOf(left + 4, 10, left + 8, 26),
             RoundedRect(left + 4, 10, left + 7, 26, 1.5F), Solid(kAccent));
        Fill(
            image, BoxOf(markerX - 5, markerY - 5, markerX + 5, markerY + 5),
            [=](float x, float y) { return CircleSdf(x, y, markerX, markerY, 4); }, Solid(kAccent));
    } else {
        Fill(
            image, BoxOf(markerX - 5, markerY - 5, markerX + 5, markerY + 5),
            [=](float x, float y) { return CircleSdf(x, y, markerX, markerY, 3); },
            Solid(kMarkerPlain));
    }
    return image;
}

PixelBuffer SettingPicture() {
    PixelBuffer image(60, 60, kPanelBackground);
    float x = 4;
    float y = 3;
    float size = 52;
    DrawTileShadow(image, x, y, size);
    Fill(image, BoxOf(x, y, x + size, y + size),
         RoundedRect(x, y, x + size, y + size, TileRadius(size)),
         VerticalGradient(y, kTileNavyTop, y + size, kTileNavyBottom));
    float cx = x + size * 0.5F;
    float cy = y + size * 0.5F;
    Fill(image, BoxOf(x, y, x + size, y + size), Gear(cx, cy, size * 0.36F), Solid(kWhite));
    Fill(
        image, BoxOf(cx - 5, cy - 5, cx + 5, cy + 5),
        [=](float px, float py) { return CircleSdf(px, py, cx, cy, 3.2F); }, Solid(kAccent));
    return image;
}

PixelBuffer Logo() {
    PixelBuffer image(77, 85, kPanelBackground);
    float size = 67;
    float x = (77 - size) * 0.5F;
    float y = 8;
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
