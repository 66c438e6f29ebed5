#include "monitor/win32/cpu_monitor_place_window.h"

#include "monitor/win32/cpu_monitor_window.h"
#include "platform/win32/dpi.h"

namespace vellumar::win32 {

namespace {

// The graph at its place, loaded from the place's stored properties; it
// samples and repaints on its own timer through the sampler it is given.
class CpuMonitorPlaceWindow : public ChildWindow {
  public:
    CpuMonitorPlaceWindow(CpuMonitorPlace& model, HWND parent, TimerService& timers,
                          ModuleCpuMonitorSupport& sampler, int id)
        : model_(model) {
        const RECT r = PixelRect(model.Bounds(), LayoutDpi(parent));
        graph_ = std::make_unique<CpuMonitorWindow>(parent, r.left, r.top, r.right - r.left,
                                                    r.bottom - r.top, model.Stored(), timers,
                                                    sampler, model.Name(), id);
    }
    HWND Hwnd() const override { return graph_->Handle(); }
    Control& Model() override { return model_; }

  private:
    CpuMonitorPlace& model_;
    std::unique_ptr<CpuMonitorWindow> graph_;
};

}  // namespace

std::unique_ptr<ChildWindow> CreateCpuMonitorPlaceWindow(CpuMonitorPlace& model, HWND parent,
                                                         TimerService& timers,
                                                         ModuleCpuMonitorSupport& sampler, int id) {
    return std::make_unique<CpuMonitorPlaceWindow>(model, parent, timers, sampler, id);
}

}  // namespace vellumar::win32
