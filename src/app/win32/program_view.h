#pragma once
// The view context of the program's windows: the fonts, timers and pictures
// their controls' windows draw with, the program's Command buttons and the
// graph's window.

#include <windows.h>

#include <functional>

#include "controls/win32/child_window.h"
#include "monitor/level_sampler.h"

namespace vellumar::win32 {

ViewContext ProgramViewContext(FontCache& fonts, TimerService& timers,
                               std::function<HBITMAP(int)> picture,
                               ModuleCpuMonitorSupport& sampler);

}  // namespace vellumar::win32
