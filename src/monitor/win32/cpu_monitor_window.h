#pragma once
// The CpuMonitor graph's window: a STATIC-class child (subclassed) that
// shows the model's off-screen picture. The model paints the whole graph
// into a GDI memory picture and the window copies it to the screen in one
// blit, so a half-drawn graph is never seen; the background is never erased.
// The window is the model's CpuMonitorHost: its border (flat, 3-D or none),
// enabled state, inner size and the user's number separators.
//
//   CpuMonitorWindow graph(panel, 48, 224, 417, 57, CpuMonitorStateProperties(),
//                          timers, sampler, "CpuMonitorState");
//
// Loaded from saved properties it starts monitoring at once, sampling on its
// own timer; destroying it destroys the window.

#include <windows.h>

#include <string>

#include "controls/win32/gdi_surface.h"
#include "monitor/cpu_monitor.h"
#include "platform/timer.h"
#include "platform/win32/window_base.h"

namespace vellumar::win32 {

class CpuMonitorWindow final : public SubclassedControl, private CpuMonitorHost {
  public:
    CpuMonitorWindow(HWND parent, int x, int y, int width, int height, const PropertyBag& stored,
                     TimerService& timers, ModuleCpuMonitorSupport& sampler,
                     const std::string& instance_name, int control_id = 0);
    ~CpuMonitorWindow() override;

    CpuMonitor& Model() { return model_; }
    // The off-screen picture, up to date (for tests).
    const GdiSurface& Picture() {
        model_.UpdatePicture();
        return surface_;
    }

  private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void SyncPictureSize();
    void ApplyBorder();

    // CpuMonitorHost
    DrawingSurface& Surface() override { return surface_; }
    void Refresh() override;
    bool Showing() const override;
    SizePx ScaleSize() const override { return {surface_.Width(), surface_.Height()}; }
    int WidthTwips() const override;
    int Dpi() const override { return dpi_; }
    void SetAppearance(std::int16_t appearance) override;
    std::int16_t Appearance() const override { return appearance_; }
    void SetBorderStyle(std::int16_t border_style) override;
    std::int16_t BorderStyle() const override { return border_style_; }
    void SetSurfaceEnabled(bool enabled) override;
    bool SurfaceEnabled() const override;
    std::uintptr_t WindowHandle() const override;
    std::uintptr_t DeviceContext() const override;
    NumberSeparators Separators() const override;

    GdiSurface surface_;
    std::int16_t appearance_ = 1;
    std::int16_t border_style_ = 1;
    // The layout's scale, read at each resize: painting asks for it per point.
    int dpi_ = kStandardDpi;
    CpuMonitor model_;
};

}  // namespace vellumar::win32
