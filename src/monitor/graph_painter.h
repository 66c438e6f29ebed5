#pragma once
// The graph's picture, painted from a description of what to show: the
// background, the grid that scrolls with the data, and each shown series as
// lines, points or bars over the history of samples (one per column of the
// standard scale, the newest on the right).
//
// At a larger scale each column takes its device pixels: grid lines, the
// frame, lines and points are as thick as one standard pixel, and levels are
// placed on the full device height.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "controls/drawing_surface.h"
#include "monitor/graph_series.h"
#include "monitor/level_sampler.h"
#include "platform/display_scale.h"

namespace vellumar {

namespace diagram_style {
inline constexpr std::int32_t kLines = 0;
inline constexpr std::int32_t kPoints = 1;
inline constexpr std::int32_t kBars = 2;
}  // namespace diagram_style

struct SeriesLook {
    bool displayed = true;
    ColorRef color = 0;
};

struct GraphDrawInfo {
    // The inner area in device pixels, and the scale it is shown at.
    double scale_width = 0;
    double scale_height = 0;
    int dpi = kStandardDpi;
    ColorRef back_color = 0;
    bool display_grid = true;
    ColorRef grid_color = 0;
    bool scroll_grid = true;
    // Columns the vertical grid lines have moved left by.
    std::int32_t grid_offset = 0;
    std::int32_t diagram_style = diagram_style::kLines;
    // Columns up to this one hold no sample yet.
    std::int32_t last_empty_index = 0;
    std::span<const SystemLevels> history;
    std::array<SeriesLook, kGraphSeries.size()> series{};
    // A control being designed shows its grid but no data.
    bool show_series = true;
};

class GraphPainter {
  public:
    // Paints the whole picture. Returns the grid offset to keep: 0 once the
    // grid has scrolled through a whole step, else the one given.
    std::int32_t Paint(const GraphDrawInfo& info, DrawingSurface& surface);
    // The parts of the picture, as Paint draws them.
    std::int32_t PaintGrid(const GraphDrawInfo& info, DrawingSurface& surface);
    void PaintSeries(const GraphDrawInfo& info, Series series, DrawingSurface& surface);

  private:
    void PaintLines(const GraphDrawInfo& info, float SystemLevels::*level, ColorRef color,
                    DrawingSurface& surface);
    void FlushPolyline(int stroke, ColorRef color, DrawingSurface& surface);

    std::vector<PolylinePoint> polyline_;  // kept to save allocations
    std::vector<PolylinePoint> moved_;
};

}  // namespace vellumar
