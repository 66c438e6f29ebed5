#include "app/win32/program_view.h"

#include <utility>

#include "app/command_instances.h"
#include "monitor/win32/cpu_monitor_place_window.h"

namespace vellumar::win32 {

ViewContext ProgramViewContext(FontCache& fonts, TimerService& timers,
                               std::function<HBITMAP(int)> picture,
                               ModuleCpuMonitorSupport& sampler) {
    return ViewContext{
        fonts, timers, std::move(picture), FindCommandInstance,
        [&timers, &sampler](Control& control, HWND parent, int id) -> std::unique_ptr<ChildWindow> {
            if (auto* graph = dynamic_cast<CpuMonitorPlace*>(&control))
                return CreateCpuMonitorPlaceWindow(*graph, parent, timers, sampler, id);
            return nullptr;
        }};
}

}  // namespace vellumar::win32
