#include "app/win32/vellumar_app.h"

#include <string>

#include "app/startup.h"
#include "platform/ini_file_store.h"
#include "platform/product.h"

namespace vellumar::win32 {

VellumarApp::VellumarApp(const AppEnvironment& environment)
    : timers_(environment.timers),
      settings_(environment.settings),
      boxes_(environment.boxes),
      sampler_(LevelSources{cpu_counters_, dyn_data_, memory_counters_, volumes_, boxes_,
                            std::string(kProgramName)}),
      form_(timers_, settings_, environment.autorun,
            SystemServices{desktop_, processes_, memory_, clock_, pump_, random_, boxes_}),
      frame_(form_, timers_, sampler_),
      tray_view_(form_),
      tray_(
          tray_view_, [this] { return frame_.Handle(); }, [this] { limit_dialog_.Unload(); }),
      limit_dialog_(process_limits_, *form_.CpuPage.ListViewProcesses),
      limit_dialog_window_(
          limit_dialog_, [this] { return frame_.Handle(); }, timers_),
      limiter_(LimitServices{snapshots_, file_icons_, pump_, boxes_},
               LimitPageControls{*form_.CpuPage.ListViewProcesses, form_.CpuPage.ImageListProcesses,
                                 *form_.CpuPage.LabelCPULimitedCount,
                                 *form_.StatePage.LabelStateProcessLimited,
                                 *form_.CpuPage.CommandRefreshProcess,
                                 *form_.CpuPage.CommandLimitProcessCPU, form_.TimerCPU},
               process_limits_, limit_dialog_, std::string(kProgramName)),
      main_window_pages_([this] { return frame_.Handle(); }),
      ad_line_(*form_.Chrome.LabelAd, *form_.AboutPage.LabelHomepage, form_.TimerAd, ad_fetcher_,
               [this](const std::string& url) { main_window_pages_.Open(url); }),
      lifecycle_(ProgramSteps({form_, privileges_, settings_, process_limits_, limiter_, *this})) {
    // The session's end and an installer's request end the program as Exit
    // does, before the process may be gone.
    frame_.onEndSession = [this] { Stop(); };
    frame_.onExitRequest = [this] { Stop(); };
    // A Config.ini held at start is read once its holder lets go.
    settings_.onFileRead = [this] { form_.ReadSettings(); };
    // No icon action while the CPU-limit dialog is open; the advertisement
    // waits while the tray menu or the dialog is on screen.
    tray_.AddGateForm([this] { return limit_dialog_.Shown(); });
    ad_line_.AddPausingForm([this] { return tray_.MenuShown(); });
    ad_line_.AddPausingForm([this] { return limit_dialog_.Shown(); });
}

int VellumarApp::RunMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        pump_.NoteQueueChecked();
        // Only keys move the focus or make characters; the timers' many
        // messages go straight to their window.
        if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
            if (frame_.Handle() && ::IsDialogMessageW(frame_.Handle(), &message))
                continue;
            ::TranslateMessage(&message);
        }
        ::DispatchMessageW(&message);
        // The main window can end inside a modal loop (log-off with the menu
        // or a box open), whose end may swallow the quit message.
        if (!frame_.Handle())
            break;
    }
    return static_cast<int>(message.wParam);
}

int RunVellumar() {
    Win32InstanceLock instance_lock;
    Win32MessageBoxes message_boxes;
    if (!ClaimSingleInstance(instance_lock, message_boxes))
        return 0;
    Win32FileSystem files;
    IniFileStore profile(files);
    Win32TimerService timers;
    SettingsFile settings(profile, SettingsLocationsOf(files), &timers);
    Win32RunKey run_key;
    Autorun autorun(run_key, files.ExecutablePath());

    VellumarApp app({timers, settings, autorun, message_boxes});
    message_boxes.SetOwner(app.Frame().Handle());
    app.Start();
    const int exit_code = app.RunMessageLoop();
    // However the loop ended, the icon and the hook go before their owners.
    app.Stop();
    return exit_code;
}

}  // namespace vellumar::win32
