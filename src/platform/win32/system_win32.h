#pragma once
// Win32 implementations of the running system: foreground window and its
// title and process, process priority classes and working sets, physical
// memory, the regional time of day, the message pump and a clock-seeded
// random source.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/system.h"

namespace vellumar::win32 {

class Win32Desktop : public Desktop {
  public:
    WindowHandle ForegroundWindow() override;
    std::string WindowTitle(WindowHandle window, int max_chars) override;
    ProcessId WindowProcess(WindowHandle window) override;
};

class Win32Processes : public Processes {
  public:
    Win32Processes();
    ~Win32Processes() override;
    Win32Processes(const Win32Processes&) = delete;
    Win32Processes& operator=(const Win32Processes&) = delete;

    ProcessId CurrentProcess() override;
    std::uint32_t ApplyPriorityClass(ProcessId process, std::uint32_t priority_class) override;
    std::uint32_t PriorityClassOf(ProcessId process) override;
    std::vector<ProcessId> Snapshot() override;
    std::vector<ProcessId> SnapshotWhileHandlingEvents(MessagePump& pump) override;
    bool TrimWorkingSet(ProcessId process) override;

  private:
    class SnapshotMailbox;
    // Created on first use, on the thread that waits for the snapshots.
    std::unique_ptr<SnapshotMailbox> mailbox_;
    unsigned last_request_ = 0;
};

class Win32MemoryStatus : public MemoryStatus {
  public:
    bool PhysicalMemory(std::uint64_t& total_bytes, std::uint64_t& available_bytes) override;
};

class Win32Clock : public Clock {
  public:
    // Formatted once a second: the clock label asks ten times as often.
    std::string TimeOfDayText() override;

  private:
    // Day, hour, minute and second of `text_`.
    std::uint32_t formatted_at_ = 0;
    std::string text_;
};

class Win32MessagePump : public MessagePump {
  public:
    void ProcessPendingEvents() override;
    // Under Wine every look at the queue, even an empty one, is a round trip
    // to the window server; a loop that yields six times in a few
    // microseconds right after the message loop took its message looks not
    // at all, and at most once otherwise.
    void ProcessPendingEventsUnlessJustChecked() override;
    bool Quitting() const override { return quitting_; }
    // The message loop has just taken a message: the queue was looked at.
    void NoteQueueChecked() { checked_at_ = std::chrono::steady_clock::now(); }

    static constexpr std::chrono::milliseconds kJustChecked{1};

  private:
    bool quitting_ = false;
    std::chrono::steady_clock::time_point checked_at_{};
};

class ClockSeededRandom : public RandomSource {
  public:
    double NextUniform() override;
};

}  // namespace vellumar::win32
