#pragma once
// The Command button's window: a BUTTON-class child (owner-drawn style,
// subclassed) that paints itself from the portable model, so screen readers
// and UI automation see a push button named by its caption, WM_GETTEXT
// returns the caption and BM_CLICK clicks it. The window is the model's
// CommandHost: it owns the GDI picture the model paints on, turns window
// messages into the model's input, and gives the model its region, font,
// enabled state and focus moves.
//
// A form creates one per instance from the instance's stored properties and
// hooks the events on Model():
//
//   CommandButtonWindow ok(dialog, *FindCommandInstance("CommandOK"), 16, 120, timers);
//   ok.Model().Events().Click = [this] { CommandOK_Click(); };
//
// The object must outlive nothing it is given except `timers`; destroying it
// destroys the window (which takes its region with it).

#include <windows.h>

#include <string>

#include "controls/command_button.h"
#include "controls/win32/gdi_surface.h"
#include "platform/timer.h"
#include "platform/win32/window_base.h"

namespace vellumar::win32 {

class CommandButtonWindow final : public SubclassedControl, private CommandHost {
  public:
    // A window at (x, y) of `parent`, `width` x `height` pixels, loaded from
    // `stored`; `instance_name` is the caption of an instance that stores none
    // of its own only until the load replaces it.
    CommandButtonWindow(HWND parent, int x, int y, int width, int height, const PropertyBag& stored,
                        TimerService& timers, std::string instance_name, int control_id = 0);
    // One of the program's instances at its own size and stored properties.
    CommandButtonWindow(HWND parent, const CommandInstance& instance, int x, int y,
                        TimerService& timers, int control_id = 0);
    ~CommandButtonWindow() override;

    CommandButton& Model() { return model_; }
    const CommandButton& Model() const { return model_; }
    // The picture the model paints on (for tests and the gallery).
    const GdiSurface& Picture() const { return surface_; }

  private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    LRESULT HandleKeyMessage(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT HandleStateMessage(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT OnMouseButton(UINT message, LPARAM lparam);
    void OnPaint();

    // CommandHost
    DrawingSurface& Surface() override { return surface_; }
    void SurfaceChanged() override;
    void Refresh() override;
    SizePx ClientSize() const override;
    void SetWindowEnabled(bool enabled) override;
    void SetWindowFont(const FontSpec& font) override;
    FontSpec WindowFont() const override;
    FontSpec AmbientFont() const override;
    void SetWindowRegion(const WindowShape& shape) override;
    void SetWindowCaption(std::string_view caption) override;
    PointPx CursorClientPosition() const override;
    void MoveFocus(bool forward) override;
    ColorRef SystemColor(SystemColorIndex index) const override;
    std::uintptr_t WindowHandle() const override;
    int Dpi() const override;

    // The font of the picture at the window's present scale.
    void ApplyFont(const FontSpec& font);

    GdiSurface surface_;
    // The scale the picture's font was made for.
    int font_dpi_ = kStandardDpi;
    CommandButton model_;
    // A left press on the window that its release may complete as a click.
    bool click_armed_ = false;
};

}  // namespace vellumar::win32
