#pragma once
// The Win32 window of FormVellumar: a borderless 786 x 557 window that
// paints the skin, hosts one child window per control of the portable
// MainWindow, and turns window messages into its handlers. Images on the
// window are hit-tested here, like windowless pictures: the image under the
// pointer gets the press, keeps the mouse until the last button is released
// (its MouseUp, then its Click for a left release over it), and a move over
// no image is a move over the window's own background.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "app/win32/program_view.h"
#include "app/win32/window_icons.h"
#include "controls/win32/gdi.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_base.h"

namespace vellumar::win32 {

inline constexpr wchar_t kMainWindowClass[] = L"FormVellumar";
// Another process (the installer, the uninstaller) asks the running program
// to end by posting the message registered under this name, without
// parameters, to the kMainWindowClass window. The program then runs the same
// shutdown as the tray menu's Exit; nothing is cut off mid-write.
inline constexpr wchar_t kExitRequestMessage[] = L"Vellumar.ExitRequest";

class MainFrame : public Window, public MainWindowHost, public BackgroundSource {
  public:
    // `sampler` is the one the graph reads its levels from.
    MainFrame(MainWindow& form, TimerService& timers, ModuleCpuMonitorSupport& sampler);
    ~MainFrame() override;

    // Shows the window after startup unless startup hid it.
    void ShowAfterLoad();
    // Run when the session ends (log-off, shutdown).
    std::function<void()> onEndSession;
    // Run when another process asks the program to end (kExitRequestMessage).
    std::function<void()> onExitRequest;

    // MainWindowHost
    void HideWindow() override;
    bool WindowShown() override;
    void SetTopmost(bool topmost) override;
    void RequestMinimise() override;
    void BeginCaptionDrag() override;
    void MoveWindowTwips(double left, double top) override;
    void ScreenSizeTwips(double& width, double& height) override;

    // BackgroundSource: the skin and the images on it.
    void PaintBackground(HDC dc, const RECT& area) override;

  private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    LRESULT HandleMouseMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void Paint();
    Image* ImageAt(POINT pt) const;
    void OnButtonDown(MouseButton button, POINT pt);
    void OnButtonUp(MouseButton button, POINT pt);
    void OnMouseMove(WPARAM keys, POINT pt);
    HBITMAP Picture(int id) const;
    // Fonts, skin, pictures, the window and its children at `dpi`; at the
    // suggested place after a move to a monitor of another scale.
    void ScaleTo(int dpi, const RECT* suggested = nullptr);

    MainWindow& form_;
    FontCache fonts_;
    ViewContext context_;
    // Flat colour and gradients in bands: as runs of colour the skin takes a
    // few dozen KB instead of a megabyte and more as a bitmap.
    RunLengthPicture skin_;
    RunLengthPainter skin_painter_;
    std::array<UniqueBitmap, kPictureCount> pictures_;
    UniqueIcon big_icon_;
    UniqueIcon small_icon_;
    WindowIcons window_icons_;
    std::vector<std::unique_ptr<ChildWindow>> children_;
    bool show_after_load_ = true;
    bool icons_shown_ = false;
    Image* captured_ = nullptr;
    int held_buttons_ = 0;
    UINT exit_request_message_ = 0;
};

}  // namespace vellumar::win32
