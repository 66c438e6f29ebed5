#include "controls/software_raster.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

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
    // Slanted lines: plain Bresenham without the end point. The button faces
    // draw none; GDI may place an odd pixel of such a line differently.
    const Argb argb = ArgbFromColorRef(color);
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        pixels_.Set(x, y, argb);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void SoftwareRaster::SetPixel(int x, int y, ColorRef color) {
    pixels_.Set(x, y, ArgbFromColorRef(color));
}

void SoftwareRaster::Invert(int x, int y) {
    if (pixels_.Contains(x, y))
        pixels_.At(x, y) ^= 0xFFFFFFFFu;
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
    int chars = 0;
    for (const char c : text) {
        // Count code points, not UTF-8 continuation bytes.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++chars;
    }
    return {chars * kCharWidthPx, kLineHeightPx};
}

void SoftwareRaster::DrawText(std::string_view text, const Rect& rect, unsigned format) {
    text_runs_.push_back({std::string(text), rect, format, text_color_});
}

}  // namespace vellumar
