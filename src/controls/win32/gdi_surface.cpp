#include "controls/win32/gdi_surface.h"

#include <algorithm>
#include <cmath>

#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

COLORREF Gdi(ColorRef color) {
    return static_cast<COLORREF>(color & 0xFFFFFFu);
}

RECT ToRect(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

// The stock font is made for the session's scale.
int ScreenDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

}  // namespace

UniqueFont CreateFontFor(const FontSpec& font, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(font.size_pt * dpi / 72.0));
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = Widen(font.name);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return UniqueFont(::CreateFontIndirectW(&lf));
}

FontSpec FontSpecOf(HFONT font, int dpi) {
    LOGFONTW lf{};
    if (font == nullptr || ::GetObjectW(font, sizeof(lf), &lf) == 0) {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        dpi = ScreenDpi();
    }
    FontSpec result;
    result.name = Narrow(lf.lfFaceName);
    // Heights are pixels: negative for the character height, positive for the
    // cell height (of which the character height is roughly seven eighths).
    const double pixels = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight * 7.0 / 8.0;
    result.size_pt = std::round(pixels * 72.0 / (dpi > 0 ? dpi : 96) * 4.0) / 4.0;
    result.bold = lf.lfWeight >= FW_BOLD;
    result.italic = lf.lfItalic != 0;
    return result;
}

GdiSurface::GdiSurface() : dc_(::CreateCompatibleDC(nullptr)) {
    if (!dc_)
        return;
    ::SetBkMode(dc_.Get(), TRANSPARENT);
    pen_selection_.emplace(dc_.Get(), ::GetStockObject(DC_PEN));
    brush_selection_.emplace(dc_.Get(), ::GetStockObject(DC_BRUSH));
}

GdiSurface::~GdiSurface() = default;

bool GdiSurface::Resize(int width, int height) {
    bitmap_selection_.reset();
    bitmap_.Reset();
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
    if (!dc_ || width <= 0 || height <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(::CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || bits == nullptr) {
        bitmap_.Reset();
        return false;
    }
    bitmap_selection_.emplace(dc_.Get(), bitmap_.Get());
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void GdiSurface::SetFont(const FontSpec& font, int dpi) {
    UniqueFont created = CreateFontFor(font, dpi);
    if (!created || !dc_)
        return;
    font_selection_.reset();
    font_ = std::move(created);
    font_selection_.emplace(dc_.Get(), font_.Get());
}

// The DC pen and brush colours are set only when they change, and a line
// that starts where the previous one ended needs no move: a graph of a few
// thousand segments makes one GDI call per segment.
void GdiSurface::UseBrushColor(ColorRef color) {
    if (brush_color_ != Gdi(color)) {
        brush_color_ = Gdi(color);
        ::SetDCBrushColor(dc_.Get(), *brush_color_);
    }
}

void GdiSurface::FillRect(const Rect& rect, ColorRef color) {
    const RECT r = ToRect(rect);
    UseBrushColor(color);
    ::FillRect(dc_.Get(), &r, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void GdiSurface::FrameRect(const Rect& rect, ColorRef color) {
    const RECT r = ToRect(rect);
    UseBrushColor(color);
    ::FrameRect(dc_.Get(), &r, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void GdiSurface::DrawLine(int x1, int y1, int x2, int y2, ColorRef color) {
    // A level line is the rectangle a one-pixel solid pen covers: from the
    // start point up to the end point, which is left out.
    if (y1 == y2 || x1 == x2) {
        if (x1 == x2 && y1 == y2)
            return;
        Rect r = y1 == y2 ? Rect{std::min(x1, x2), y1, std::max(x1, x2), y1 + 1}
                          : Rect{x1, std::min(y1, y2), x1 + 1, std::max(y1, y2)};
        if (x2 < x1) {
            ++r.left;
            ++r.right;
        } else if (y2 < y1) {
            ++r.top;
            ++r.bottom;
        }
        // PatBlt with the selected DC brush: FillRect without its brush swap.
        UseBrushColor(color);
        ::PatBlt(dc_.Get(), r.left, r.top, r.Width(), r.Height(), PATCOPY);
        return;
    }
    if (pen_color_ != Gdi(color)) {
        pen_color_ = Gdi(color);
        ::SetDCPenColor(dc_.Get(), *pen_color_);
    }
    if (!pen_at_ || pen_at_->x != x1 || pen_at_->y != y1)
        ::MoveToEx(dc_.Get(), x1, y1, nullptr);
    ::LineTo(dc_.Get(), x2, y2);
    pen_at_ = POINT{x2, y2};
}

void GdiSurface::DrawPolyline(const PolylinePoint* points, int count, ColorRef color) {
    static_assert(sizeof(PolylinePoint) == sizeof(POINT));
    if (count < 2)
        return;
    if (pen_color_ != Gdi(color)) {
        pen_color_ = Gdi(color);
        ::SetDCPenColor(dc_.Get(), *pen_color_);
    }
    ::Polyline(dc_.Get(), reinterpret_cast<const POINT*>(points), count);
}

void GdiSurface::SetPixel(int x, int y, ColorRef color) {
    ::SetPixelV(dc_.Get(), x, y, Gdi(color));
}

void GdiSurface::DrawFocusRect(const Rect& rect) {
    const RECT r = ToRect(rect);
    ::DrawFocusRect(dc_.Get(), &r);
}

void GdiSurface::SetTextColor(ColorRef color) {
    ::SetTextColor(dc_.Get(), Gdi(color));
}

const std::wstring& GdiSurface::Wide(std::string_view text) {
    // The caption is the same paint after paint; convert it once.
    if (text != last_text_) {
        last_text_ = std::string(text);
        last_wide_ = Widen(text);
    }
    return last_wide_;
}

TextExtent GdiSurface::MeasureText(std::string_view text) {
    const std::wstring& wide = Wide(text);
    SIZE size{};
    if (!::GetTextExtentPoint32W(dc_.Get(), wide.c_str(), static_cast<int>(wide.size()), &size)) {
        return {};
    }
    if (wide.empty()) {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc_.Get(), &metrics);
        size.cy = metrics.tmHeight;
    }
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

void GdiSurface::DrawText(std::string_view text, const Rect& rect, unsigned format) {
    const std::wstring& wide = Wide(text);
    RECT r = ToRect(rect);
    ::DrawTextW(dc_.Get(), wide.c_str(), static_cast<int>(wide.size()), &r, format);
}

}  // namespace vellumar::win32
