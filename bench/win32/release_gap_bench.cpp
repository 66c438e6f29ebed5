// How long the window goes without handling its messages while a memory
// release walks every process. The walk handles pending events while its
// snapshot is taken on another thread and before and after each process,
// so the longest gap is the slowest single trim. Run under Wine with 50
// extra idle processes started by this program.
//
//   win_release_gap_bench.exe [extra-process-count] [walks]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/memory_release.h"
#include "idle_copies.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/system_win32.h"

namespace {

using namespace vellumar;

double Milliseconds(LONGLONG ticks) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// The real pump, timing the stretches between two of its calls.
class TimedPump : public MessagePump {
  public:
    void Start() { last_ = Now(); }
    void ProcessPendingEvents() override {
        const LONGLONG now = Now();
        gaps_.push_back(now - last_);
        pump_.ProcessPendingEvents();
        last_ = Now();
    }
    void Finish() { gaps_.push_back(Now() - last_); }
    const std::vector<LONGLONG>& Gaps() const { return gaps_; }

  private:
    win32::Win32MessagePump pump_;
    LONGLONG last_ = 0;
    std::vector<LONGLONG> gaps_;
};

class Silent : public MessageBoxes {
  public:
    void ShowMessage(const std::string&, const std::string&) override {}
    void ShowInformation(const std::string&, const std::string&) override {}
    void ShowWarning(const std::string&, const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--idle") {
        ::Sleep(120000);
        return 0;
    }
    const int extra = argc > 1 ? std::atoi(argv[1]) : 50;
    const int walks = argc > 2 ? std::atoi(argv[2]) : 5;

    const IdleCopies children(extra);
    ::Sleep(3000);

    win32::Win32Processes processes;
    win32::Win32MemoryStatus memory;
    win32::Win32Clock clock;
    Silent boxes;
    TimedPump pump;
    Label all{"a", {}, "", {}}, used{"u", {}, "", {}}, left{"l", {}, "", {}},
        percent{"p", {}, "", {}}, state{"s", {}, "", {}};
    ListView log{"log", {}, {}, {{"NO.", 600}, {"Time", 1440}, {"Event", 3600}}};
    CheckBox enable{"e", {}, "", {}};
    ComboList interval{"i", {}, {}};
    MemoryRelease release(processes, memory, pump, clock, boxes, "Vellumar",
                          {all, used, left, percent, state, log, enable, interval});

    const std::size_t process_count = processes.Snapshot().size();
    double worst = 0;
    double total_walk = 0;
    for (int walk = 0; walk < walks; ++walk) {
        const LONGLONG start = Now();
        pump.Start();
        release.DoAllMiniUseMemory();
        pump.Finish();
        total_walk += Milliseconds(Now() - start);
    }
    std::vector<LONGLONG> gaps = pump.Gaps();
    std::sort(gaps.begin(), gaps.end());
    worst = Milliseconds(gaps.back());
    const double median = Milliseconds(gaps[gaps.size() / 2]);
    std::printf("processes walked: %zu (%d extra)\n", process_count, extra);
    std::printf("walks: %d, mean walk %.1f ms\n", walks, total_walk / walks);
    std::printf("longest gap between handled messages: %.2f ms (median %.3f ms)\n", worst, median);

    return 0;
}
