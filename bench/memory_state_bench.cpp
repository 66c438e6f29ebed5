// Cost of one TimerOnTimeState tick (ShowMemoryState), which runs 50 times a
// second: with unchanged figures it should build no text and allocate
// nothing; with changed figures it rewrites five labels.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/memory_release.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

// Counting allocations: every allocation of the process goes through here.
// GCC cannot see that malloc pairs with the free below.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace vellumar {
namespace {

class SteadyMemory : public MemoryStatus {
  public:
    bool PhysicalMemory(std::uint64_t& total, std::uint64_t& available) override {
        total = 16ull << 30;
        available = (6ull << 30) + (step_ ? (static_cast<std::uint64_t>(++tick_ % 2) << 20) : 0);
        return true;
    }
    void SetChanging(bool changing) { step_ = changing; }

  private:
    bool step_ = false;
    std::uint64_t tick_ = 0;
};

class NoProcesses : public Processes {
  public:
    ProcessId CurrentProcess() override { return 1; }
    std::uint32_t ApplyPriorityClass(ProcessId, std::uint32_t c) override { return c; }
    std::uint32_t PriorityClassOf(ProcessId) override { return 0; }
    std::vector<ProcessId> Snapshot() override { return {}; }
    bool TrimWorkingSet(ProcessId) override { return true; }
};
class NoPump : public MessagePump {
  public:
    void ProcessPendingEvents() override {}
};
class NoClock : public Clock {
  public:
    std::string TimeOfDayText() override { return {}; }
};
class NoBoxes : public MessageBoxes {
  public:
    void ShowMessage(const std::string&, const std::string&) override {}
    void ShowInformation(const std::string&, const std::string&) override {}
    void ShowWarning(const std::string&, const std::string&) override {}
};

struct Page {
    Label all{"LabelMemoryAll", {}, "0 MB", {}};
    Label used{"LabelMemoryUsed", {}, "0 MB", {}};
    Label left{"LabelMemoryLeft", {}, "0 MB", {}};
    Label percent{"LabelMemoryUsedPercent", {}, "30%", {}};
    Label state{"LabelStateMemoryState", {}, "0", {}};
    ListView log{"ListViewMemoryLog", {}, {}, {{"NO.", 600}, {"Time", 1440}, {"Event", 3600}}};
    CheckBox enable{"CheckEnableAutoFreeMemory", {}, "Automatic release memory", {}};
    ComboList interval{"ComboInterval", {}, {}};
    SteadyMemory memory;
    NoProcesses processes;
    NoPump pump;
    NoClock clock;
    NoBoxes boxes;
    MemoryRelease release{processes,
                          memory,
                          pump,
                          clock,
                          boxes,
                          "Vellumar",
                          {all, used, left, percent, state, log, enable, interval}};
};

void BM_ShowMemoryStateUnchanged(benchmark::State& state) {
    Page page;
    page.release.ShowMemoryState();
    const long before = g_allocations;
    for (auto _ : state) page.release.ShowMemoryState();
    state.counters["allocations_per_tick"] =
        static_cast<double>(g_allocations - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ShowMemoryStateUnchanged);

void BM_ShowMemoryStateChanging(benchmark::State& state) {
    Page page;
    page.memory.SetChanging(true);
    const long before = g_allocations;
    for (auto _ : state) page.release.ShowMemoryState();
    state.counters["allocations_per_tick"] =
        static_cast<double>(g_allocations - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ShowMemoryStateChanging);

}  // namespace
}  // namespace vellumar
