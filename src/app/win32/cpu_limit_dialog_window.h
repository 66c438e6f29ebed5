#pragma once
// The window of FormSetProcessCpuPercent: a real modal dialog (the dialog
// manager gives it Tab order, Enter for the default button of the mode and
// Esc for "Cancel"), owned by the main window, whose client area holds one
// child window per control of the portable form. Each showing creates the
// window and its children afresh; the form's Unload ends it.

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "controls/win32/child_window.h"
#include "controls/win32/gdi.h"
#include "engine/cpu_limit_dialog.h"
#include "platform/timer.h"

namespace vellumar::win32 {

class CpuLimitDialogWindow : public CpuLimitDialogHost, public BackgroundSource {
  public:
    // `owner` gives the main window's handle when the dialog opens.
    CpuLimitDialogWindow(FormSetProcessCpuPercent& form, std::function<HWND()> owner,
                         TimerService& timers);
    ~CpuLimitDialogWindow() override;
    CpuLimitDialogWindow(const CpuLimitDialogWindow&) = delete;
    CpuLimitDialogWindow& operator=(const CpuLimitDialogWindow&) = delete;

    // CpuLimitDialogHost
    void ShowModal() override;
    void Close() override;

    // The dialog while it is shown, else null.
    HWND Handle() const { return hwnd_; }
    // Runs once the dialog and its children exist, inside the modal loop.
    std::function<void(HWND)> onShown;

    void PaintBackground(HDC dc, const RECT& area) override;

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void OnInitDialog();
    void OnCommand(int id);
    SIZE FrameSize(int dpi) const;
    void UseScale(int dpi);

    FormSetProcessCpuPercent& form_;
    std::function<HWND()> owner_;
    FontCache fonts_;
    ViewContext context_;
    HWND hwnd_ = nullptr;
    std::vector<std::unique_ptr<ChildWindow>> children_;
};

}  // namespace vellumar::win32
