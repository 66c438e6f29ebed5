// Pictures shown on the page panels next to the page's text: the State
// emblem and the small icons beside the page switches. They sit on the white
// panel, so each is drawn on white and keeps its shapes on whole pixels where
// it can, which keeps them crisp at their small size.

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "app/artwork.h"
#include "app/artwork_draw.h"

namespace vellumar::artwork {

namespace {

constexpr Argb kPageWhite = OpaqueRgb(0xFF, 0xFF, 0xFF);
// The navy of the Setting picture's tile, so the page icons read as a set.
constexpr Argb kIconNavyTop = OpaqueRgb(0x36, 0x4A, 0x64);
constexpr Argb kIconNavyBottom = OpaqueRgb(0x1F, 0x2C, 0x3D);
constexpr Argb kIconShadow = OpaqueRgb(0x1A, 0x26, 0x36);
// The empty part of the gauge's scale and its tick marks.
constexpr Argb kGaugeTrack = OpaqueRgb(0xE1, 0xE6, 0xED);
constexpr Argb kGaugeTick = OpaqueRgb(0x8A, 0x98, 0xAA);

Box WholeBox(float left, float top, float right, float bottom) {
    return {static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)),
            static_cast<int>(std::ceil(right)), static_cast<int>(std::ceil(bottom))};
}

RoundedRectShape RoundedBox(float left, float top, float right, float bottom, float radius) {
    return {left, top, right, bottom, radius};
}

auto Circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return CircleSdf(x, y, cx, cy, radius); };
}

Point OnCircle(Point c, float radius, float angle) {
    return {c.x + std::cos(angle) * radius, c.y + std::sin(angle) * radius};
}

// A stroke of `width` along the circle of `radius` around c, from angle a0 to
// a1 (radians, a0 < a1, y pointing down, both within -pi..pi), round caps.
auto Arc(Point c, float radius, float width, float a0, float a1) {
    Point start = OnCircle(c, radius, a0);
    Point end = OnCircle(c, radius, a1);
    return [=](float x, float y) {
        float a = std::atan2(y - c.y, x - c.x);
        if (a >= a0 && a <= a1) {
            return std::abs(std::hypot(x - c.x, y - c.y) - radius) - width * 0.5F;
        }
        return std::min(SegmentSdf(x, y, start, start, width), SegmentSdf(x, y, end, end, width));
    };
}

// The navy tile of the page icons, `size` square at (x, y) with the same soft
// drop shadow as the Setting picture.
void DrawIconTile(PixelBuffer& image, float x, float y, float size, const Scale& scale) {
    float radius = size * 0.22F;
    float blur = size / 10.0F;
    float drop = scale.Len(1.0F);
    FillSoft(image, WholeBox(x - blur, y, x + size + blur, y + size + drop + blur),
             RoundedBox(x, y + drop, x + size, y + size + drop, radius), Fade(kIconShadow, 0.28F),
             blur);
    Fill(image, WholeBox(x, y, x + size, y + size), RoundedBox(x, y, x + size, y + size, radius),
         VerticalGradient(y, kIconNavyTop, y + size, kIconNavyBottom));
}

// Page icons: a 26 pixel tile at (2, 2), its centre on the line x = 15.
constexpr float kTileX = 2;
constexpr float kTileY = 2;
constexpr float kTileSize = 26;

PixelBuffer Blank(const TwipsRect& place, int dpi) {
    const PixelSize size = SizeAt(place, dpi);
    return {size.width, size.height, kPageWhite};
}

}  // namespace

PixelBuffer StatePicture(int dpi) {
    const Scale s(dpi);
    PixelBuffer image = Blank(kStatePicturePlace, dpi);
    // A half dial over the hub, the scale running from the left (slow)
    // through the top to the right (fast).
    const Point hub{static_cast<float>(image.width) * 0.5F, s.Len(30.5F)};
    const float pi = std::numbers::pi_v<float>;
    const float scale = s.Len(25.0F);
    const float band = s.Len(6.0F);
    const float reading = -pi * 0.2F;  // four fifths of the way up the scale
    const Box all{0, 0, image.width, image.height};
    Fill(image, all, Arc(hub, scale, band, -pi, 0.0F), Solid(kGaugeTrack));
    Fill(image, all, Arc(hub, scale, band, -pi, reading),
         LinearGradient({hub.x - scale, hub.y}, kIconNavyTop, {hub.x + scale, hub.y - scale},
                        kIconNavyBottom));
    // Five hairline ticks inside the scale.
    const float tick = s.Len(1.0F);
    for (int i = 0; i <= 4; ++i) {
        float angle = -pi + pi * static_cast<float>(i) / 4.0F;
        Point outer = OnCircle(hub, scale - band * 0.5F - s.Len(2.0F), angle);
        Point inner = OnCircle(hub, scale - band * 0.5F - s.Len(5.0F), angle);
        Fill(
            image, all, [=](float x, float y) { return SegmentSdf(x, y, inner, outer, tick); },
            Solid(kGaugeTick));
    }
    // The needle: a slim orange spike from the hub towards the reading.
    Point tip = OnCircle(hub, scale - band * 0.5F - s.Len(3.0F), reading);
    Point left = OnCircle(hub, s.Len(3.2F), reading - pi * 0.5F);
    Point right = OnCircle(hub, s.Len(3.2F), reading + pi * 0.5F);
    const std::array<Point, 3> needle{{tip, left, right}};
    Fill(
        image, all, [needle](float x, float y) { return PolygonSdf(x, y, needle); },
        VerticalGradient(tip.y, kAccentLight, hub.y, kAccentDeep));
    Fill(image, all, Circle(hub.x, hub.y, s.Len(4.5F)), Solid(kIconNavyBottom));
    Fill(image, all, Circle(hub.x, hub.y, s.Len(1.5F)), Solid(kPageWhite));
    return image;
}

PixelBuffer ProcessPicture(int dpi) {
    const Scale s(dpi);
    PixelBuffer image = Blank(kProcessPicturePlace, dpi);
    DrawIconTile(image, s.Len(kTileX), s.Len(kTileY), s.Len(kTileSize), s);
    const Box all{0, 0, image.width, image.height};
    // A program window: a solid title bar over an open frame.
    Fill(
        image, all,
        [outer = RoundedBox(s.Len(7), s.Len(11), s.Len(23), s.Len(23), s.Len(1.5F)),
         inner = RoundedBox(s.Len(9), s.Len(15), s.Len(21), s.Len(21), s.Len(0.5F))](
            float x, float y) { return std::max(outer(x, y), -inner(x, y)); },
        Solid(kPageWhite));
    // An orange arrow rising out of it, with a navy gap where it crosses the
    // frame so both stay legible.
    std::array<Point, 7> arrow{
        {{15, 4}, {20.5F, 10}, {17, 10}, {17, 19}, {13, 19}, {13, 10}, {9.5F, 10}}};
    for (Point& p : arrow) {
        p = {s.Len(p.x), s.Len(p.y)};
    }
    auto shape = [arrow](float x, float y) { return PolygonSdf(x, y, arrow); };
    const float gap = s.Len(1.0F);
    Fill(
        image, all, [shape, gap](float x, float y) { return shape(x, y) - gap; },
        VerticalGradient(s.Len(kTileY), kIconNavyTop, s.Len(kTileY) + s.Len(kTileSize),
                         kIconNavyBottom));
    Fill(image, all, shape, VerticalGradient(s.Len(4), kAccentLight, s.Len(19), kAccentDeep));
    return image;
}

PixelBuffer MemoryPicture(int dpi) {
    const Scale s(dpi);
    PixelBuffer image = Blank(kMemoryPicturePlace, dpi);
    DrawIconTile(image, s.Len(kTileX), s.Len(kTileY), s.Len(kTileSize), s);
    const Box all{0, 0, image.width, image.height};
    // A memory module: white board, three orange chips, a row of contacts
    // with the key notch off centre.
    Fill(image, all, RoundedBox(s.Len(5), s.Len(9), s.Len(25), s.Len(19), s.Len(1.0F)),
         Solid(kPageWhite));
    for (float x : {7.0F, 13.0F, 19.0F}) {
        Fill(image, all, RoundedBox(s.Len(x), s.Len(11), s.Len(x + 4), s.Len(16), s.Len(0.5F)),
             VerticalGradient(s.Len(11), kAccentLight, s.Len(16), kAccentDeep));
    }
    for (int pin = 0; pin < 10; ++pin) {
        float x = 6.0F + 2.0F * static_cast<float>(pin);
        if (pin == 6) {
            continue;
        }
        FillRect(image, WholeBox(s.Len(x), s.Len(19), s.Len(x + 1), s.Len(22)), kPageWhite);
    }
    return image;
}

}  // namespace vellumar::artwork
