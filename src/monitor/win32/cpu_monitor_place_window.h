#pragma once
// The window of the graph's place on a page (CpuMonitorPlace), made by the
// page's container like the window of any other control.

#include <windows.h>

#include <memory>

#include "controls/win32/child_window.h"
#include "monitor/cpu_monitor.h"
#include "monitor/level_sampler.h"
#include "platform/timer.h"

namespace vellumar::win32 {

std::unique_ptr<ChildWindow> CreateCpuMonitorPlaceWindow(CpuMonitorPlace& model, HWND parent,
                                                         TimerService& timers,
                                                         ModuleCpuMonitorSupport& sampler, int id);

}  // namespace vellumar::win32
