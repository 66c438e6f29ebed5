// One "Refresh" of the process list with 200 processes against fake
// snapshots and icons: the portable work of a refresh (rows, keys, icons
// shared per executable path, limits put back), without the platform's.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/process_limits.h"
#include "fakes/fake_timers.h"

namespace vellumar {
namespace {

class Icon : public IconPicture {
  public:
    std::uintptr_t IconHandle() const override { return 1; }
};

// 200 processes of 40 executables, each executable's module first.
class Snapshots : public ProcessSnapshots, public FileIcons {
  public:
    Snapshots() {
        for (ProcessId pid = 4; pid < 4 + 200 * 4; pid += 4) {
            const std::string name = "program" + std::to_string(pid % 40) + ".exe";
            entries_.push_back({pid, name});
            modules_.push_back({"C:\\Program Files\\Vendor\\" + name, "C:\\Windows\\ntdll.dll"});
        }
    }
    std::vector<ProcessEntry> ProcessEntries() override { return entries_; }
    void VisitModulePaths(ProcessId process,
                          const std::function<bool(const std::string&)>& visit) override {
        for (const std::string& module : modules_[(process - 4) / 4]) {
            if (visit(module))
                return;
        }
    }
    SharedIcon FileIcon(const std::string&, bool) override { return std::make_shared<Icon>(); }

  private:
    std::vector<ProcessEntry> entries_;
    std::vector<std::vector<std::string>> modules_;
};

class NoPump : public MessagePump {
  public:
    void ProcessPendingEvents() override {}
};

class NoBoxes : public MessageBoxes {
  public:
    void ShowMessage(const std::string&, const std::string&) override {}
    void ShowInformation(const std::string&, const std::string&) override {}
    void ShowWarning(const std::string&, const std::string&) override {}
};

void BM_RefreshTwoHundredProcesses(benchmark::State& state) {
    Snapshots snapshots;
    NoPump pump;
    NoBoxes boxes;
    vellumar::testing::IdleTimerService timers;
    ListView list{"ListViewProcesses",
                  {},
                  {},
                  {{"ID", 800}, {"PID", 800}, {"Process", 2600}, {"CPU Usage limited", 2000}}};
    ImageList images{"ImageListProcesses"};
    Label count{"LabelCPULimitedCount", {}, "0", {}};
    Label state_count{"LabelStateProcessLimited", {}, "0", {}};
    PushButton refresh{"CommandRefreshProcess", {}, "Refresh"};
    PushButton limit{"CommandLimitProcessCPU", {}, "Limit"};
    Timer timer{timers, 1100, true};
    ProcessLimits limits;
    FormSetProcessCpuPercent dialog{limits, list};
    ProcessLimiter limiter{{snapshots, snapshots, pump, boxes},
                           {list, images, count, state_count, refresh, limit, timer},
                           limits,
                           dialog,
                           "Vellumar"};
    for (int slot = 0; slot < 3; ++slot)
        limits.Slot(slot) = {true, static_cast<ProcessId>(400 + 4 * slot), 50, ""};
    for (auto _ : state) limiter.CommandRefreshProcess_Click();
    state.counters["rows"] = list.RowCount();
}
BENCHMARK(BM_RefreshTwoHundredProcesses)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vellumar
