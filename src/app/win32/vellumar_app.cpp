#include "app/win32/vellumar_app.h"

#include <windows.h>
// After windows.h, which it builds on.

#include <functional>
#include <string>

#include "app/autorun.h"
#include "app/main_window.h"
#include "app/main_window_tray.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/win32/cpu_limit_dialog_window.h"
#include "app/win32/main_frame.h"
#include "engine/ad_line.h"
#include "engine/process_limits.h"
#include "engine/win32/ad_fetch_win32.h"
#include "platform/ini_file_store.h"
#include "platform/win32/modal_loops.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/process_snapshot_win32.h"
#include "platform/win32/system_win32.h"
#include "shell/win32/tray_shell_win32.h"

namespace vellumar::win32 {

int RunVellumar() {
    Win32InstanceLock instance_lock;
    Win32MessageBoxes message_boxes;
    if (!ClaimSingleInstance(instance_lock, message_boxes))
        return 0;

    Win32FileSystem files;
    IniFileStore profile(files);
    // The settings wait for a held Config.ini on timer ticks.
    Win32TimerService timers;
    SettingsFile settings(profile, SettingsLocationsOf(files), &timers);
    Win32RunKey run_key;
    Autorun autorun(run_key, files.ExecutablePath());
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
    // A Config.ini held at start has been read: the window takes its values.
    settings.onFileRead = [&form] { form.ReadSettings(); };
    message_boxes.SetOwner(frame.Handle());

    MainWindowTray tray_view(form);
    TrayShell tray(tray_view, [&frame] { return frame.Handle(); });
    // Log-off and shutdown end the program the way Exit does, so the icon
    // does not outlive it; a save that failed earlier is tried once more,
    // since the process may be gone as soon as this returns.
    frame.onEndSession = [&tray, &settings] {
        EndModalLoops();
        (void)settings.Flush();
        tray.Shutdown();
    };
    // An installer asking the program to end gets the tray menu's Exit.
    frame.onExitRequest = [&tray] { tray.Shutdown(); };

    // The second way: the process list, the limit table and its dialog.
    Win32ProcessSnapshots snapshots;
    Win32FileIcons file_icons;
    ProcessLimits process_limits;
    FormSetProcessCpuPercent limit_dialog(process_limits, *form.ListViewProcesses);
    CpuLimitDialogWindow limit_dialog_window(
        limit_dialog, [&frame] { return frame.Handle(); }, timers);
    ProcessLimiter limiter(
        LimitServices{snapshots, file_icons, pump, message_boxes},
        LimitPageControls{*form.ListViewProcesses, form.ImageListProcesses,
                          *form.LabelCPULimitedCount, *form.LabelStateProcessLimited,
                          *form.CommandRefreshProcess, *form.CommandLimitProcessCPU, form.TimerCPU},
        process_limits, limit_dialog, std::string(kProgramTitle));
    tray.AddGateForm([&limit_dialog] { return limit_dialog.Shown(); });
    tray.unloadCpuLimitDialog = [&limit_dialog] { limit_dialog.Unload(); };

    // The advertisement line: fetched off the GUI thread, paused while the
    // tray menu or the CPU-limit dialog is on screen; pages open in the
    // user's browser with the main window as owner.
    WinInetAdFetcher ad_fetcher;
    ShellWebPages main_window_pages([&frame] { return frame.Handle(); });
    AdLine ad_line(*form.LabelAd, *form.LabelHomepage, form.TimerAd, ad_fetcher,
                   [&main_window_pages](const std::string& url) { main_window_pages.Open(url); });
    ad_line.AddPausingForm([&tray] { return tray.MenuShown(); });
    ad_line.AddPausingForm([&limit_dialog] { return limit_dialog.Shown(); });

    StartupHooks hooks;
    hooks.reset_process_limits = [&process_limits] { process_limits.ResetUnusedSlots(); };
    hooks.register_taskbar_created = [&tray] { tray.RegisterTaskbarCreated(); };
    hooks.install_window_hook = [&tray] { tray.InstallWindowHook(); };
    hooks.add_tray_icon = [&tray] { tray.AddTrayIcon(); };
    LoadMainWindow(form, privileges, hooks);
    frame.ShowAfterLoad();
    // The process list is not needed for the first paint: it is filled once
    // the window is on screen (its page is hidden at start).
    limiter.CommandRefreshProcess_Click();

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        pump.NoteQueueChecked();
        // Only keys move the focus or make characters; the timers' many
        // messages go straight to their window.
        if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
            if (frame.Handle() && ::IsDialogMessageW(frame.Handle(), &message))
                continue;
            ::TranslateMessage(&message);
        }
        ::DispatchMessageW(&message);
        // The main window can end inside a modal loop (log-off with the menu
        // or a box open), whose end may swallow the quit message.
        if (!frame.Handle())
            break;
    }
    // However the loop ended, the icon and the hook go before their owners.
    tray.Shutdown();
    (void)settings.Flush();
    return static_cast<int>(message.wParam);
}

}  // namespace vellumar::win32
