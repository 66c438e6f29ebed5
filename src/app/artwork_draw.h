#pragma once
// Small anti-aliased vector painter used by the artwork. Shapes are signed
// distance functions in pixel units (negative inside, pixel centres at +0.5);
// fills blend straight-alpha colours "source over" into a PixelBuffer.
//
// A fill walks each row of its box in runs: one distance tells how many of
// the next pixels lie wholly inside or wholly outside the shape (a distance
// changes by at most the length of a step), so flat interiors are filled and
// empty space skipped without asking the shape again, and only pixels near
// an edge are sampled for their coverage. Shapes are any callable, passed as
// template arguments so the compiler can inline them.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <span>

#include "controls/controls.h"
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

// The artwork's 96-dpi design at another display scale.
class Scale {
  public:
    explicit Scale(int dpi) : dpi_(dpi), factor_(static_cast<float>(dpi) / 96.0F) {}
    // A length (a radius, a line width, a place inside a shape).
    float Len(float pixels96) const { return pixels96 * factor_; }
    // A length rounded to whole pixels, for edges that should stay sharp.
    float Snap(float pixels96) const { return std::round(Len(pixels96)); }
    // A place on the window, rounded as the window rounds its layout.
    int Px(int pixels96) const { return ScalePixels(pixels96, dpi_); }
    float Edge(int pixels96) const { return static_cast<float>(Px(pixels96)); }
    int Dpi() const { return dpi_; }

  private:
    int dpi_;
    float factor_;
};

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

// A flat colour or a linear gradient, clamped beyond both ends.
class Paint {
  public:
    explicit Paint(Argb c) : c0_(c), c1_(c) {}
    Paint(Point from, Argb c0, Point to, Argb c1);

    Argb At(float x, float y) const {
        if (!gradient_) {
            return c0_;
        }
        return Mix(c0_, c1_, ((x - from_.x) * dx_ + (y - from_.y) * dy_) / len2_);
    }
    // Whether every pixel of a row gets one colour.
    bool SameAlongRows() const { return !gradient_ || dx_ == 0.0F; }

  private:
    Argb c0_;
    Argb c1_;
    bool gradient_ = false;
    Point from_;
    float dx_ = 0;
    float dy_ = 0;
    float len2_ = 1;
};

Paint Solid(Argb c);
// Gradient along the line from `from` to `to`, clamped beyond both ends.
Paint LinearGradient(Point from, Argb c0, Point to, Argb c1);
Paint VerticalGradient(float top, Argb c0, float bottom, Argb c1);

// ---- Shapes ------------------------------------------------------------------

inline float RoundedRectSdf(float x, float y, float left, float top, float right, float bottom,
                            float radius) {
    float cx = (left + right) * 0.5F;
    float cy = (top + bottom) * 0.5F;
    float hw = (right - left) * 0.5F - radius;
    float hh = (bottom - top) * 0.5F - radius;
    float qx = std::abs(x - cx) - hw;
    float qy = std::abs(y - cy) - hh;
    // Beside a straight edge the distance is the one positive part (hypot
    // of a length and zero is that length, exactly); only the corners need
    // the root.
    float outside = 0.0F;
    if (qx > 0.0F && qy > 0.0F) {
        outside = std::hypot(qx, qy);
    } else if (qx > 0.0F) {
        outside = qx;
    } else if (qy > 0.0F) {
        outside = qy;
    }
    float inside = std::min(std::max(qx, qy), 0.0F);
    return outside + inside - radius;
}

inline float CircleSdf(float x, float y, float cx, float cy, float radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

// Line from a to b with round caps, `width` thick.
inline float SegmentSdf(float x, float y, Point a, Point b, float width) {
    float px = x - a.x;
    float py = y - a.y;
    float bx = b.x - a.x;
    float by = b.y - a.y;
    float h = std::clamp((px * bx + py * by) / std::max(bx * bx + by * by, 1e-6F), 0.0F, 1.0F);
    return std::hypot(px - bx * h, py - by * h) - width * 0.5F;
}

// Box of half-extents (hw, hh) centred at c, corners rounded by `radius`,
// turned by the angle whose sine and cosine are given (for shapes that ask
// many times), or by `angle` radians.
inline float RotatedBoxSdf(float x, float y, Point c, float hw, float hh, float sine, float cosine,
                           float radius) {
    float lx = (x - c.x) * cosine + (y - c.y) * sine;
    float ly = -(x - c.x) * sine + (y - c.y) * cosine;
    return RoundedRectSdf(lx, ly, -hw, -hh, hw, hh, radius);
}

inline float RotatedBoxSdf(float x, float y, Point c, float hw, float hh, float angle,
                           float radius = 0.0F) {
    return RotatedBoxSdf(x, y, c, hw, hh, std::sin(angle), std::cos(angle), radius);
}

// Closed polygon, any winding.
inline float PolygonSdf(float x, float y, std::span<const Point> points) {
    // Distance to the nearest edge, negative when an even-odd crossing count
    // puts the point inside.
    float best = 1e30F;
    bool inside = false;
    std::size_t n = points.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        Point a = points[j];
        Point b = points[i];
        float ex = b.x - a.x;
        float ey = b.y - a.y;
        float wx = x - a.x;
        float wy = y - a.y;
        float h = std::clamp((wx * ex + wy * ey) / std::max(ex * ex + ey * ey, 1e-6F), 0.0F, 1.0F);
        float dx = wx - ex * h;
        float dy = wy - ey * h;
        best = std::min(best, dx * dx + dy * dy);
        if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * ex / ey) {
            inside = !inside;
        }
    }
    float d = std::sqrt(best);
    return inside ? -d : d;
}

// An upright rounded rectangle as a shape. Besides its distance it can tell
// which samples of a pixel lie inside from the sample rows' and columns'
// distances alone, as the distance itself would (it is below zero exactly
// when the part that counts is below the radius), so pixels along its edges
// cost a few comparisons instead of a distance per sample.
struct RoundedRectShape {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    float radius = 0;

    float operator()(float x, float y) const {
        return RoundedRectSdf(x, y, left, top, right, bottom, radius);
    }
    int SamplesInside(int x, int y) const;
};

// ---- Drawing -------------------------------------------------------------------

namespace detail {

// Sub-samples per axis when a pixel straddles an edge.
inline constexpr int kSubSamples = 8;
// Half the diagonal of a pixel: a centre this far from the edge (a signed
// distance is never larger than the true distance) leaves the pixel wholly on
// one side.
inline constexpr float kHalfDiagonal = 0.7072F;
// Allowance for rounding when a distance vouches for the pixels after it.
inline constexpr float kRunMargin = 1.0F / 64.0F;

// How many pixels (or samples, `steps_per_pixel` to a pixel) from one whose
// centre lies `beyond` pixels past a threshold are past it too: itself and
// every whole step the distance allows, less an allowance for rounding.
inline int RunLength(float beyond, int limit, float steps_per_pixel = 1.0F) {
    float steps = (beyond - kRunMargin) * steps_per_pixel;
    if (steps < 1.0F) {
        return 1;
    }
    return std::min(limit, 1 + static_cast<int>(std::min(steps, 1e6F)));
}

// The samples of a pixel's 8 x 8 grid (bit 8 * row + column) no further
// than `reach` sample steps from the sample (sx, sy), in its row and below.
inline std::uint64_t SamplesWithin(float reach, int sx, int sy) {
    // For a squared reach and a row offset, how far the row reaches to
    // either side (-1: not at all).
    static constexpr auto kHalfWidths = [] {
        std::array<std::array<int, kSubSamples>, 99> widths{};
        for (int r2 = 0; r2 < 99; ++r2) {
            for (int dy = 0; dy < kSubSamples; ++dy) {
                int w = -1;
                while (w + 1 < kSubSamples && (w + 1) * (w + 1) + dy * dy <= r2) ++w;
                widths[static_cast<std::size_t>(r2)][static_cast<std::size_t>(dy)] = w;
            }
        }
        return widths;
    }();
    const std::uint64_t self = std::uint64_t{1} << (sy * kSubSamples + sx);
    if (reach < 1.0F) {
        return self;
    }
    const auto r2 = static_cast<std::size_t>(std::min(reach * reach, 98.0F));
    std::uint64_t mask = self;
    for (int dy = 0; sy + dy < kSubSamples; ++dy) {
        const int w = kHalfWidths[r2][static_cast<std::size_t>(dy)];
        if (w < 0) {
            break;
        }
        const int lo = std::max(sx - w, 0);
        const int hi = std::min(sx + w, kSubSamples - 1);
        const std::uint64_t row = (std::uint64_t{0xFF} >> (kSubSamples - 1 - (hi - lo))) << lo;
        mask |= row << ((sy + dy) * kSubSamples);
    }
    return mask;
}

// Remembers the last blend, so runs over a flat background cost a compare.
class BlendMemo {
  public:
    Argb Over(Argb dst, Argb src, float coverage) {
        if (dst != dst_ || src != src_ || coverage != coverage_) {
            dst_ = dst;
            src_ = src;
            coverage_ = coverage;
            out_ = artwork::Over(dst, src, coverage);
        }
        return out_;
    }

  private:
    Argb dst_{};
    Argb src_{};
    float coverage_ = -1.0F;
    Argb out_{};
};

}  // namespace detail

inline int RoundedRectShape::SamplesInside(int x, int y) const {
    using detail::kSubSamples;
    // The same steps as RoundedRectSdf, per sample column and row.
    const float cx = (left + right) * 0.5F;
    const float cy = (top + bottom) * 0.5F;
    const float hw = (right - left) * 0.5F - radius;
    const float hh = (bottom - top) * 0.5F - radius;
    std::array<float, kSubSamples> qx{};
    std::array<float, kSubSamples> qy{};
    for (int i = 0; i < kSubSamples; ++i) {
        const float offset = (static_cast<float>(i) + 0.5F) / kSubSamples;
        qx[static_cast<std::size_t>(i)] = std::abs(static_cast<float>(x) + offset - cx) - hw;
        qy[static_cast<std::size_t>(i)] = std::abs(static_cast<float>(y) + offset - cy) - hh;
    }
    int hits = 0;
    for (float row : qy) {
        for (float column : qx) {
            float part = std::max(column, row);
            if (column > 0.0F && row > 0.0F) {
                part = std::hypot(column, row);
            }
            hits += part < radius ? 1 : 0;
        }
    }
    return hits;
}

void FillRect(PixelBuffer& buffer, Box box, Argb c);

// Fraction (0..1) of the pixel (x, y) covered by `shape`, given the distance
// `centre` at its centre.
template <typename Shape>
float CoverageFrom(const Shape& shape, int x, int y, float centre) {
    using detail::kSubSamples;
    if (centre <= -detail::kHalfDiagonal) {
        return 1.0F;
    }
    if (centre >= detail::kHalfDiagonal) {
        return 0.0F;
    }
    if constexpr (requires { shape.SamplesInside(x, y); }) {
        return static_cast<float>(shape.SamplesInside(x, y)) / (kSubSamples * kSubSamples);
    }
    // Samples 1/8 pixel apart: one distance vouches for every sample within
    // its reach, so only the samples near the edge are asked for.
    std::uint64_t known = 0;
    std::uint64_t hits = 0;
    for (int sy = 0; sy < kSubSamples; ++sy) {
        float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5F) / kSubSamples;
        for (int sx = 0; sx < kSubSamples; ++sx) {
            if ((known >> (sy * kSubSamples + sx)) & 1U) {
                continue;
            }
            float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5F) / kSubSamples;
            float d = shape(px, py);
            std::uint64_t reached =
                detail::SamplesWithin((std::abs(d) - detail::kRunMargin) * kSubSamples, sx, sy);
            known |= reached;
            if (d < 0.0F) {
                hits |= reached;
            }
        }
    }
    return static_cast<float>(std::popcount(hits)) / (kSubSamples * kSubSamples);
}

// Fraction (0..1) of the pixel (x, y) covered by `shape`.
template <typename Shape>
float Coverage(const Shape& shape, int x, int y) {
    return CoverageFrom(shape, x, y,
                        shape(static_cast<float>(x) + 0.5F, static_cast<float>(y) + 0.5F));
}

// Fills the inside of `shape` within `box` with exact area coverage at edges.
template <typename Shape>
void Fill(PixelBuffer& buffer, Box box, const Shape& shape, const Paint& paint) {
    const int left = std::max(box.left, 0);
    const int right = std::min(box.right, buffer.width);
    const bool same_along_rows = paint.SameAlongRows();
    detail::BlendMemo memo;
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, buffer.height); ++y) {
        const float cy = static_cast<float>(y) + 0.5F;
        Argb* row = buffer.pixels.data() + static_cast<std::size_t>(y) * buffer.width;
        const Argb row_colour =
            same_along_rows ? paint.At(static_cast<float>(left) + 0.5F, cy) : Argb{};
        auto colour = [&](int x) {
            return same_along_rows ? row_colour : paint.At(static_cast<float>(x) + 0.5F, cy);
        };
        for (int x = left; x < right;) {
            const float d = shape(static_cast<float>(x) + 0.5F, cy);
            if (d >= detail::kHalfDiagonal) {
                x += detail::RunLength(d - detail::kHalfDiagonal, right - x);
            } else if (d <= -detail::kHalfDiagonal) {
                const int end = x + detail::RunLength(-d - detail::kHalfDiagonal, right - x);
                if (same_along_rows && AlphaOf(row_colour) == 0xFF) {
                    std::fill(row + x, row + end, row_colour);
                    x = end;
                }
                for (; x < end; ++x) row[x] = memo.Over(row[x], colour(x), 1.0F);
            } else {
                const float cov = CoverageFrom(shape, x, y, d);
                if (cov > 0.0F) {
                    row[x] = Over(row[x], colour(x), cov);
                }
                ++x;
            }
        }
    }
}

// Soft fill fading over `blur` pixels around the edge: shadows and glows.
template <typename Shape>
void FillSoft(PixelBuffer& buffer, Box box, const Shape& shape, Argb c, float blur) {
    blur = std::max(blur, 0.5F);
    const float half = blur * 0.5F;
    const int left = std::max(box.left, 0);
    const int right = std::min(box.right, buffer.width);
    detail::BlendMemo memo;
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, buffer.height); ++y) {
        const float cy = static_cast<float>(y) + 0.5F;
        Argb* row = buffer.pixels.data() + static_cast<std::size_t>(y) * buffer.width;
        for (int x = left; x < right;) {
            const float d = shape(static_cast<float>(x) + 0.5F, cy);
            if (d >= half + detail::kRunMargin) {
                // Nothing reaches this far out.
                x += detail::RunLength(d - half, right - x);
            } else if (d <= -half - detail::kRunMargin) {
                const int end = x + detail::RunLength(-d - half, right - x);
                for (; x < end; ++x) row[x] = memo.Over(row[x], c, 1.0F);
            } else {
                // Smoothstep from full strength inside the edge to nothing
                // `blur` pixels outside it.
                float t = std::clamp(1.0F - (d + half) / blur, 0.0F, 1.0F);
                float cov = t * t * (3.0F - 2.0F * t);
                if (cov > 0.0F) {
                    row[x] = memo.Over(row[x], c, cov);
                }
                ++x;
            }
        }
    }
}

// Copy of a w x h region of src at (x, y).
PixelBuffer Crop(const PixelBuffer& src, int x, int y, int w, int h);
// Draws src over dst with its top-left corner at (x, y).
void Draw(PixelBuffer& dst, const PixelBuffer& src, int x, int y);
// src at width x height, each pixel the area-weighted average of the source
// pixels it covers (alpha-weighted colours): a box filter, which shows how a
// picture drawn at a large scale looks at a smaller one.
PixelBuffer Resample(const PixelBuffer& src, int width, int height);

}  // namespace vellumar::artwork
