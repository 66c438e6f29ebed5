#pragma once
// Small anti-aliased vector painter used by the artwork. Shapes are signed
// distance functions in pixel units (negative inside, pixel centres at +0.5);
// fills blend straight-alpha colours "source over" into a PixelBuffer.

#include <functional>
#include <span>

#include "controls/pixel_buffer.h"

namespace vellumar::artwork {

struct Point {
    float x = 0;
    float y = 0;
};

// Pixel rectangle, right and bottom exclusive.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

using Sdf = std::function<float(float x, float y)>;
using Paint = std::function<Argb(float x, float y)>;

// ---- Colour ------------------------------------------------------------------

// Linear mix of every channel, alpha included: t = 0 gives a, t = 1 gives b.
Argb Mix(Argb a, Argb b, float t);
// The colour with its alpha multiplied by opacity (0..1).
Argb Fade(Argb c, float opacity);
// Straight-alpha "source over": src drawn over dst with the given coverage.
Argb Over(Argb dst, Argb src, float coverage = 1.0F);
// Relative luminance (0..1) and the contrast ratio of two opaque colours.
float Luminance(Argb c);
float ContrastRatio(Argb a, Argb b);

// ---- Paints --------------------------------------------------------------------

Paint Solid(Argb c);
// Gradient along the line from `from` to `to`, clamped beyond both ends.
Paint LinearGradient(Point from, Argb c0, Point to, Argb c1);
Paint VerticalGradient(float top, Argb c0, float bottom, Argb c1);

// ---- Shapes ------------------------------------------------------------------

float RoundedRectSdf(float x, float y, float left, float top, float right, float bottom,
                     float radius);
float CircleSdf(float x, float y, float cx, float cy, float radius);
// Line from a to b with round caps, `width` thick.
float SegmentSdf(float x, float y, Point a, Point b, float width);
// Box of half-extents (hw, hh) centred at c, corners rounded by `radius`,
// turned by `angle` radians.
float RotatedBoxSdf(float x, float y, Point c, float hw, float hh, float angle,
                    float radius = 0.0F);
// Closed polygon, any winding.
float PolygonSdf(float x, float y, std::span<const Point> points);

// ---- Drawing -------------------------------------------------------------------

void FillRect(PixelBuffer& buffer, Box box, Argb c);
// Fills the inside of `shape` within `box` with exact area coverage at edges.
void Fill(PixelBuffer& buffer, Box box, const Sdf& shape, const Paint& paint);
// Soft fill fading over `blur` pixels around the edge: shadows and glows.
void FillSoft(PixelBuffer& buffer, Box box, const Sdf& shape, Argb c, float blur);
// Fraction (0..1) of the pixel (x, y) covered by `shape`.
float Coverage(const Sdf& shape, int x, int y);

// Copy of a w x h region of src at (x, y).
PixelBuffer Crop(const PixelBuffer& src, int x, int y, int w, int h);
// Draws src over dst with its top-left corner at (x, y).
void Draw(PixelBuffer& dst, const PixelBuffer& src, int x, int y);
// src at width x height, each pixel the area-weighted average of the source
// pixels it covers (alpha-weighted colours). For pictures that are not yet
// drawn at other sizes; src itself when the size is unchanged.
PixelBuffer Resample(const PixelBuffer& src, int width, int height);

}  // namespace vellumar::artwork
