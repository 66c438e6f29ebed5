#pragma once
// The program's start and end. The parts that start and stop with the
// program are listed once, in the order they start (ProgramSteps); they stop
// in the reverse order. Every end takes the same path: Exit from the tray
// menu runs the desktop's shutdown, whose end of the main window ends the
// message loop, after which the program stops; the end of the session and
// an installer's exit request stop it at once. Stopping twice does nothing.
//
// The start, in order:
//   main_window.load: centre the window, enable the debug privilege, hide
//     the advertisement line, set the tray frame to 1, lay out the chrome
//     with the State page selected, fill the two lists, read and apply the
//     seven settings, run one tick of TimerProcess (LoadMainWindow);
//   process_limits.reset, taskbar_created.register, window_hook.install,
//     tray.add: the other subsystems' steps;
//   window.show: the window appears, unless the Automin setting keeps it in
//     the tray;
//   process_list.refresh: the process list is filled once the window is on
//     screen: its page is hidden at start, and a snapshot of every process
//     with its icon need not delay the first paint.
// The end, in order: the desktop's shutdown (the icon, the window hook, the
// tray menu, the CPU-limit dialog, the main window), then a last save of a
// setting that could not be written earlier.

#include <functional>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "app/settings.h"
#include "engine/process_limits.h"
#include "platform/session.h"

namespace vellumar {

// The desktop side of the start and end: the notification area, the hook on
// the main window and the main window's frame.
class ProgramDesktop {
  public:
    virtual ~ProgramDesktop() = default;
    virtual void RegisterTaskbarCreated() = 0;
    virtual void InstallWindowHook() = 0;
    virtual void AddTrayIcon() = 0;
    virtual void ShowMainWindow() = 0;
    // Removes the icon and the hook and unloads the tray menu, the CPU-limit
    // dialog and the main window, in that order; once.
    virtual void Shutdown() = 0;
};

struct ProgramParts {
    MainWindow& form;
    Privileges& privileges;
    SettingsFile& settings;
    ProcessLimits& limits;
    ProcessLimiter& limiter;
    ProgramDesktop& desktop;
};

struct ProgramStep {
    std::string_view name;
    std::function<void()> start;
    std::function<void()> stop;  // empty: nothing to undo
};

// The program's steps in start order.
std::vector<ProgramStep> ProgramSteps(const ProgramParts& parts);

class ProgramLifecycle {
  public:
    explicit ProgramLifecycle(std::vector<ProgramStep> steps) : steps_(std::move(steps)) {}
    // Runs every step's start, in order.
    void Start();
    // Runs the stops of the started steps in reverse order, once.
    void Stop();
    [[nodiscard]] std::vector<std::string_view> Names() const;

  private:
    std::vector<ProgramStep> steps_;
    std::size_t started_ = 0;
    bool stopped_ = false;
};

}  // namespace vellumar
