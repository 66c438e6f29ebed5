#pragma once
// GDI helpers shared by the window code: bitmaps and icons from portable
// pixel buffers, blitting, and fonts for the portable TextStyle.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "controls/controls.h"
#include "controls/pixel_buffer.h"
#include "controls/run_length_picture.h"
#include "platform/win32/handles.h"

namespace vellumar::win32 {

// A top-down 32-bit DIB section holding the pixels.
UniqueBitmap BitmapFromPixels(const PixelBuffer& pixels);
// A top-down 24-bit DIB section: the pixels without their alpha, a quarter
// smaller, for pictures that are only ever copied opaquely.
UniqueBitmap OpaqueBitmapFromPixels(const PixelBuffer& pixels);
// An icon with the buffer's alpha channel as its transparency.
UniqueIcon IconFromPixels(const PixelBuffer& pixels);
// Copies (src_x, src_y, width, height) of a bitmap to (x, y) of a DC.
void BlitBitmap(HDC target, int x, int y, int width, int height, HBITMAP source, int src_x,
                int src_y);

COLORREF ToColorRef(ColorRef color);

// Paints parts of pictures kept as runs of colour. Rows are decoded a strip
// at a time into a small 32-bit buffer that the painter keeps between paints.
class RunLengthPainter {
  public:
    static constexpr std::size_t kStripBytes = 32 * 1024;

    // Copies `source` (picture pixels, cut to the picture) to (x, y) of a DC.
    void Paint(HDC target, int x, int y, const RunLengthPicture& picture, const RECT& source);

  private:
    std::vector<std::uint32_t> strip_;
};

// Fonts made on first use, at the cache's display scale, and kept for the
// life of the cache or until the scale changes.
class FontCache {
  public:
    explicit FontCache(int dpi = kStandardDpi) : dpi_(dpi) {}
    HFONT Get(const TextStyle& style);
    // A memory DC with the style's font selected, for measuring text. Each
    // font keeps its own: selecting a font into a display DC makes the
    // driver look up its smoothing settings (under Wine, a read of the X
    // resource files), which a label fitting its text every second would
    // otherwise pay each time.
    HDC MeasuringDc(const TextStyle& style);
    int Dpi() const { return dpi_; }

  private:
    struct Entry {
        TextStyle style;
        UniqueFont font;
        // Destroyed before the font it holds.
        UniqueMemoryDc measuring;
    };
    Entry& EntryFor(const TextStyle& style);

    int dpi_;
    std::vector<Entry> entries_;
};

}  // namespace vellumar::win32
