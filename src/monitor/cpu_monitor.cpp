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

void CpuMonitor::SetDisplayed(Series series, bool value) {
    SetFlag(series_[SeriesIndex(series)].displayed, value, TraitsOf(series).displayed_key);
}
void CpuMonitor::SetSeriesColor(Series series, ColorRef color) {
    SetColor(series_[SeriesIndex(series)].color, color, TraitsOf(series).color_property);
}
void CpuMonitor::SetDisplayGrid(bool value) {
    SetFlag(display_grid_, value, "DisplayGrid");
}
void CpuMonitor::SetScrollGrid(bool value) {
    SetFlag(scroll_grid_, value, "ScrollGrid");
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
    const std::size_t first = DecodeUtf8At(text, 0).length;
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
    return {RoundHalfEven(levels.CPULoadPercent), RoundHalfEven(levels.MemoryLoadPercent), levels};
}

LevelsReport CpuMonitor::GetCurrentSystemLevels() {
    const std::int32_t newest = TakeSample();
    return InHistory(newest) ? ReportOf(history_[static_cast<std::size_t>(newest)])
                             : LevelsReport{};
}

// ---- Host notifications -----------------------------------------------------------

void CpuMonitor::InitProperties() {
    back_color_ = 0;
    series_ = DefaultSeriesLooks();
    display_grid_ = scroll_grid_ = true;
    grid_color_ = kDefaultGridColor;
    update_interval_ms_ = kDefaultUpdateIntervalMs;
    diagram_style_ = diagram_style::kLines;
    hd_drive_letter_ = sampler_.GetWindowsDir().substr(0, 3);
    host_.SetAppearance(1);
    host_.SetBorderStyle(1);
    Redraw();
}

void CpuMonitor::ReadProperties(const PropertyBag& bag) {
    for (const SeriesKey key : kLeadingSeriesKeys) ReadSeriesKey(bag, key);
    display_grid_ = bag.ReadBool("DisplayGrid", true);
    grid_color_ = Loaded(bag.ReadInt32("DisplayGridColor", Stored(kDefaultGridColor)));
    update_interval_ms_ = bag.ReadInt32("UpdateInterval", kDefaultUpdateIntervalMs);
    scroll_grid_ = bag.ReadBool("ScrollGrid", true);
    diagram_style_ = bag.ReadInt32("DiagramStyle", diagram_style::kLines);
    saved_appearance_ = bag.ReadInt16("Appearance", 1);
    saved_border_style_ = bag.ReadInt16("BorderStyle", 1);
    back_color_ = Loaded(bag.ReadInt32("BackColor", 0));
    saved_enabled_ = bag.ReadBool("Enabled", true);
    for (const SeriesKey key : kTrailingSeriesKeys) ReadSeriesKey(bag, key);
    hd_drive_letter_ = bag.ReadText("HDDriveLetter", "");
    StartMonitoring();
}

void CpuMonitor::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty("BackColor", Stored(back_color_), 0);
    bag.WriteProperty("Appearance", std::int32_t{host_.Appearance()}, 1);
    bag.WriteProperty("BorderStyle", std::int32_t{host_.BorderStyle()}, 1);
    for (const SeriesKey key : kLeadingSeriesKeys) WriteSeriesKey(bag, key);
    bag.WriteProperty("Enabled", host_.SurfaceEnabled(), true);
    bag.WriteProperty("DisplayGrid", display_grid_, true);
    bag.WriteProperty("DisplayGridColor", Stored(grid_color_), Stored(kDefaultGridColor));
    bag.WriteProperty("UpdateInterval", update_interval_ms_, kDefaultUpdateIntervalMs);
    bag.WriteProperty("ScrollGrid", scroll_grid_, true);
    bag.WriteProperty("DiagramStyle", diagram_style_, diagram_style::kLines);
    for (const SeriesKey key : kTrailingSeriesKeys) WriteSeriesKey(bag, key);
    bag.WriteProperty("HDDriveLetter", hd_drive_letter_, std::string());
}

void CpuMonitor::ReadSeriesKey(const PropertyBag& bag, SeriesKey key) {
    const SeriesTraits& traits = TraitsOf(key.series);
    SeriesLook& look = series_[SeriesIndex(key.series)];
    if (key.field == SeriesKey::kDisplayed)
        look.displayed = bag.ReadBool(traits.displayed_key, true);
    else
        look.color = Loaded(bag.ReadInt32(traits.color_key, Stored(traits.default_color)));
}

void CpuMonitor::WriteSeriesKey(PropertyBag& bag, SeriesKey key) const {
    const SeriesTraits& traits = TraitsOf(key.series);
    const SeriesLook& look = series_[SeriesIndex(key.series)];
    if (key.field == SeriesKey::kDisplayed)
        bag.WriteProperty(traits.displayed_key, look.displayed, true);
    else
        bag.WriteProperty(traits.color_key, Stored(look.color), Stored(traits.default_color));
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

GraphDrawInfo CpuMonitor::DrawInfo() const {
    GraphDrawInfo info;
    info.scale_width = ScaleWidth();
    info.scale_height = ScaleHeight();
    info.dpi = host_.Dpi();
    info.back_color = back_color_;
    info.display_grid = display_grid_;
    info.grid_color = grid_color_;
    info.scroll_grid = scroll_grid_;
    info.grid_offset = grid_offset_;
    info.diagram_style = diagram_style_;
    info.last_empty_index = last_empty_index_;
    info.history = history_;
    info.series = series_;
    info.show_series = mode_ == ControlMode::kRunTime;
    return info;
}

void CpuMonitor::DrawPicture() {
    picture_stale_ = false;
    grid_offset_ = painter_.Paint(DrawInfo(), host_.Surface());
}

void CpuMonitor::DrawGrid() {
    grid_offset_ = painter_.PaintGrid(DrawInfo(), host_.Surface());
}

void CpuMonitor::DrawSeries(Series series) {
    painter_.PaintSeries(DrawInfo(), series, host_.Surface());
}

double CpuMonitor::ColumnsWide() const {
    return ScaleWidth() * kStandardDpi / host_.Dpi();
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
