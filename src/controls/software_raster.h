#pragma once
// A DrawingSurface over a PixelBuffer: the Command painter's primitives in
// plain memory, pixel for pixel as GDI draws them into a 32-bit DIB, so native
// tests and benchmarks see the same faces as the button window. Text is the
// exception: it is measured with a simple fixed-pitch model (or a measure
// function the caller supplies) and recorded rather than rasterised.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/drawing_surface.h"
#include "controls/pixel_buffer.h"

namespace vellumar {

struct TextRun {
    std::string text;
    Rect rect;
    unsigned format = 0;
    ColorRef color = 0;
};

class SoftwareRaster final : public DrawingSurface {
  public:
    using MeasureFunction = std::function<TextExtent(std::string_view)>;

    // Fixed-pitch text model used when no measure function is given.
    static constexpr int kCharWidthPx = 6;
    static constexpr int kLineHeightPx = 12;

    explicit SoftwareRaster(PixelBuffer& pixels, MeasureFunction measure = {});

    void FillRect(const Rect& rect, ColorRef color) override;
    void FrameRect(const Rect& rect, ColorRef color) override;
    void DrawLine(int x1, int y1, int x2, int y2, ColorRef color) override;
    void SetPixel(int x, int y, ColorRef color) override;
    void DrawFocusRect(const Rect& rect) override;
    void SetTextColor(ColorRef color) override { text_color_ = color; }
    TextExtent MeasureText(std::string_view text) override;
    void DrawText(std::string_view text, const Rect& rect, unsigned format) override;

    ColorRef TextColor() const { return text_color_; }
    // Every DrawText since construction or the last ClearTextRuns, in order.
    const std::vector<TextRun>& TextRuns() const { return text_runs_; }
    void ClearTextRuns() { text_runs_.clear(); }

  private:
    void Invert(int x, int y);

    PixelBuffer& pixels_;
    MeasureFunction measure_;
    ColorRef text_color_ = 0;
    std::vector<TextRun> text_runs_;
};

}  // namespace vellumar
