#include "monitor/cpu_monitor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/rounding.h"
#include "platform/utf8.h"

namespace vellumar {

namespace {

std::int32_t Stored(ColorRef color) {
    return static_cast<std::int32_t>(color);
}
ColorRef Loaded(std::int32_t value) {
    return static_cast<ColorRef>(value);
}

// round(x), halves to even, as the surface's floating-point sizes are rounded.
std::int32_t Round(double value) {
    return RoundHalfEven(value);
}

// `value` with `decimals` places (rounded, halves to even), digits grouped
// in threes.
std::string FormatNumber(double value, int decimals, const NumberSeparators& separators) {
    const double scale = decimals == 0 ? 1.0 : std::pow(10.0, decimals);
    const double scaled = std::nearbyint(value * scale);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(scaled));
    std::string digits = buffer;
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    const std::size_t whole_length = digits.size() - static_cast<std::size_t>(decimals);
    std::string text = scaled < 0 ? "-" : "";
    for (std::size_t i = 0; i < whole_length; ++i) {
        if (i > 0 && (whole_length - i) % 3 == 0)
            text += separators.thousands;
        text += digits[i];
    }
    if (decimals > 0)
        text += separators.decimal + digits.substr(whole_length);
    return text;
}

}  // namespace

CpuMonitor::CpuMonitor(CpuMonitorHost& host, TimerService& timers, ModuleCpuMonitorSupport& sampler,
                       ControlMode mode)
    : host_(host),
      sampler_(sampler),
      mode_(mode),
      timer1_(timers, 0, true, [this] { Timer1_Timer(); }) {}

CpuMonitor::~CpuMonitor() {
    sampler_.StopCpuUsage(is_nt_);
}

// ---- Properties -------------------------------------------------------------

void CpuMonitor::SetFlag(bool& member, bool value, std::string_view name) {
    member = value;
    Redraw();
    Changed(name);
}

void CpuMonitor::SetColor(ColorRef& member, ColorRef color, std::string_view name) {
    member = color;
    Redraw();
    Changed(name);
}

void CpuMonitor::SetBackColor(ColorRef color) {
    SetColor(back_color_, color, "BackColor");
}

void CpuMonitor::SetAppearance(std::int16_t appearance) {
    host_.SetAppearance(appearance);
    Redraw();
    Changed("Appearance");
}

void CpuMonitor::SetBorderStyle(std::int16_t border_style) {
    host_.SetBorderStyle(border_style);
    Redraw();
    Changed("BorderStyle");
}

void CpuMonitor::SetEnabled(bool enabled) {
    host_.SetSurfaceEnabled(enabled);
    Redraw();
    Changed("Enabled");
}

void CpuMonitor::SetCPUMonitorDisplayed(bool value) {
    SetFlag(cpu_displayed_, value, "CPUMonitorDisplayed");
}
void CpuMonitor::SetPageFileDisplayed(bool value) {
    SetFlag(page_file_displayed_, value, "PageFileDisplayed");
}
void CpuMonitor::SetVirtualMemoryDisplayed(bool value) {
    SetFlag(virtual_memory_displayed_, value, "VirtualMemoryDisplayed");
}
void CpuMonitor::SetMemoryLoadDisplayed(bool value) {
    SetFlag(memory_displayed_, value, "MemoryLoadDisplayed");
}
void CpuMonitor::SetHDMonitorDisplayed(bool value) {
    SetFlag(hd_displayed_, value, "HDMonitorDisplayed");
}
void CpuMonitor::SetDisplayGrid(bool value) {
    SetFlag(display_grid_, value, "DisplayGrid");
}
void CpuMonitor::SetScrollGrid(bool value) {
    SetFlag(scroll_grid_, value, "ScrollGrid");
}
void CpuMonitor::SetCPUMonitorColor(ColorRef color) {
    SetColor(cpu_color_, color, "CPUMonitorColor");
}
void CpuMonitor::SetMemoryLoadColor(ColorRef color) {
    SetColor(memory_color_, color, "MemoryLoadColor");
}
void CpuMonitor::SetPageFileColor(ColorRef color) {
    SetColor(page_file_color_, color, "PageFileColor");
}
void CpuMonitor::SetVirtualMemoryColor(ColorRef color) {
    SetColor(virtual_memory_color_, color, "VirtualMemoryColor");
}
void CpuMonitor::SetHDMonitorColor(ColorRef color) {
    SetColor(hd_color_, color, "HDMonitorColor");
}
void CpuMonitor::SetDisplayGridColor(ColorRef color) {
    SetColor(grid_color_, color, "DisplayGridColor");
}

void CpuMonitor::SetDiagramStyle(std::int32_t style) {
    diagram_style_ = style;
    Redraw();
    Changed("DiagramStyle");
}

void CpuMonitor::SetUpdateInterval(std::int32_t interval_ms) {
    update_interval_ms_ = interval_ms;
    if (mode_ == ControlMode::kRunTime)
        timer1_.SetIntervalMs(interval_ms);
    Changed("UpdateInterval");
}

void CpuMonitor::SetHDDriveLetter(std::string_view text) {
    if (text.empty())
        return;
    const std::size_t first =
        DecodeUtf8At(text, 0).length;
    if (text.size() > first) {
        std::string root(text.substr(0, first));
        if (first == 1 && root[0] >= 'a' && root[0] <= 'z')
            root[0] = static_cast<char>(root[0] - 'a' + 'A');
        hd_drive_letter_ = root + ":\\";
    } else {
        hd_drive_letter_ = std::string(text);
    }
    Changed("HDDriveLetter");
}

// ---- Methods ------------------------------------------------------------------

std::int16_t CpuMonitor::Reset() {
    grid_offset_ = 0;
    Redraw();
    return 0;
}

std::string CpuMonitor::FormatFilesize(double value) const {
    constexpr double kKilo = 1024.0;
    constexpr double kMega = 1048576.0;
    constexpr double kGiga = 1073741824.0;
    const NumberSeparators separators = host_.Separators();
    if (value <= kKilo)
        return FormatNumber(value, 0, separators) + " B";
    if (value < kMega)
        return FormatNumber(value / kKilo, 0, separators) + " K";
    // Exactly one megabyte lies in neither range; it is shown as 1.00 MB.
    if (value < kGiga)
        return FormatNumber(value / kMega, 2, separators) + " MB";
    return FormatNumber(value / kGiga, 2, separators) + " GB";
}

LevelsReport CpuMonitor::ReportOf(const SystemLevels& levels) const {
    return {RoundHalfEven(levels.CPULoadPercent),
            RoundHalfEven(levels.MemoryLoadPercent), levels};
}

LevelsReport CpuMonitor::GetCurrentSystemLevels() {
    const std::int32_t newest = TakeSample();
    return InHistory(newest) ? ReportOf(history_[static_cast<std::size_t>(newest)])
                             : LevelsReport{};
}

// ---- Host notifications -----------------------------------------------------------

void CpuMonitor::InitProperties() {
    back_color_ = 0;
    cpu_displayed_ = page_file_displayed_ = virtual_memory_displayed_ = true;
    memory_displayed_ = hd_displayed_ = display_grid_ = scroll_grid_ = true;
    cpu_color_ = kDefaultCpuColor;
    memory_color_ = kDefaultMemoryColor;
    page_file_color_ = kDefaultPageFileColor;
    virtual_memory_color_ = kDefaultVirtualMemoryColor;
    hd_color_ = kDefaultHDColor;
    grid_color_ = kDefaultGridColor;
    update_interval_ms_ = kDefaultUpdateIntervalMs;
    diagram_style_ = diagram_style::kLines;
    hd_drive_letter_ = sampler_.GetWindowsDir().substr(0, 3);
    host_.SetAppearance(1);
    host_.SetBorderStyle(1);
    Redraw();
}

void CpuMonitor::ReadProperties(const PropertyBag& bag) {
    cpu_displayed_ = bag.ReadBool("CPUMonitorDisplayed", true);
    page_file_displayed_ = bag.ReadBool("PageFileDisplayed", true);
    virtual_memory_displayed_ = bag.ReadBool("VirtualMemoryDisplayed", true);
    cpu_color_ = Loaded(bag.ReadInt32("CPUMonitorColor", Stored(kDefaultCpuColor)));
    memory_displayed_ = bag.ReadBool("MemoryLoadDisplayed", true);
    memory_color_ = Loaded(bag.ReadInt32("MemoryColor", Stored(kDefaultMemoryColor)));
    page_file_color_ = Loaded(bag.ReadInt32("PageFileColor", Stored(kDefaultPageFileColor)));
    virtual_memory_color_ =
        Loaded(bag.ReadInt32("VirtualMemoryColor", Stored(kDefaultVirtualMemoryColor)));
    display_grid_ = bag.ReadBool("DisplayGrid", true);
    grid_color_ = Loaded(bag.ReadInt32("DisplayGridColor", Stored(kDefaultGridColor)));
    update_interval_ms_ = bag.ReadInt32("UpdateInterval", kDefaultUpdateIntervalMs);
    scroll_grid_ = bag.ReadBool("ScrollGrid", true);
    diagram_style_ = bag.ReadInt32("DiagramStyle", diagram_style::kLines);
    saved_appearance_ = bag.ReadInt16("Appearance", 1);
    saved_border_style_ = bag.ReadInt16("BorderStyle", 1);
    back_color_ = Loaded(bag.ReadInt32("BackColor", 0));
    saved_enabled_ = bag.ReadBool("Enabled", true);
    hd_displayed_ = bag.ReadBool("HDMonitorDisplayed", true);
    hd_color_ = Loaded(bag.ReadInt32("HDMonitorColor", Stored(kDefaultHDColor)));
    hd_drive_letter_ = bag.ReadText("HDDriveLetter", "");
    StartMonitoring();
}

void CpuMonitor::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty("BackColor", Stored(back_color_), 0);
    bag.WriteProperty("Appearance", std::int32_t{host_.Appearance()}, 1);
    bag.WriteProperty("BorderStyle", std::int32_t{host_.BorderStyle()}, 1);
    bag.WriteProperty("CPUMonitorDisplayed", cpu_displayed_, true);
    bag.WriteProperty("PageFileDisplayed", page_file_displayed_, true);
    bag.WriteProperty("VirtualMemoryDisplayed", virtual_memory_displayed_, true);
    bag.WriteProperty("CPUMonitorColor", Stored(cpu_color_), Stored(kDefaultCpuColor));
    bag.WriteProperty("MemoryLoadDisplayed", memory_displayed_, true);
    bag.WriteProperty("MemoryColor", Stored(memory_color_), Stored(kDefaultMemoryColor));
    bag.WriteProperty("PageFileColor", Stored(page_file_color_), Stored(kDefaultPageFileColor));
    bag.WriteProperty("VirtualMemoryColor", Stored(virtual_memory_color_),
                      Stored(kDefaultVirtualMemoryColor));
    bag.WriteProperty("Enabled", host_.SurfaceEnabled(), true);
    bag.WriteProperty("DisplayGrid", display_grid_, true);
    bag.WriteProperty("DisplayGridColor", Stored(grid_color_), Stored(kDefaultGridColor));
    bag.WriteProperty("UpdateInterval", update_interval_ms_, kDefaultUpdateIntervalMs);
    bag.WriteProperty("ScrollGrid", scroll_grid_, true);
    bag.WriteProperty("DiagramStyle", diagram_style_, diagram_style::kLines);
    bag.WriteProperty("HDMonitorDisplayed", hd_displayed_, true);
    bag.WriteProperty("HDMonitorColor", Stored(hd_color_), Stored(kDefaultHDColor));
    bag.WriteProperty("HDDriveLetter", hd_drive_letter_, std::string());
}

void CpuMonitor::OnDoubleClick() {
    if (events_.DblClick)
        events_.DblClick();
}

// ---- Monitoring ---------------------------------------------------------------------

void CpuMonitor::StartMonitoring() {
    if (mode_ == ControlMode::kRunTime)
        timer1_.SetIntervalMs(update_interval_ms_);
    const std::int32_t last_index = Round(host_.WidthTwips() / static_cast<double>(kTwipsPerPixel));
    history_.assign(static_cast<std::size_t>(std::max(last_index, 0)) + 1, SystemLevels{});
    is_nt_ = sampler_.IsWindowsNT();
    sampler_.InitCpuUsage(is_nt_);
    dpi_ = host_.Dpi();
    last_empty_index_ = newest_column_ = Round(ColumnsWide() - 1);
    host_.SetAppearance(saved_appearance_);
    host_.SetBorderStyle(saved_border_style_);
    host_.SetSurfaceEnabled(saved_enabled_);
    // The ground takes the loaded colour at the next paint.
}

std::int32_t CpuMonitor::TakeSample() {
    // Records move one place down in place, so index i stays column i.
    const std::int32_t newest = Round(ColumnsWide() - 1);
    newest_column_ = newest;
    for (std::int32_t i = 1; i <= newest; ++i) {
        if (InHistory(i))
            history_[static_cast<std::size_t>(i - 1)] = history_[static_cast<std::size_t>(i)];
    }
    if (last_empty_index_ >= 1)
        --last_empty_index_;
    if (InHistory(newest)) {
        SystemLevels& record = history_[static_cast<std::size_t>(newest)];
        sampler_.GetMemoryLevels(record);
        sampler_.GetDiskLevels(hd_drive_letter_, record);
        record.CPULoadPercent = sampler_.GetCpuUsage(is_nt_);
    }
    return newest;
}

void CpuMonitor::OnResize() {
    // A new scale rounds the inner area to a slightly different number of
    // columns (the border keeps its pixel width): the samples move with the
    // right edge. A resize at the same scale leaves the history in place.
    if (host_.Dpi() != dpi_) {
        dpi_ = host_.Dpi();
        if (!history_.empty())
            KeepNewestIn(Round(ColumnsWide() - 1));
    }
    Redraw();
}

void CpuMonitor::KeepNewestIn(std::int32_t newest) {
    const std::int32_t shift = newest - newest_column_;
    newest_column_ = newest;
    if (shift == 0)
        return;
    const auto count = static_cast<std::ptrdiff_t>(history_.size());
    const std::ptrdiff_t distance = std::min<std::ptrdiff_t>(std::abs(shift), count);
    if (shift > 0) {
        std::shift_right(history_.begin(), history_.end(), distance);
        std::fill(history_.begin(), history_.begin() + distance, SystemLevels{});
    } else {
        std::shift_left(history_.begin(), history_.end(), distance);
        std::fill(history_.end() - distance, history_.end(), SystemLevels{});
    }
    last_empty_index_ = std::max(0, last_empty_index_ + shift);
}

void CpuMonitor::Timer1_Timer() {
    if (!host_.SurfaceEnabled() || mode_ == ControlMode::kDesignTime)
        return;
    --grid_offset_;
    const std::int32_t newest = TakeSample();
    // A graph that cannot be seen (the window in the tray, another page
    // showing) only samples: the picture follows from the history and the
    // grid offset, so drawing it once when it shows again loses nothing.
    if (host_.Showing()) {
        Redraw();
    } else {
        picture_stale_ = true;
    }
    if (InHistory(newest) && events_.Update)
        events_.Update(ReportOf(history_[static_cast<std::size_t>(newest)]));
}

// ---- Painting -----------------------------------------------------------------------

void CpuMonitor::Redraw() {
    DrawPicture();
    host_.Refresh();
}

void CpuMonitor::UpdatePicture() {
    if (picture_stale_)
        DrawPicture();
}

void CpuMonitor::DrawPicture() {
    picture_stale_ = false;
    const SizePx size = host_.ScaleSize();
    host_.Surface().FillRect({0, 0, size.width, size.height}, back_color_);
    if (display_grid_)
        DrawGrid();
    if (mode_ == ControlMode::kRunTime) {
        if (cpu_displayed_)
            DrawCpuSeries();
        if (memory_displayed_)
            DrawMemoryLoadSeries();
        if (page_file_displayed_)
            DrawPageFileSeries();
        if (virtual_memory_displayed_)
            DrawVirtualMemorySeries();
        if (hd_displayed_)
            DrawHDSeries();
    }
}

double CpuMonitor::ColumnsWide() const {
    return ScaleWidth() * kStandardDpi / host_.Dpi();
}

double CpuMonitor::RowsHigh() const {
    return ScaleHeight() * kStandardDpi / host_.Dpi();
}

int CpuMonitor::DevicePixel(std::int32_t place) const {
    return ScalePixels(place, host_.Dpi());
}

namespace {

// Lines, points and the frame are as thick as one pixel of the standard scale.
int StrokePixels(int dpi) {
    return std::max(1, ScalePixels(1, dpi));
}

}  // namespace

void CpuMonitor::DrawGrid() {
    DrawingSurface& surface = host_.Surface();
    const double columns = ColumnsWide();
    const double rows = RowsHigh();
    const std::int32_t bottom = Round(ScaleHeight());
    const std::int32_t right = Round(ScaleWidth());
    const int stroke = StrokePixels(host_.Dpi());
    // A step that rounds to 0 (a surface of a few pixels) draws no lines of
    // that direction instead of never ending.
    const std::int32_t x_limit = Round(columns - 1);
    const std::int32_t x_step = Round((columns - 1) / 11);
    if (x_step > 0) {
        for (std::int32_t x = scroll_grid_ ? grid_offset_ : 0; x <= x_limit; x += x_step) {
            for (int d = 0; d < stroke; ++d)
                surface.DrawLine(DevicePixel(x) + d, 0, DevicePixel(x) + d, bottom, grid_color_);
        }
    }
    const std::int32_t y_limit = Round(rows - 1);
    const std::int32_t y_step = Round((rows - 1) / 6);
    if (y_step > 0) {
        for (std::int32_t y = 0; y <= y_limit; y += y_step) {
            for (int d = 0; d < stroke; ++d)
                surface.DrawLine(0, DevicePixel(y) + d, right, DevicePixel(y) + d, grid_color_);
        }
    }
    // The frame grows inwards, so it stays on the surface at every scale.
    const int frame_right = Round(ScaleWidth() - 1) + 1;
    const int frame_bottom = Round(ScaleHeight() - 1) + 1;
    for (int d = 0; d < stroke; ++d)
        surface.FrameRect({d, d, frame_right - d, frame_bottom - d}, grid_color_);
    if (grid_offset_ <= -std::floor(columns - 1.0 / 6.0))
        grid_offset_ = 0;
}

void CpuMonitor::DrawCpuSeries() {
    DrawSeries(&SystemLevels::CPULoadPercent, cpu_color_);
}
void CpuMonitor::DrawMemoryLoadSeries() {
    DrawSeries(&SystemLevels::MemoryLoadPercent, memory_color_);
}
void CpuMonitor::DrawPageFileSeries() {
    DrawSeries(&SystemLevels::PageFileAvailablePercent, page_file_color_);
}
void CpuMonitor::DrawVirtualMemorySeries() {
    DrawSeries(&SystemLevels::VirtualMemoryAvailablePercent, virtual_memory_color_);
}
void CpuMonitor::DrawHDSeries() {
    DrawSeries(&SystemLevels::HDAvailablePercent, hd_color_);
}

void CpuMonitor::DrawSeries(float SystemLevels::*level, ColorRef color) {
    const double columns = ColumnsWide();
    if (columns - 1 < last_empty_index_)
        return;
    DrawingSurface& surface = host_.Surface();
    const double height = ScaleHeight();
    const int stroke = StrokePixels(host_.Dpi());
    // Levels are placed on the device height, so no precision is lost at a
    // larger scale. Far-off levels are held a little outside the surface,
    // where they are clipped like any other, so no coordinate can overflow.
    auto y_of = [height](float percent) {
        const double y = std::clamp(height - percent / 100.0 * height, -1e6, 1e6);
        return Round(y);
    };
    const std::int32_t limit = Round(columns - 2);
    if (diagram_style_ == diagram_style::kLines) {
        // Consecutive segments share their ends: one polyline per run of
        // columns that lie in the history, drawn once per pixel of the
        // stroke's square so a thicker line is equally thick in every
        // direction.
        polyline_.clear();
        auto flush = [&] {
            const int count = static_cast<int>(polyline_.size());
            if (stroke == 1) {
                surface.DrawPolyline(polyline_.data(), count, color);
            } else {
                std::vector<PolylinePoint> moved(polyline_.size());
                for (int dy = 0; dy < stroke; ++dy) {
                    for (int dx = 0; dx < stroke; ++dx) {
                        for (std::size_t k = 0; k < polyline_.size(); ++k)
                            moved[k] = {polyline_[k].x + dx, polyline_[k].y + dy};
                        surface.DrawPolyline(moved.data(), count, color);
                    }
                }
            }
            polyline_.clear();
        };
        for (std::int32_t i = last_empty_index_ + 1; i <= limit; ++i) {
            if (!InHistory(i) || !InHistory(i + 1)) {
                flush();
                continue;
            }
            if (polyline_.empty()) {
                polyline_.push_back(
                    {DevicePixel(i), y_of(history_[static_cast<std::size_t>(i)].*level)});
            }
            polyline_.push_back(
                {DevicePixel(i + 1), y_of(history_[static_cast<std::size_t>(i) + 1].*level)});
        }
        flush();
        return;
    }
    for (std::int32_t i = last_empty_index_ + 1; i <= limit; ++i) {
        if (!InHistory(i))
            continue;
        const float value = history_[static_cast<std::size_t>(i)].*level;
        switch (diagram_style_) {
            case diagram_style::kPoints: {
                const int x = DevicePixel(i + 1);
                const int y = y_of(value);
                for (int dy = 0; dy < stroke; ++dy) {
                    for (int dx = 0; dx < stroke; ++dx) surface.SetPixel(x + dx, y + dy, color);
                }
                break;
            }
            case diagram_style::kBars:
                // A bar fills its column's pixels, so neighbouring bars
                // still close up at any scale.
                for (int x = DevicePixel(i); x < DevicePixel(i + 1); ++x)
                    surface.DrawLine(x, y_of(value), x, Round(height), color);
                break;
            default:
                return;
        }
    }
}

// ---- Descriptions and the program's instance -------------------------------------------

std::string_view CpuMonitorDescription(std::string_view name) {
    static constexpr std::pair<std::string_view, std::string_view> kDescriptions[] = {
        {"BackColor",
         "Returns/sets the background color used to display text and graphics in an object."},
        {"Appearance",
         "Returns/sets whether or not an object is painted at run time with 3-D effects."},
        {"BorderStyle", "Returns/sets the border style for an object."},
        {"hdc", "Returns a handle (from Microsoft Windows) to the object's device context."},
        {"hWnd", "Returns a handle (from Microsoft Windows) to an object's window."},
        {"Refresh", "Forces a complete repaint of a object."},
        {"CPUMonitorDisplayed",
         "Set/Return a value that determines whether the CPU Level is displayed"},
        {"PageFileDisplayed",
         "Set/Return a value that determines whether the Available PageFile Level is displayed"},
        {"VirtualMemoryDisplayed",
         "Set/Return a value that determines whether the Virtual Memory level is displayed"},
        {"CPUMonitorColor", "Return/Set the color to use to display the CPU Level"},
        {"MemoryLoadDisplayed",
         "Set/Return a value that determines whether the Available Memory is displayed"},
        {"MemoryLoadColor",
         "Return/Set the color to use to display the level of Available Memory "},
        {"PageFileColor", "Return/Set the color to use to display the level of Available PageFile"},
        {"VirtualMemoryColor",
         "Return/Set the color to use to display the level of Available Virtual Memory"},
        {"Enabled",
         "Returns/sets a value that determines whether an object can respond to user-generated "
         "events."},
    };
    for (const auto& [property, description] : kDescriptions) {
        if (property == name)
            return description;
    }
    return {};
}

PropertyBag CpuMonitorStateProperties() {
    PropertyBag bag;
    bag.Set("DisplayGridColor", Stored(Rgb(255, 192, 128)));
    bag.Set("Appearance", std::int32_t{0});
    bag.Set("BackColor", Stored(Rgb(64, 64, 64)));
    bag.Set("HDDriveLetter", std::string("C:\\"));
    return bag;
}

}  // namespace vellumar
