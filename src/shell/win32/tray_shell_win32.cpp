#include "shell/win32/tray_shell_win32.h"

#include <utility>

#include "platform/win32/modal_loops.h"

namespace vellumar::win32 {

TrayShell::TrayShell(TrayMainWindow& form, std::function<HWND()> main_window,
                     std::function<void()> unload_cpu_limit_dialog)
    : form_(form),
      main_window_(std::move(main_window)),
      unload_cpu_limit_dialog_(std::move(unload_cpu_limit_dialog)),
      frame_icons_(form.TrayIconArtwork()),
      tray_icon_(notification_area_, frame_icons_, [this] { return NativeOf(main_window_()); }),
      web_pages_([this] { return menu_window_.Handle(); }),
      hook_(HookActions{[this] {
                            ShowMainWindow();
                            if (HWND main = main_window_())
                                ::SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
                        },
                        [this] { form_menu_.ShowPopup(); }, [this] { tray_icon_.AddTrayIcon(); }}),
      window_hook_(hook_),
      shutdown_(ProgramShutdown::Steps{[this] { tray_icon_.DeleteTrayIcon(); },
                                       [this] { window_hook_.Remove(); },
                                       [this] { menu_window_.Unload(); },
                                       [this] {
                                           if (unload_cpu_limit_dialog_)
                                               unload_cpu_limit_dialog_();
                                       },
                                       [this] {
                                           // The window's timers go with it: the animation must not
                                           // touch the shell again once the icon is gone.
                                           form_.TrayIconTimer().SetEnabled(false);
                                           if (HWND main = main_window_())
                                               ::DestroyWindow(main);
                                       },
                                       [] { EndModalLoops(); }}),
      form_menu_(
          form, [this] { ShowMainWindow(); }, menu_window_, web_pages_, shutdown_) {
    hook_.AddGateForm([this] { return menu_window_.Shown(); });
    hook_.AddGateForm([this] {
        HWND main = main_window_();
        return main && ::IsWindowVisible(main);
    });
    menu_window_.onItem = [this](TrayMenuItem item) { form_menu_.m_Click(item); };
    form_.TrayIconTimer().SetHandler(
        [this] { TimerTrayIcon_Timer(form_.TrayIconFrame(), tray_icon_); });
}

void TrayShell::RegisterTaskbarCreated() {
    hook_.SetTaskbarCreatedMessage(::RegisterWindowMessageW(L"TaskbarCreated"));
}

// A window hidden while it was minimised comes back restored and in front:
// shown but still minimised, the user would see nothing of it.
void TrayShell::ShowMainWindow() {
    HWND main = main_window_();
    if (!main)
        return;
    ::ShowWindow(main, SW_SHOW);
    if (::IsIconic(main))
        ::ShowWindow(main, SW_RESTORE);
    ::SetForegroundWindow(main);
}

}  // namespace vellumar::win32
