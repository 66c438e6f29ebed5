#pragma once
// The graph's series: what each one draws, the names it is saved and changed
// under, its default colour and its caption in the State page's legend. The
// control's properties, its saved keys, its drawing and the legend are all
// made from this table.

#include <array>
#include <cstddef>
#include <string_view>

#include "controls/pixel_buffer.h"
#include "monitor/level_sampler.h"

namespace vellumar {

// In drawing order: a later series is drawn over an earlier one.
enum class Series { Cpu, MemoryLoad, PageFile, VirtualMemory, HD };

struct SeriesTraits {
    Series series;
    // The share of the sample the series shows, in percent.
    float SystemLevels::*level;
    // The property (and saved key) that shows or hides the series.
    std::string_view displayed_key;
    // The property that holds the series' colour, and the key it is saved
    // under (the memory series saves under a shorter key than its name).
    std::string_view color_property;
    std::string_view color_key;
    ColorRef default_color;
    std::string_view legend;
};

inline constexpr std::array<SeriesTraits, 5> kGraphSeries = {{
    {Series::Cpu, &SystemLevels::CPULoadPercent, "CPUMonitorDisplayed", "CPUMonitorColor",
     "CPUMonitorColor", 0x00FF00, "CPU"},
    {Series::MemoryLoad, &SystemLevels::MemoryLoadPercent, "MemoryLoadDisplayed", "MemoryLoadColor",
     "MemoryColor", 0x00FFFF, "Memory"},
    {Series::PageFile, &SystemLevels::PageFileAvailablePercent, "PageFileDisplayed",
     "PageFileColor", "PageFileColor", 0x0000FF, "Page space"},
    {Series::VirtualMemory, &SystemLevels::VirtualMemoryAvailablePercent, "VirtualMemoryDisplayed",
     "VirtualMemoryColor", "VirtualMemoryColor", 0xFF0000, "Virual memory"},
    {Series::HD, &SystemLevels::HDAvailablePercent, "HDMonitorDisplayed", "HDMonitorColor",
     "HDMonitorColor", 0xFF80FF, "Disk space"},
}};

constexpr std::size_t SeriesIndex(Series series) {
    return static_cast<std::size_t>(series);
}
constexpr const SeriesTraits& TraitsOf(Series series) {
    return kGraphSeries[SeriesIndex(series)];
}

// One saved value of a series: its display flag or its colour.
struct SeriesKey {
    enum Field { kDisplayed, kColor };
    Series series;
    Field field;
};

// The series' saved values, in the order they are read and written among
// the control's other properties: these first ...
inline constexpr std::array<SeriesKey, 8> kLeadingSeriesKeys = {{
    {Series::Cpu, SeriesKey::kDisplayed},
    {Series::PageFile, SeriesKey::kDisplayed},
    {Series::VirtualMemory, SeriesKey::kDisplayed},
    {Series::Cpu, SeriesKey::kColor},
    {Series::MemoryLoad, SeriesKey::kDisplayed},
    {Series::MemoryLoad, SeriesKey::kColor},
    {Series::PageFile, SeriesKey::kColor},
    {Series::VirtualMemory, SeriesKey::kColor},
}};
// ... and these after them, before the drive.
inline constexpr std::array<SeriesKey, 2> kTrailingSeriesKeys = {{
    {Series::HD, SeriesKey::kDisplayed},
    {Series::HD, SeriesKey::kColor},
}};

}  // namespace vellumar
