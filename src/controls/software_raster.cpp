#include "controls/software_raster.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/utf8.h"

namespace vellumar {

SoftwareRaster::SoftwareRaster(PixelBuffer& pixels, MeasureFunction measure)
    : pixels_(pixels), measure_(std::move(measure)) {}

void SoftwareRaster::FillRect(const Rect& rect, ColorRef color) {
    if (rect.IsEmpty())
        return;
    const Argb argb = ArgbFromColorRef(color);
    const int left = std::max(rect.left, 0);
    const int right = std::min(rect.right, pixels_.width);
    const int top = std::max(rect.top, 0);
    const int bottom = std::min(rect.bottom, pixels_.height);
    if (left >= right)
        return;
    for (int y = top; y < bottom; ++y) {
        Argb* row = &pixels_.At(left, y);
        std::fill(row, row + (right - left), argb);
    }
}

void SoftwareRaster::FrameRect(const Rect& rect, ColorRef color) {
    if (rect.IsEmpty())
        return;
    FillRect({rect.left, rect.top, rect.right, rect.top + 1}, color);
    FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
    FillRect({rect.left, rect.top, rect.left + 1, rect.bottom}, color);
    FillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

void SoftwareRaster::DrawLine(int x1, int y1, int x2, int y2, ColorRef color) {
    if (y1 == y2) {
        // Horizontal: start included, end excluded, in either direction.
        if (x1 == x2)
            return;
        if (x1 < x2) {
            FillRect({x1, y1, x2, y1 + 1}, color);
        } else {
            FillRect({x2 + 1, y1, x1 + 1, y1 + 1}, color);
        }
        return;
    }
    if (x1 == x2) {
        if (y1 < y2) {
            FillRect({x1, y1, x1 + 1, y2}, color);
        } else {
            FillRect({x1, y2 + 1, x1 + 1, y1 + 1}, color);
        }
        return;
    }
    // Slanted lines: Bresenham without the end point, breaking ties the way
    // GDI's DIB engine does: in four of the eight directions an error of
    // exactly zero already takes the minor step (a bias of 1), so a line and
    // its reverse may differ, but each matches GDI pixel for pixel.
    const Argb argb = ArgbFromColorRef(color);
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    const int adx = std::abs(dx);
    const int ady = std::abs(dy);
    const int x_inc = dx > 0 ? 1 : -1;
    const int y_inc = dy > 0 ? 1 : -1;
    const bool x_major = adx > ady;
    // The biased directions: octants 3, 5, 6 and 8, numbered from the
    // positive x axis towards positive y (downwards on the screen).
    const bool biased = dy > 0 ? (dx < 0 && -dx <= dy) : (dx < 0 || dx > -dy);
    const int bias = biased ? 1 : 0;
    const int major = x_major ? adx : ady;
    const int minor = x_major ? ady : adx;
    int err = 2 * minor - major;
    int x = x1;
    int y = y1;
    for (int step = 0; step < major; ++step) {
        pixels_.Set(x, y, argb);
        if (err + bias > 0) {
            (x_major ? y : x) += x_major ? y_inc : x_inc;
            err += 2 * minor - 2 * major;
        } else {
            err += 2 * minor;
        }
        (x_major ? x : y) += x_major ? x_inc : y_inc;
    }
}

void SoftwareRaster::SetPixel(int x, int y, ColorRef color) {
    pixels_.Set(x, y, ArgbFromColorRef(color));
}

void SoftwareRaster::Invert(int x, int y) {
    if (pixels_.Contains(x, y))
        pixels_.At(x, y) = ArgbFromBits(~BitsOf(pixels_.At(x, y)));
}

// The platform draws the focus rectangle as a closed outline of four lines
// with an alternating (one on, one off) inverting pen: from the top right
// corner leftward, down the left side, along the bottom and up the right side,
// each line without its end point and the on/off phase running on across the
// corners. A pixel the outline passes twice (in a one-pixel-wide or -high
// rectangle) is inverted twice and so left unchanged.
void SoftwareRaster::DrawFocusRect(const Rect& rect) {
    if (rect.IsEmpty())
        return;
    const int l = rect.left;
    const int t = rect.top;
    const int r = rect.right - 1;
    const int b = rect.bottom - 1;
    const std::pair<int, int> corners[5] = {{r, t}, {l, t}, {l, b}, {r, b}, {r, t}};
    int phase = 0;
    for (int i = 0; i < 4; ++i) {
        auto [x, y] = corners[i];
        const auto [ex, ey] = corners[i + 1];
        const int sx = (ex > x) - (ex < x);
        const int sy = (ey > y) - (ey < y);
        while (x != ex || y != ey) {
            if (phase % 2 == 0)
                Invert(x, y);
            ++phase;
            x += sx;
            y += sy;
        }
    }
}

TextExtent SoftwareRaster::MeasureText(std::string_view text) {
    if (measure_)
        return measure_(text);
    return {static_cast<int>(Utf8CharCount(text)) * kCharWidthPx, kLineHeightPx};
}

void SoftwareRaster::DrawText(std::string_view text, const Rect& rect, unsigned format) {
    text_runs_.push_back({std::string(text), rect, format, text_color_});
}

}  // namespace vellumar
