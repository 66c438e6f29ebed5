#pragma once
// The running system as the speed-up engine sees it: windows on the desktop,
// processes, physical memory, the clock and the message loop.

#include <cstdint>
#include <string>
#include <vector>

namespace vellumar {

// A top-level window; 0 stands for none.
using WindowHandle = std::uintptr_t;
using ProcessId = std::uint32_t;

// The platform's priority class values.
enum PriorityClass : std::uint32_t {
    kNormalPriorityClass = 0x20,
    kHighPriorityClass = 0x80,
    kAboveNormalPriorityClass = 0x8000,
};

class Desktop {
  public:
    virtual ~Desktop() = default;
    virtual WindowHandle ForegroundWindow() = 0;
    // The window's title, at most `max_chars` characters, as UTF-8; empty
    // for a window without a title or one that no longer exists.
    virtual std::string WindowTitle(WindowHandle window, int max_chars) = 0;
    // The process that owns the window, 0 when it is gone.
    virtual ProcessId WindowProcess(WindowHandle window) = 0;
};

class MessagePump;

class Processes {
  public:
    virtual ~Processes() = default;
    virtual ProcessId CurrentProcess() = 0;
    // Opens the process to query and set its information and, when that
    // works, gives it the class; otherwise opens it to query only. Returns
    // the class read back, 0 when the process cannot be opened at all.
    virtual std::uint32_t ApplyPriorityClass(ProcessId process, std::uint32_t priority_class) = 0;
    // The process's priority class now; 0 when it cannot be read.
    virtual std::uint32_t PriorityClassOf(ProcessId process) = 0;
    // The ids of a fresh process snapshot, in snapshot order; empty when the
    // snapshot fails.
    virtual std::vector<ProcessId> Snapshot() = 0;
    // The same list, for long work on the GUI thread: the snapshot is taken
    // away from the calling thread while `pump` handles the caller's events,
    // so the window keeps answering however many processes there are. By
    // default it is simply taken here.
    virtual std::vector<ProcessId> SnapshotWhileHandlingEvents(MessagePump& pump);
    // Asks the system to remove as many pages as it can from the process's
    // working set; false when the process cannot be opened or the call fails.
    virtual bool TrimWorkingSet(ProcessId process) = 0;
};

class MemoryStatus {
  public:
    virtual ~MemoryStatus() = default;
    // Total and available physical memory in bytes; false when unknown.
    virtual bool PhysicalMemory(std::uint64_t& total_bytes, std::uint64_t& available_bytes) = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // The local time of day in the user's regional time format, no date.
    virtual std::string TimeOfDayText() = 0;
};

class MessagePump {
  public:
    virtual ~MessagePump() = default;
    // Handles the window events that are waiting, then returns; long work on
    // the GUI thread calls it so the window and the timers stay alive.
    virtual void ProcessPendingEvents() = 0;
    // The yield of a loop whose steps take microseconds: as above, unless the
    // queue was looked at a moment ago (by the message loop or the previous
    // yield). What arrived since is handled at the next look, a moment later.
    virtual void ProcessPendingEventsUnlessJustChecked() { ProcessPendingEvents(); }
    // True once the program has been told to end (Exit, or the end of the
    // session) while events were handled: long work stops at once, as the
    // windows it would write to are going or gone.
    virtual bool Quitting() const { return false; }
};

inline std::vector<ProcessId> Processes::SnapshotWhileHandlingEvents(MessagePump&) {
    return Snapshot();
}

// Uniform numbers in [0, 1), reseeded from a clock for each draw.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual double NextUniform() = 0;
};

}  // namespace vellumar
