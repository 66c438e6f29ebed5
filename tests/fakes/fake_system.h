#pragma once
// Fakes of the running system for the speed-up engine's tests.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/system.h"

namespace vellumar::testing {

class FakeDesktop : public Desktop {
  public:
    struct Window {
        std::string title;
        ProcessId process;
    };
    WindowHandle ForegroundWindow() override { return foreground; }
    std::string WindowTitle(WindowHandle window, int max_chars) override {
        auto it = windows.find(window);
        if (it == windows.end())
            return {};
        return it->second.title.substr(0, static_cast<std::size_t>(max_chars));
    }
    ProcessId WindowProcess(WindowHandle window) override {
        auto it = windows.find(window);
        return it == windows.end() ? 0 : it->second.process;
    }
    void Front(WindowHandle window) { foreground = window; }

    std::map<WindowHandle, Window> windows;
    WindowHandle foreground = 0;
};

class FakeProcesses : public Processes {
  public:
    ProcessId CurrentProcess() override { return self; }
    std::uint32_t ApplyPriorityClass(ProcessId process, std::uint32_t priority_class) override {
        applied.push_back({process, priority_class});
        if (locked.count(process))
            return classes.count(process) ? classes[process] : 0;
        classes[process] = priority_class;
        return priority_class;
    }
    std::uint32_t PriorityClassOf(ProcessId process) override {
        return classes.count(process) ? classes[process] : 0;
    }
    std::vector<ProcessId> Snapshot() override { return snapshot; }
    std::vector<ProcessId> SnapshotWhileHandlingEvents(MessagePump& pump) override {
        if (yield_during_snapshot)
            pump.ProcessPendingEvents();
        return snapshot;
    }
    bool TrimWorkingSet(ProcessId process) override {
        trimmed.push_back(process);
        if (on_trim)
            on_trim(process);
        return !locked.count(process);
    }

    ProcessId self = 1000;
    std::map<ProcessId, std::uint32_t> classes;
    std::map<ProcessId, bool> locked;
    std::vector<std::pair<ProcessId, std::uint32_t>> applied;
    std::vector<ProcessId> snapshot;
    std::vector<ProcessId> trimmed;
    std::function<void(ProcessId)> on_trim;
    bool yield_during_snapshot = false;
};

class FakeMemoryStatus : public MemoryStatus {
  public:
    bool PhysicalMemory(std::uint64_t& total_bytes, std::uint64_t& available_bytes) override {
        ++queries;
        total_bytes = total;
        available_bytes = available;
        return ok;
    }
    void SetMb(std::uint64_t total_mb, std::uint64_t available_mb) {
        total = total_mb << 20;
        available = available_mb << 20;
    }
    std::uint64_t total = 0;
    std::uint64_t available = 0;
    bool ok = true;
    int queries = 0;
};

class FakeClock : public Clock {
  public:
    std::string TimeOfDayText() override { return now; }
    std::string now = "12:34:56";
};

class FakePump : public MessagePump {
  public:
    void ProcessPendingEvents() override {
        ++yields;
        if (on_yield)
            on_yield();
    }
    bool Quitting() const override { return quitting; }
    int yields = 0;
    bool quitting = false;
    std::function<void()> on_yield;
};

class FakeRandom : public RandomSource {
  public:
    double NextUniform() override { return value; }
    double value = 0.5;
};

}  // namespace vellumar::testing
