#include "monitor/graph_painter.h"

#include <algorithm>
#include <cmath>

#include "controls/controls.h"
#include "platform/rounding.h"

namespace vellumar {

namespace {

// The area in columns and rows of the standard scale.
double ColumnsWide(const GraphDrawInfo& info) {
    return info.scale_width * kStandardDpi / info.dpi;
}
double RowsHigh(const GraphDrawInfo& info) {
    return info.scale_height * kStandardDpi / info.dpi;
}

// Lines, points and the frame are as thick as one pixel of the standard scale.
int StrokePixels(int dpi) {
    return std::max(1, ScalePixels(1, dpi));
}

bool InHistory(const GraphDrawInfo& info, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < info.history.size();
}

// The level's row on the device height. Far-off levels are held a little
// outside the surface, where they are clipped like any other, so no
// coordinate can overflow.
int RowOf(const GraphDrawInfo& info, float percent) {
    const double height = info.scale_height;
    return RoundHalfEven(std::clamp(height - percent / 100.0 * height, -1e6, 1e6));
}

}  // namespace

std::int32_t GraphPainter::Paint(const GraphDrawInfo& info, DrawingSurface& surface) {
    surface.FillRect({0, 0, RoundHalfEven(info.scale_width), RoundHalfEven(info.scale_height)},
                     info.back_color);
    std::int32_t grid_offset = info.grid_offset;
    if (info.display_grid)
        grid_offset = PaintGrid(info, surface);
    if (info.show_series) {
        for (const SeriesTraits& traits : kGraphSeries) {
            if (info.series[SeriesIndex(traits.series)].displayed)
                PaintSeries(info, traits.series, surface);
        }
    }
    return grid_offset;
}

std::int32_t GraphPainter::PaintGrid(const GraphDrawInfo& info, DrawingSurface& surface) {
    const double columns = ColumnsWide(info);
    const double rows = RowsHigh(info);
    const std::int32_t bottom = RoundHalfEven(info.scale_height);
    const std::int32_t right = RoundHalfEven(info.scale_width);
    const int stroke = StrokePixels(info.dpi);
    const ColorRef color = info.grid_color;
    // A step that rounds to 0 (a surface of a few pixels) draws no lines of
    // that direction instead of never ending.
    const std::int32_t x_limit = RoundHalfEven(columns - 1);
    const std::int32_t x_step = RoundHalfEven((columns - 1) / 11);
    if (x_step > 0) {
        for (std::int32_t x = info.scroll_grid ? info.grid_offset : 0; x <= x_limit; x += x_step) {
            const int left = ScalePixels(x, info.dpi);
            for (int d = 0; d < stroke; ++d) surface.DrawLine(left + d, 0, left + d, bottom, color);
        }
    }
    const std::int32_t y_limit = RoundHalfEven(rows - 1);
    const std::int32_t y_step = RoundHalfEven((rows - 1) / 6);
    if (y_step > 0) {
        for (std::int32_t y = 0; y <= y_limit; y += y_step) {
            const int top = ScalePixels(y, info.dpi);
            for (int d = 0; d < stroke; ++d) surface.DrawLine(0, top + d, right, top + d, color);
        }
    }
    // The frame grows inwards, so it stays on the surface at every scale.
    const int frame_right = RoundHalfEven(info.scale_width - 1) + 1;
    const int frame_bottom = RoundHalfEven(info.scale_height - 1) + 1;
    for (int d = 0; d < stroke; ++d)
        surface.FrameRect({d, d, frame_right - d, frame_bottom - d}, color);
    return info.grid_offset <= -std::floor(columns - 1.0 / 6.0) ? 0 : info.grid_offset;
}

void GraphPainter::PaintSeries(const GraphDrawInfo& info, Series series, DrawingSurface& surface) {
    const double columns = ColumnsWide(info);
    if (columns - 1 < info.last_empty_index)
        return;
    const SeriesTraits& traits = TraitsOf(series);
    const ColorRef color = info.series[SeriesIndex(series)].color;
    if (info.diagram_style == diagram_style::kLines) {
        PaintLines(info, traits.level, color, surface);
        return;
    }
    const int stroke = StrokePixels(info.dpi);
    const std::int32_t limit = RoundHalfEven(columns - 2);
    for (std::int32_t i = info.last_empty_index + 1; i <= limit; ++i) {
        if (!InHistory(info, i))
            continue;
        const int y = RowOf(info, info.history[static_cast<std::size_t>(i)].*traits.level);
        switch (info.diagram_style) {
            case diagram_style::kPoints: {
                const int x = ScalePixels(i + 1, info.dpi);
                for (int dy = 0; dy < stroke; ++dy) {
                    for (int dx = 0; dx < stroke; ++dx) surface.SetPixel(x + dx, y + dy, color);
                }
                break;
            }
            case diagram_style::kBars:
                // A bar fills its column's pixels, so neighbouring bars
                // still close up at any scale.
                for (int x = ScalePixels(i, info.dpi); x < ScalePixels(i + 1, info.dpi); ++x)
                    surface.DrawLine(x, y, x, RoundHalfEven(info.scale_height), color);
                break;
            default:
                return;
        }
    }
}

// Consecutive segments share their ends: one polyline per run of columns that
// lie in the history, drawn once per pixel of the stroke's square so a
// thicker line is equally thick in every direction.
void GraphPainter::PaintLines(const GraphDrawInfo& info, float SystemLevels::*level, ColorRef color,
                              DrawingSurface& surface) {
    const int stroke = StrokePixels(info.dpi);
    const std::int32_t limit = RoundHalfEven(ColumnsWide(info) - 2);
    polyline_.clear();
    for (std::int32_t i = info.last_empty_index + 1; i <= limit; ++i) {
        if (!InHistory(info, i) || !InHistory(info, i + 1)) {
            FlushPolyline(stroke, color, surface);
            continue;
        }
        const auto column = static_cast<std::size_t>(i);
        if (polyline_.empty())
            polyline_.push_back(
                {ScalePixels(i, info.dpi), RowOf(info, info.history[column].*level)});
        polyline_.push_back(
            {ScalePixels(i + 1, info.dpi), RowOf(info, info.history[column + 1].*level)});
    }
    FlushPolyline(stroke, color, surface);
}

void GraphPainter::FlushPolyline(int stroke, ColorRef color, DrawingSurface& surface) {
    const int count = static_cast<int>(polyline_.size());
    if (stroke == 1) {
        surface.DrawPolyline(polyline_.data(), count, color);
    } else {
        moved_.resize(polyline_.size());
        for (int dy = 0; dy < stroke; ++dy) {
            for (int dx = 0; dx < stroke; ++dx) {
                for (std::size_t k = 0; k < polyline_.size(); ++k)
                    moved_[k] = {polyline_[k].x + dx, polyline_[k].y + dy};
                surface.DrawPolyline(moved_.data(), count, color);
            }
        }
    }
    polyline_.clear();
}

}  // namespace vellumar
