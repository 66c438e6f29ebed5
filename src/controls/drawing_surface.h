#pragma once
// The few drawing operations the Command button's painter needs, as the
// platform's device context offers them. Two implementations exist: the GDI
// surface of the button window (controls/win32/gdi_surface.h) and the
// software raster (controls/software_raster.h) that native tests and the
// benchmarks draw on. Coordinates are pixels; rectangles exclude their right
// and bottom edges, lines their end point, exactly as GDI has them.

#include <string_view>

#include "controls/pixel_buffer.h"

namespace vellumar {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct PolylinePoint {
    int x = 0;
    int y = 0;
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

// Text layout flags, with the platform's DT_* values so the GDI surface can
// pass them through unchanged.
namespace text_format {
inline constexpr unsigned kCenter = 0x01;
inline constexpr unsigned kVCenter = 0x04;
inline constexpr unsigned kWordBreak = 0x10;
inline constexpr unsigned kSingleLine = 0x20;
inline constexpr unsigned kExpandTabs = 0x40;
}  // namespace text_format

class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    // Colours are 0x00BBGGRR; the high byte is ignored.
    virtual void FillRect(const Rect& rect, ColorRef color) = 0;
    // The one-pixel border of `rect`; nothing for an empty rectangle.
    virtual void FrameRect(const Rect& rect, ColorRef color) = 0;
    // A solid one-pixel line covering its start point but not its end point.
    virtual void DrawLine(int x1, int y1, int x2, int y2, ColorRef color) = 0;
    // Lines through `count` points, each from one point up to (not
    // including) the next: the same pixels as DrawLine segment by segment,
    // which is what surfaces without a faster way do.
    virtual void DrawPolyline(const PolylinePoint* points, int count, ColorRef color) {
        for (int i = 0; i + 1 < count; ++i)
            DrawLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, color);
    }
    virtual void SetPixel(int x, int y, ColorRef color) = 0;
    // The platform's dotted focus rectangle; drawing it twice removes it.
    virtual void DrawFocusRect(const Rect& rect) = 0;

    virtual void SetTextColor(ColorRef color) = 0;
    // Size of UTF-8 `text` on one line in the surface's font.
    virtual TextExtent MeasureText(std::string_view text) = 0;
    // Draws UTF-8 `text` in the text colour with text_format flags; an "&"
    // underlines the next character.
    virtual void DrawText(std::string_view text, const Rect& rect, unsigned format) = 0;
};

}  // namespace vellumar
