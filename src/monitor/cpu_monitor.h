#pragma once
// CpuMonitor: the self-running graph of the system levels. Once per update
// interval it takes a sample through the level sampler, appends it to a
// history of one sample per pixel column, repaints its graph and raises
// Update with the new sample. It shows up to five series (CPU usage, memory
// load, page-file use, virtual-memory use, free disk space) as lines, points
// or bars over a grid that scrolls with the data.
//
// The model (this file) keeps the properties with their defaults and saved
// keys, the history and the update cycle; the series' properties come from
// one table (monitor/graph_series.h). The GraphPainter (monitor/graph_painter.h)
// paints the whole graph from them through a DrawingSurface that the
// CpuMonitorHost lends: the off-screen picture of the window
// (monitor/win32/cpu_monitor_window.h) or a software raster in tests and
// benchmarks, which paint the same pixels.
//
// Lifecycle: construct with a host, a timer service and the process's
// sampler; then either InitProperties (a new control, which never samples)
// or ReadProperties (a saved one, which starts monitoring: the timer runs and
// the history is sized to the control's width). The destructor stops the
// sampler's CPU counter.
//
// Display scale: the history, the grid and the update cycle count columns of
// the standard scale (one sample per 96-dpi pixel), whatever the window's
// DPI, so the graph shows the same span of time at every scale. Painting maps
// a column to its device pixels: at 2x each sample takes two pixel columns,
// grid lines, the frame, the lines and the points are two pixels thick, and
// the levels are placed on the full device height. At 96 dpi every pixel is
// painted exactly as one column per pixel. When the window's DPI changes,
// the history keeps its samples, the newest staying in the right-most column.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/controls.h"
#include "controls/drawing_surface.h"
#include "controls/geometry.h"
#include "controls/property_bag.h"
#include "monitor/graph_painter.h"
#include "monitor/graph_series.h"
#include "monitor/level_sampler.h"
#include "platform/timer.h"

namespace vellumar {

inline constexpr std::string_view kCpuMonitorClassName = "Vellumar.CpuMonitor";

// The user's separators for numbers shown as text.
struct NumberSeparators {
    std::string thousands = ",";
    std::string decimal = ".";
};

// What the model needs from the window that shows it.
class CpuMonitorHost {
  public:
    virtual ~CpuMonitorHost() = default;
    // The persistent picture, sized to the inner area (ScaleSize).
    virtual DrawingSurface& Surface() = 0;
    // Puts the picture on the screen in one step.
    virtual void Refresh() = 0;
    // Whether the picture can be seen now; while it cannot, the graph keeps
    // sampling and draws the picture when it is next needed.
    [[nodiscard]] virtual bool Showing() const { return true; }
    // The inner area in pixels: the control less its border.
    [[nodiscard]] virtual SizePx ScaleSize() const = 0;
    // The control's outer width in twips.
    [[nodiscard]] virtual int WidthTwips() const = 0;
    // Dots per inch the surface is shown at (96 at 100 %).
    [[nodiscard]] virtual int Dpi() const { return kStandardDpi; }
    // 0 flat, 1 3-D.
    virtual void SetAppearance(std::int16_t appearance) = 0;
    [[nodiscard]] virtual std::int16_t Appearance() const = 0;
    // 0 none, 1 fixed single.
    virtual void SetBorderStyle(std::int16_t border_style) = 0;
    [[nodiscard]] virtual std::int16_t BorderStyle() const = 0;
    virtual void SetSurfaceEnabled(bool enabled) = 0;
    [[nodiscard]] virtual bool SurfaceEnabled() const = 0;
    [[nodiscard]] virtual std::uintptr_t WindowHandle() const = 0;
    [[nodiscard]] virtual std::uintptr_t DeviceContext() const = 0;
    [[nodiscard]] virtual NumberSeparators Separators() const = 0;
    // A saved property changed and the container should save the control again.
    virtual void PropertyChanged(std::string_view /*name*/) {}
};

// The values that Update and GetCurrentSystemLevels hand out: the two loads
// as whole numbers (rounded, halves to even), the rest as the record has them.
struct LevelsReport {
    std::int32_t CPULoadPercent = 0;
    std::int32_t MemoryLoadPercent = 0;
    SystemLevels levels;
};

struct CpuMonitorEvents {
    std::function<void(const LevelsReport&)> Update;
    std::function<void()> DblClick;
};

// Every series shown, in its default colour.
constexpr std::array<SeriesLook, kGraphSeries.size()> DefaultSeriesLooks() {
    std::array<SeriesLook, kGraphSeries.size()> looks{};
    for (const SeriesTraits& traits : kGraphSeries)
        looks[SeriesIndex(traits.series)] = {true, traits.default_color};
    return looks;
}

class CpuMonitor {
  public:
    static constexpr ColorRef kDefaultGridColor = 0x008000;
    static constexpr std::int32_t kDefaultUpdateIntervalMs = 1000;

    CpuMonitor(CpuMonitorHost& host, TimerService& timers, ModuleCpuMonitorSupport& sampler,
               ControlMode mode = ControlMode::kRunTime);
    ~CpuMonitor();
    CpuMonitor(const CpuMonitor&) = delete;
    CpuMonitor& operator=(const CpuMonitor&) = delete;

    CpuMonitorEvents& Events() { return events_; }

    // ---- Properties -----------------------------------------------------
    [[nodiscard]] ColorRef BackColor() const { return back_color_; }
    void SetBackColor(ColorRef color);
    [[nodiscard]] std::int16_t Appearance() const { return host_.Appearance(); }
    void SetAppearance(std::int16_t appearance);
    [[nodiscard]] std::int16_t BorderStyle() const { return host_.BorderStyle(); }
    void SetBorderStyle(std::int16_t border_style);
    // The persistent picture's device context, with the picture up to date.
    [[nodiscard]] std::uintptr_t hdc() {
        UpdatePicture();
        return host_.DeviceContext();
    }
    [[nodiscard]] std::uintptr_t hWnd() const { return host_.WindowHandle(); }
    // Each series is shown or hidden, and drawn in its colour.
    [[nodiscard]] bool Displayed(Series series) const {
        return series_[SeriesIndex(series)].displayed;
    }
    void SetDisplayed(Series series, bool value);
    [[nodiscard]] ColorRef SeriesColor(Series series) const {
        return series_[SeriesIndex(series)].color;
    }
    void SetSeriesColor(Series series, ColorRef color);
    [[nodiscard]] bool CPUMonitorDisplayed() const { return Displayed(Series::Cpu); }
    void SetCPUMonitorDisplayed(bool value) { SetDisplayed(Series::Cpu, value); }
    [[nodiscard]] bool PageFileDisplayed() const { return Displayed(Series::PageFile); }
    void SetPageFileDisplayed(bool value) { SetDisplayed(Series::PageFile, value); }
    [[nodiscard]] bool VirtualMemoryDisplayed() const { return Displayed(Series::VirtualMemory); }
    void SetVirtualMemoryDisplayed(bool value) { SetDisplayed(Series::VirtualMemory, value); }
    [[nodiscard]] bool MemoryLoadDisplayed() const { return Displayed(Series::MemoryLoad); }
    void SetMemoryLoadDisplayed(bool value) { SetDisplayed(Series::MemoryLoad, value); }
    [[nodiscard]] bool HDMonitorDisplayed() const { return Displayed(Series::HD); }
    void SetHDMonitorDisplayed(bool value) { SetDisplayed(Series::HD, value); }
    [[nodiscard]] ColorRef CPUMonitorColor() const { return SeriesColor(Series::Cpu); }
    void SetCPUMonitorColor(ColorRef color) { SetSeriesColor(Series::Cpu, color); }
    [[nodiscard]] ColorRef MemoryLoadColor() const { return SeriesColor(Series::MemoryLoad); }
    void SetMemoryLoadColor(ColorRef color) { SetSeriesColor(Series::MemoryLoad, color); }
    [[nodiscard]] ColorRef PageFileColor() const { return SeriesColor(Series::PageFile); }
    void SetPageFileColor(ColorRef color) { SetSeriesColor(Series::PageFile, color); }
    [[nodiscard]] ColorRef VirtualMemoryColor() const { return SeriesColor(Series::VirtualMemory); }
    void SetVirtualMemoryColor(ColorRef color) { SetSeriesColor(Series::VirtualMemory, color); }
    [[nodiscard]] ColorRef HDMonitorColor() const { return SeriesColor(Series::HD); }
    void SetHDMonitorColor(ColorRef color) { SetSeriesColor(Series::HD, color); }
    [[nodiscard]] const std::string& HDDriveLetter() const { return hd_drive_letter_; }
    // An empty text changes nothing; a longer one becomes its first letter in
    // upper case and ":\"; one character is kept as it is.
    void SetHDDriveLetter(std::string_view text);
    [[nodiscard]] bool Enabled() const { return host_.SurfaceEnabled(); }
    void SetEnabled(bool enabled);
    [[nodiscard]] bool DisplayGrid() const { return display_grid_; }
    void SetDisplayGrid(bool value);
    [[nodiscard]] ColorRef DisplayGridColor() const { return grid_color_; }
    void SetDisplayGridColor(ColorRef color);
    [[nodiscard]] std::int32_t UpdateInterval() const { return update_interval_ms_; }
    void SetUpdateInterval(std::int32_t interval_ms);
    [[nodiscard]] bool ScrollGrid() const { return scroll_grid_; }
    void SetScrollGrid(bool value);
    [[nodiscard]] std::int32_t DiagramStyle() const { return diagram_style_; }
    void SetDiagramStyle(std::int32_t style);

    // ---- Methods --------------------------------------------------------
    // Shows the persistent picture again; does not repaint the graph.
    void Refresh() { host_.Refresh(); }
    // Rewinds the grid and repaints; always 0.
    std::int16_t Reset();
    [[nodiscard]] std::string FormatFilesize(double value) const;
    // Takes a sample into the history (one extra column) and hands it out.
    LevelsReport GetCurrentSystemLevels();

    // ---- Host notifications ----------------------------------------------
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;
    // The surface's size or its DPI changed.
    void OnResize();
    void OnDoubleClick();

    // ---- Painting ---------------------------------------------------------
    // Draws the picture and puts it on the screen.
    void Redraw();
    // Draws the picture if ticks went by while it could not be seen; the host
    // calls it before it shows or hands out the picture.
    void UpdatePicture();
    void DrawGrid();
    void DrawSeries(Series series);
    void DrawCpuSeries() { DrawSeries(Series::Cpu); }
    void DrawMemoryLoadSeries() { DrawSeries(Series::MemoryLoad); }
    void DrawPageFileSeries() { DrawSeries(Series::PageFile); }
    void DrawVirtualMemorySeries() { DrawSeries(Series::VirtualMemory); }
    void DrawHDSeries() { DrawSeries(Series::HD); }

    // ---- State ------------------------------------------------------------
    [[nodiscard]] const std::vector<SystemLevels>& LevelHistory() const { return history_; }
    [[nodiscard]] std::int32_t LastEmptyIndex() const { return last_empty_index_; }
    [[nodiscard]] std::int32_t GridOffset() const { return grid_offset_; }
    [[nodiscard]] bool IsNT() const { return is_nt_; }
    [[nodiscard]] const Timer& Timer1() const { return timer1_; }
    [[nodiscard]] double ScaleWidth() const { return host_.ScaleSize().width; }
    [[nodiscard]] double ScaleHeight() const { return host_.ScaleSize().height; }
    // The update cycle, as each tick of Timer1 runs it.
    void Timer1_Timer();

  private:
    void StartMonitoring();
    // Shifts the history, samples into its newest column and returns that
    // column (which may lie outside the history).
    std::int32_t TakeSample();
    // ScaleWidth in columns of the standard scale.
    [[nodiscard]] double ColumnsWide() const;
    // What the painter draws now.
    [[nodiscard]] GraphDrawInfo DrawInfo() const;
    void ReadSeriesKey(const PropertyBag& bag, SeriesKey key);
    void WriteSeriesKey(PropertyBag& bag, SeriesKey key) const;
    // Moves the samples so the newest one sits in column `newest`.
    void KeepNewestIn(std::int32_t newest);
    void SetFlag(bool& member, bool value, std::string_view name);
    void SetColor(ColorRef& member, ColorRef color, std::string_view name);
    void Changed(std::string_view name) { host_.PropertyChanged(name); }
    [[nodiscard]] bool InHistory(std::int32_t index) const {
        return index >= 0 && static_cast<std::size_t>(index) < history_.size();
    }
    [[nodiscard]] LevelsReport ReportOf(const SystemLevels& levels) const;
    // Draws the whole picture from the history, without showing it.
    void DrawPicture();

    CpuMonitorHost& host_;
    ModuleCpuMonitorSupport& sampler_;
    ControlMode mode_;
    CpuMonitorEvents events_;

    ColorRef back_color_ = 0;
    std::array<SeriesLook, kGraphSeries.size()> series_ = DefaultSeriesLooks();
    std::string hd_drive_letter_;
    bool display_grid_ = true;
    // Ticks went by while the picture could not be seen.
    bool picture_stale_ = false;
    ColorRef grid_color_ = kDefaultGridColor;
    std::int32_t update_interval_ms_ = kDefaultUpdateIntervalMs;
    bool scroll_grid_ = true;
    std::int32_t diagram_style_ = diagram_style::kLines;

    // Read from the saved properties, handed to the surface by StartMonitoring.
    std::int16_t saved_appearance_ = 1;
    std::int16_t saved_border_style_ = 1;
    bool saved_enabled_ = true;

    std::vector<SystemLevels> history_;
    GraphPainter painter_;
    std::int32_t last_empty_index_ = 0;
    std::int32_t grid_offset_ = 0;
    // The scale the columns were last laid out at, and the column that then
    // held the newest sample.
    int dpi_ = kStandardDpi;
    std::int32_t newest_column_ = 0;
    bool is_nt_ = false;
    Timer timer1_;
};

// The property browser's description of a property or method; empty for
// those that have none.
[[nodiscard]] std::string_view CpuMonitorDescription(std::string_view name);

// The place of a CpuMonitor on a form, with the properties the form stores
// for the instance; the window layer creates the control there.
class CpuMonitorPlace : public Control {
  public:
    CpuMonitorPlace(std::string name, TwipsRect bounds, PropertyBag stored)
        : Control(std::move(name), bounds), stored_(std::move(stored)) {}
    [[nodiscard]] const PropertyBag& Stored() const { return stored_; }

  private:
    PropertyBag stored_;
};

// What the State page stores for its graph CpuMonitorState: a flat control
// with a dark grey ground, a light orange grid, following drive C.
[[nodiscard]] PropertyBag CpuMonitorStateProperties();

}  // namespace vellumar
