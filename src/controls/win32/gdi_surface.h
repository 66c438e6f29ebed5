#pragma once
// The Command painter's DrawingSurface on GDI: a memory DC holding a top-down
// 32-bit DIB section (the button's persistent picture, blitted to the window
// on WM_PAINT) and the control's font. Lines use the DC pen and boxes the DC
// brush with the colour of the moment, so a paint creates no GDI objects.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "controls/controls.h"
#include "controls/drawing_surface.h"
#include "controls/property_bag.h"
#include "platform/win32/handles.h"

namespace vellumar::win32 {

// A GDI font for a FontSpec at `dpi` dots per inch, and back.
UniqueFont CreateFontFor(const FontSpec& font, int dpi);
FontSpec FontSpecOf(HFONT font, int dpi);

class GdiSurface final : public DrawingSurface {
  public:
    GdiSurface();
    ~GdiSurface() override;
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    // A new, black picture of the size; false (and no picture) when GDI
    // cannot make one.
    bool Resize(int width, int height);
    // The font, made for the display scale the picture is drawn at.
    void SetFont(const FontSpec& font, int dpi = kStandardDpi);

    HDC Dc() const { return dc_.Get(); }
    HFONT Font() const { return font_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The picture's pixels, row after row, 0x00RRGGBB; null without one.
    const std::uint32_t* Bits() const { return bits_; }

    void FillRect(const Rect& rect, ColorRef color) override;
    void FrameRect(const Rect& rect, ColorRef color) override;
    void DrawLine(int x1, int y1, int x2, int y2, ColorRef color) override;
    void DrawPolyline(const PolylinePoint* points, int count, ColorRef color) override;
    void SetPixel(int x, int y, ColorRef color) override;
    void DrawFocusRect(const Rect& rect) override;
    void SetTextColor(ColorRef color) override;
    TextExtent MeasureText(std::string_view text) override;
    void DrawText(std::string_view text, const Rect& rect, unsigned format) override;

  private:
    const std::wstring& Wide(std::string_view text);
    void UseBrushColor(ColorRef color);

    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    UniqueFont font_;
    // Declared after what they select, so they are undone before it is deleted.
    std::optional<ScopedSelect> bitmap_selection_;
    std::optional<ScopedSelect> font_selection_;
    std::optional<ScopedSelect> pen_selection_;
    std::optional<ScopedSelect> brush_selection_;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::string last_text_;
    std::wstring last_wide_;
    // What the DC holds now, so unchanged state is not set again.
    std::optional<COLORREF> pen_color_;
    std::optional<COLORREF> brush_color_;
    std::optional<POINT> pen_at_;
};

}  // namespace vellumar::win32
