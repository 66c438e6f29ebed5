#pragma once
// "The second way": CPU-usage limits for up to three processes. The limits
// are records only: they are kept in ProcessLimits, shown in the
// "CPU Usage limited" column of ListViewProcesses as a number and "%", and
// counted on the CPU and State pages. No process is slowed, suspended or
// measured because of them, and they are gone when the program ends.
//
// ProcessLimiter holds the page's commands: "Refresh" rebuilds the list
// (engine/process_list.h), puts the limits back into the rows and frees the
// slots whose process is no longer listed; "Limit" and a double click on
// the list open FormSetProcessCpuPercent (engine/cpu_limit_dialog.h) for the
// selected row; each TimerCPU tick recounts the limits. The count and the
// Limit command yield to pending window events between slots, so other
// ticks and clicks may run in the middle of them.

#include <array>
#include <string>

#include "controls/controls.h"
#include "controls/image_list.h"
#include "engine/cpu_limit_dialog.h"
#include "engine/process_list.h"
#include "platform/process_snapshot.h"
#include "platform/session.h"
#include "platform/system.h"
#include "platform/timer.h"

namespace vellumar {

inline constexpr std::string_view kCanNotLimitMoreMessage = "Can not limit more";

struct ProcessLimit {
    bool InUse = false;
    // Kept when the slot is released, so a later "Adjustment" finds it.
    ProcessId PID = 0;
    int LimitPercent = 0;
    std::string Path;
};

class ProcessLimits {
  public:
    static constexpr int kSlotCount = 3;

    ProcessLimit& Slot(int index) { return slots_[static_cast<std::size_t>(index)]; }
    const ProcessLimit& Slot(int index) const { return slots_[static_cast<std::size_t>(index)]; }
    // Startup: every slot whose PID is 0 is free.
    void ResetUnusedSlots();
    // The first slot in use or not with this PID, or the first free slot;
    // nullptr when there is none.
    ProcessLimit* FirstWithPid(ProcessId pid);
    ProcessLimit* FirstFree();
    // The slots in use, yielding to `pump` before and after each slot's test.
    int CountInUse(MessagePump& pump) const;

  private:
    std::array<ProcessLimit, kSlotCount> slots_{};
};

struct LimitPageControls {
    ListView& list;              // ListViewProcesses
    ImageList& images;           // ImageListProcesses
    Label& limited_count;        // LabelCPULimitedCount
    Label& state_limited_count;  // LabelStateProcessLimited
    PushButton& refresh;         // CommandRefreshProcess
    PushButton& limit;           // CommandLimitProcessCPU
    Timer& timer;                // TimerCPU
};

struct LimitServices {
    ProcessSnapshots& snapshots;
    FileIcons& icons;
    MessagePump& pump;
    MessageBoxes& boxes;
};

class ProcessLimiter {
  public:
    // Wires the page's buttons, the list's double click and TimerCPU.
    ProcessLimiter(LimitServices services, LimitPageControls controls, ProcessLimits& limits,
                   FormSetProcessCpuPercent& dialog, std::string title);

    void CommandRefreshProcess_Click();
    void CommandLimitProcessCPU_Click();
    void ListViewProcesses_DblClick() { CommandLimitProcessCPU_Click(); }
    void TimerCPU_Timer();

    ProcessList& List() { return list_; }

  private:
    LimitServices services_;
    LimitPageControls controls_;
    ProcessLimits& limits_;
    FormSetProcessCpuPercent& dialog_;
    std::string title_;
    ProcessList list_;
};

}  // namespace vellumar
