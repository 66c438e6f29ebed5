#pragma once
// The third way: releasing physical memory by emptying the working set of
// every process, on the user's command (CommandFreeMemory, with a message)
// or every 1, 3, 5 or 10 minutes while automatic release is ticked. The
// amount released is the drop in used memory measured around the walk,
// logged in ListViewMemoryLog, which keeps the newest kMemoryLogRowCap
// releases (rows keep their numbers). ShowMemoryState writes the memory
// figures of the Memory and State pages.
//
// The walk yields to the message loop before and after each process, and
// the snapshot it walks is taken while the loop keeps running (it costs a
// third of a millisecond per process), so the window and the other timers
// keep running; a release started inside
// another (the button pressed during an automatic release) simply runs
// within it, and the outer one's amount includes the inner one's. When Exit
// or the end of the session arrives during a yield, the walk stops at once
// and nothing is measured, shown or logged: the windows are going.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "controls/controls.h"
#include "platform/session.h"
#include "platform/system.h"

namespace vellumar {

struct MemoryFigures {
    std::int64_t total_mb = 0;
    std::int64_t available_mb = 0;
    std::int64_t used_mb = 0;
    int used_percent = 0;  // 0 when the total is 0 MB
    friend bool operator==(const MemoryFigures&, const MemoryFigures&) = default;
};

// Whole megabytes, truncated, from 64-bit byte counts.
MemoryFigures ComputeMemoryFigures(std::uint64_t total_bytes, std::uint64_t available_bytes);

// A release a minute for weeks stays within this many rows.
inline constexpr int kMemoryLogRowCap = 1000;

// Seconds of an interval text of ComboInterval; 0 for any other text.
int IntervalSeconds(std::string_view text);

struct MemoryControls {
    Label& all;                 // LabelMemoryAll
    Label& used;                // LabelMemoryUsed
    Label& left;                // LabelMemoryLeft
    Label& used_percent;        // LabelMemoryUsedPercent
    Label& state_memory_state;  // LabelStateMemoryState
    ListView& log;              // ListViewMemoryLog
    CheckBox& enable_auto;      // CheckEnableAutoFreeMemory
    ComboList& interval;        // ComboInterval
};

class MemoryRelease {
  public:
    MemoryRelease(Processes& processes, MemoryStatus& memory, MessagePump& pump, Clock& clock,
                  MessageBoxes& boxes, std::string title, MemoryControls controls)
        : processes_(processes),
          memory_(memory),
          pump_(pump),
          clock_(clock),
          boxes_(boxes),
          title_(std::move(title)),
          controls_(controls) {}

    // Used physical memory in MB, from a fresh reading.
    std::int64_t GetUsedMemory();
    // Trims every process of a fresh snapshot, yielding around each one.
    // False when the program began to end during a yield: the walk stopped
    // there.
    bool DoAllMiniUseMemory();
    // CommandFreeMemory's click: release, show the amount, log it.
    void CommandFreeMemory_Click();
    // Release and log, without a message.
    void AutoFreeMemory();
    // TimerMemory_Timer: counts seconds toward the next automatic release.
    void TimerMemory_Timer();
    // TimerOnTimeState's work: the figures of both pages. Cheap when nothing
    // changed: no text is built and no label touched.
    void ShowMemoryState();

    int AutoFreeSeconds() const { return auto_free_seconds_; }

  private:
    // The released megabytes; nothing when the program is ending.
    std::optional<std::int64_t> Release();
    // Logs a release as the newest row.
    void Log(std::string event);

    Processes& processes_;
    MemoryStatus& memory_;
    MessagePump& pump_;
    Clock& clock_;
    MessageBoxes& boxes_;
    std::string title_;
    MemoryControls controls_;
    int auto_free_seconds_ = 0;
    int logged_ = 0;  // releases logged, the dropped rows included
    bool shown_once_ = false;
    MemoryFigures shown_;
};

}  // namespace vellumar
