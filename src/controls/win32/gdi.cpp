#include "controls/win32/gdi.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/win32/text.h"

namespace vellumar::win32 {

UniqueBitmap BitmapFromPixels(const PixelBuffer& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;  // top-down, like PixelBuffer
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits) {
        std::memcpy(bits, pixels.pixels.data(), pixels.pixels.size() * sizeof(Argb));
    }
    return bitmap;
}

UniqueBitmap OpaqueBitmapFromPixels(const PixelBuffer& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return bitmap;
    // Rows of a DIB start on 4-byte boundaries.
    const std::size_t stride = (static_cast<std::size_t>(pixels.width) * 3 + 3) & ~std::size_t{3};
    auto* row = static_cast<BYTE*>(bits);
    for (int y = 0; y < pixels.height; ++y, row += stride) {
        BYTE* out = row;
        for (int x = 0; x < pixels.width; ++x) {
            const Argb c = pixels.At(x, y);
            *out++ = BlueOf(c);
            *out++ = GreenOf(c);
            *out++ = RedOf(c);
        }
    }
    return bitmap;
}

UniqueIcon IconFromPixels(const PixelBuffer& pixels) {
    UniqueBitmap color = BitmapFromPixels(pixels);
    // With a 32-bit colour bitmap that has alpha, the mask is only consulted
    // by old consumers; an all-zero mask keeps them drawing the colours.
    const std::vector<BYTE> mask_bits(
        static_cast<std::size_t>(((pixels.width + 15) / 16) * 2 * pixels.height), 0);
    UniqueBitmap mask(::CreateBitmap(pixels.width, pixels.height, 1, 1, mask_bits.data()));
    ICONINFO icon_info{};
    icon_info.fIcon = TRUE;
    icon_info.hbmColor = color.Get();
    icon_info.hbmMask = mask.Get();
    return UniqueIcon(::CreateIconIndirect(&icon_info));
}

void BlitBitmap(HDC target, int x, int y, int width, int height, HBITMAP source, int src_x,
                int src_y) {
    UniqueMemoryDc memory(::CreateCompatibleDC(target));
    ScopedSelect select(memory.Get(), source);
    ::BitBlt(target, x, y, width, height, memory.Get(), src_x, src_y, SRCCOPY);
}

void RunLengthPainter::Paint(HDC target, int x, int y, const RunLengthPicture& picture,
                             const RECT& source) {
    const int left = std::max<int>(source.left, 0);
    const int top = std::max<int>(source.top, 0);
    const int width = std::min<int>(source.right, picture.Width()) - left;
    const int height = std::min<int>(source.bottom, picture.Height()) - top;
    if (width <= 0 || height <= 0)
        return;
    x += left - source.left;
    y += top - source.top;
    // A strip of about kStripBytes is a few dozen GDI calls for a whole
    // window and stays in the cache.
    const int strip_rows =
        std::clamp(static_cast<int>(kStripBytes / sizeof(std::uint32_t)) / width, 1, height);
    const std::size_t strip_pixels =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(strip_rows);
    if (strip_.size() < strip_pixels)
        strip_.resize(strip_pixels);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    for (int row = 0; row < height; row += strip_rows) {
        const int rows = std::min(strip_rows, height - row);
        std::uint32_t* out = strip_.data();
        for (int r = 0; r < rows; ++r) {
            // The fourth byte stays zero, as a blit of a 24-bit bitmap leaves
            // it in a 32-bit one.
            (void)picture.ForEachRun(top + row + r, left, width, [&out](Argb colour, int length) {
                out = std::fill_n(out, length, BitsOf(colour) & 0x00FFFFFFU);
            });
        }
        // Each strip is a whole top-down DIB handed over in one call: with
        // the source at its origin and every scan line at once, the
        // start-scan arguments have no top-down quirk to mind.
        info.bmiHeader.biHeight = -rows;
        ::SetDIBitsToDevice(target, x, y + row, static_cast<DWORD>(width), static_cast<DWORD>(rows),
                            0, 0, 0, static_cast<UINT>(rows), strip_.data(), &info, DIB_RGB_COLORS);
    }
}

COLORREF ToColorRef(ColorRef color) {
    return static_cast<COLORREF>(color);
}

HFONT FontCache::Get(const TextStyle& style) {
    return EntryFor(style).font.Get();
}

HDC FontCache::MeasuringDc(const TextStyle& style) {
    Entry& entry = EntryFor(style);
    if (!entry.measuring) {
        entry.measuring.Reset(::CreateCompatibleDC(nullptr));
        if (entry.measuring)
            ::SelectObject(entry.measuring.Get(), entry.font.Get());
    }
    return entry.measuring.Get();
}

FontCache::Entry& FontCache::EntryFor(const TextStyle& style) {
    for (Entry& entry : entries_) {
        if (entry.style == style)
            return entry;
    }
    LOGFONTW font{};
    const auto pixels = static_cast<LONG>(std::lround(style.points * dpi_ / 72.0));
    // SimSun's cell is exactly its em square, so asking for the cell height
    // gives SimSun its usual size while a substitute with a taller cell
    // (where SimSun is missing) keeps the same line spacing and fits the
    // labels laid out for SimSun. Other faces ask for the character height.
    const bool cell_equals_em = style.face == "SimSun";
    font.lfHeight = cell_equals_em ? pixels : -pixels;
    font.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = style.underline ? TRUE : FALSE;
    font.lfCharSet = style.face == "SimSun" ? GB2312_CHARSET : DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring face = Widen(style.face);
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    entries_.push_back(Entry{style, UniqueFont(::CreateFontIndirectW(&font)), UniqueMemoryDc()});
    return entries_.back();
}

}  // namespace vellumar::win32
