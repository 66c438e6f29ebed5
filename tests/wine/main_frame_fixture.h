#pragma once
// A real main window for integration tests: the program's object graph on
// the real (Wine) system services, with the settings file, the Run key and
// the message boxes faked so no test touches the prefix's files or registry
// or waits for a box.

#include "app/autorun.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/win32/vellumar_app.h"
#include "fakes/fake_platform.h"

namespace vellumar::win32 {

struct RealMainWindow {
    Win32TimerService timers;
    vellumar::testing::FakeProfileStore store;
    vellumar::testing::FakeRunKey run_key;
    SettingsFile settings{store, "C:\\x\\Config.ini"};
    Autorun autorun{run_key, "C:\\x\\vellumar.exe"};
    vellumar::testing::CallLog log;
    vellumar::testing::FakeSession boxes{log};
    // The program's own object graph, not started: each test runs the
    // steps it needs.
    VellumarApp app{{timers, settings, autorun, boxes}};
    MainWindow& form = app.Form();
    MainFrame& frame = app.Frame();
    Win32MessagePump& pump = app.Pump();
};

}  // namespace vellumar::win32
