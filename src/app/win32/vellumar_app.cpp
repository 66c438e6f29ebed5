#include "app/win32/vellumar_app.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include "app/autorun.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/win32/main_frame.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/system_win32.h"
#include "shell/win32/tray_shell_win32.h"

namespace vellumar::win32 {

int RunVellumar() {
    Win32InstanceLock instance_lock;
    Win32MessageBoxes message_boxes;
    if (!ClaimSingleInstance(instance_lock, message_boxes))
        return 0;

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                        ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    Win32FileSystem files;
    Win32ProfileStore profile;
    SettingsFile settings(profile, ChooseSettingsPath(files));
    Win32RunKey run_key;
    Autorun autorun(run_key, files.ExecutablePath());
    Win32TimerService timers;
    Win32Privileges privileges;

    Win32Desktop desktop;
    Win32Processes processes;
    Win32MemoryStatus memory;
    Win32Clock clock;
    Win32MessagePump pump;
    ClockSeededRandom random;
    MainWindow form(timers, settings, autorun,
                    SystemServices{desktop, processes, memory, clock, pump, random, message_boxes});
    MainFrame frame(form, timers);
    message_boxes.SetOwner(frame.Handle());

    TrayShell tray(form, [&frame] { return frame.Handle(); });
    // Log-off and shutdown end the program the way Exit does, so the icon
    // does not outlive it.
    frame.onEndSession = [&tray] { tray.Shutdown(); };
    // An installer asking the program to end gets the tray menu's Exit.
    frame.onExitRequest = [&tray] { tray.Shutdown(); };

    StartupHooks hooks;
    tray.FillStartupHooks(hooks);
    LoadMainWindow(form, privileges, hooks);
    frame.ShowAfterLoad();

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (frame.Handle() && ::IsDialogMessageW(frame.Handle(), &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    // However the loop ended, the icon and the hook go before their owners.
    tray.Shutdown();
    return static_cast<int>(message.wParam);
}

}  // namespace vellumar::win32
