// One update cycle of the State page's graph window (417 x 57, flat border,
// five series) through GDI: the history shift, a sample from counters that
// answer at once, the repaint into the window's picture, and with a shown
// window the blit to the screen. Run under Wine:
//   wine win_cpu_monitor_bench.exe
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "../monitor_bench_sources.h"
#include "monitor/win32/cpu_monitor_window.h"
#include "platform/win32/platform_win32.h"

namespace {

using vellumar::win32::CpuMonitorWindow;

class NoTimers : public vellumar::TimerService {
  public:
    void Start(vellumar::Timer&) override {}
    void Stop(vellumar::Timer&) override {}
};

// CPU time of this thread in 100-ns units: the build machine is shared,
// and wall time there mostly measures the other programs.
std::uint64_t ThreadCpuTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) {
        return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
    };
    return ticks(kernel) + ticks(user);
}

// Microseconds of thread CPU time per cycle, over enough cycles that the
// clock's coarse steps do not matter.
double MicrosecondsPerCycle(CpuMonitorWindow& graph, int cycles) {
    const std::uint64_t start = ThreadCpuTime();
    for (int i = 0; i < cycles; ++i) graph.Model().Timer1_Timer();
    ::GdiFlush();
    return static_cast<double>(ThreadCpuTime() - start) / 10.0 / cycles;
}

}  // namespace

int main() {
    vellumar::bench::WavingSources sources;
    vellumar::ModuleCpuMonitorSupport sampler(sources.Sources());
    NoTimers timers;
    // One graph in a hidden container (the picture only), one shown.
    const HWND hidden = ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP, 0, 0, 450, 80, nullptr,
                                          nullptr, nullptr, nullptr);
    const HWND shown = ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 100, 450,
                                         80, nullptr, nullptr, nullptr, nullptr);
    const vellumar::PropertyBag stored = vellumar::CpuMonitorStateProperties();
    CpuMonitorWindow off_screen(hidden, 10, 10, 417, 57, stored, timers, sampler, "graph");
    CpuMonitorWindow on_screen(shown, 10, 10, 417, 57, stored, timers, sampler, "graph");
    constexpr int kCycles = 2000;
    for (int style = 0; style <= 2; ++style) {
        off_screen.Model().SetDiagramStyle(style);
        on_screen.Model().SetDiagramStyle(style);
        MicrosecondsPerCycle(off_screen, 500);  // a full history, warmed up
        MicrosecondsPerCycle(on_screen, 500);
        std::printf("Graph 415x55 style %d cycle, GDI picture only:   %8.1f us CPU\n", style,
                    MicrosecondsPerCycle(off_screen, kCycles));
        std::printf("Graph 415x55 style %d cycle, picture + blit:     %8.1f us CPU\n", style,
                    MicrosecondsPerCycle(on_screen, kCycles));
    }
    ::DestroyWindow(shown);
    ::DestroyWindow(hidden);
    return 0;
}
