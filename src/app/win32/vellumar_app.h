#pragma once
// The running program as one object: it owns the object graph (the platform
// services, the level sampler, the main window and its frame, the desktop
// integration, the process list and its limits, the advertisement line),
// builds it in dependency order, starts its parts in the order
// ProgramSteps lists (app/program_lifecycle.h) and stops them in reverse.
//
// Where the settings live, the start-up entry and the message boxes come
// from outside: the program passes the real ones, tests their fakes.

#include <windows.h>

#include "app/autorun.h"
#include "app/main_window.h"
#include "app/main_window_tray.h"
#include "app/program_lifecycle.h"
#include "app/settings.h"
#include "app/win32/cpu_limit_dialog_window.h"
#include "app/win32/main_frame.h"
#include "engine/ad_line.h"
#include "engine/cpu_limit_dialog.h"
#include "engine/process_limits.h"
#include "engine/win32/ad_fetch_win32.h"
#include "monitor/level_sampler.h"
#include "monitor/win32/level_sources_win32.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/process_snapshot_win32.h"
#include "platform/win32/system_win32.h"
#include "shell/win32/tray_shell_win32.h"

namespace vellumar::win32 {

struct AppEnvironment {
    // The timers outlive the settings file, which waits for a held file on
    // their ticks.
    Win32TimerService& timers;
    SettingsFile& settings;
    Autorun& autorun;
    MessageBoxes& boxes;
};

class VellumarApp final : private ProgramDesktop {
  public:
    explicit VellumarApp(const AppEnvironment& environment);
    VellumarApp(const VellumarApp&) = delete;
    VellumarApp& operator=(const VellumarApp&) = delete;

    void Start() { lifecycle_.Start(); }
    // Exit (after the message loop), the end of the session and an
    // installer's exit request all end here; the second call does nothing.
    void Stop() { lifecycle_.Stop(); }
    // Runs the message loop until the main window has gone; the exit code.
    int RunMessageLoop();

    MainWindow& Form() { return form_; }
    MainFrame& Frame() { return frame_; }
    ProcessLimiter& Limiter() { return limiter_; }
    ProcessLimits& Limits() { return process_limits_; }
    FormSetProcessCpuPercent& LimitDialog() { return limit_dialog_; }
    CpuLimitDialogWindow& LimitDialogWindow() { return limit_dialog_window_; }
    Win32MessagePump& Pump() { return pump_; }
    TimerService& Timers() { return timers_; }

  private:
    // ProgramDesktop
    void RegisterTaskbarCreated() override { tray_.RegisterTaskbarCreated(); }
    void InstallWindowHook() override { tray_.InstallWindowHook(); }
    void AddTrayIcon() override { tray_.AddTrayIcon(); }
    void ShowMainWindow() override { frame_.ShowAfterLoad(); }
    void Shutdown() override { tray_.Shutdown(); }

    Win32TimerService& timers_;
    SettingsFile& settings_;
    MessageBoxes& boxes_;
    Win32Privileges privileges_;
    Win32Desktop desktop_;
    Win32Processes processes_;
    Win32MemoryStatus memory_;
    Win32Clock clock_;
    Win32MessagePump pump_;
    ClockSeededRandom random_;

    // The level sampler that the graph reads, over the system's counters.
    Win32CpuCounters cpu_counters_;
    Win32DynDataRegistry dyn_data_;
    Win32MemoryCounters memory_counters_;
    Win32VolumeSpace volumes_;
    ModuleCpuMonitorSupport sampler_;

    MainWindow form_;
    MainFrame frame_;
    MainWindowTray tray_view_;
    TrayShell tray_;

    // The second way: the process list, the limit table and its dialog.
    Win32ProcessSnapshots snapshots_;
    Win32FileIcons file_icons_;
    ProcessLimits process_limits_;
    FormSetProcessCpuPercent limit_dialog_;
    CpuLimitDialogWindow limit_dialog_window_;
    ProcessLimiter limiter_;

    // The advertisement line: fetched off the GUI thread; pages open in the
    // user's browser with the main window as owner.
    WinInetAdFetcher ad_fetcher_;
    ShellWebPages main_window_pages_;
    AdLine ad_line_;

    ProgramLifecycle lifecycle_;
};

// The program: one instance, on the real settings file, Run key and boxes.
int RunVellumar();

}  // namespace vellumar::win32
