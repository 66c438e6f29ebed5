#pragma once
// A real main window for integration tests: the portable form on the real
// (Wine) system services and its Win32 frame, with the settings file and the
// Run key faked so no test touches the prefix's files or registry.

#include "app/autorun.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/win32/main_frame.h"
#include "fakes/fake_platform.h"
#include "monitor/win32/level_sources_win32.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/system_win32.h"

namespace vellumar::win32 {

struct RealMainWindow {
    vellumar::testing::FakeProfileStore store;
    vellumar::testing::FakeRunKey run_key;
    Win32TimerService timers;
    SettingsFile settings{store, "C:\\x\\Config.ini"};
    Autorun autorun{run_key, "C:\\x\\vellumar.exe"};
    vellumar::testing::CallLog log;
    vellumar::testing::FakeSession boxes{log};
    Win32Desktop desktop;
    Win32Processes processes;
    Win32MemoryStatus memory;
    Win32Clock clock;
    Win32MessagePump pump;
    ClockSeededRandom random;
    MainWindow form{timers, settings, autorun,
                    SystemServices{desktop, processes, memory, clock, pump, random, boxes}};
    MainFrame frame{form, timers, ProcessCpuMonitorSupport()};
};

}  // namespace vellumar::win32
