#include "engine/process_limits.h"

#include <charconv>
#include <utility>

namespace vellumar {

namespace {

// A row's "PID" text as a number; 0 for text that is not one.
ProcessId PidOf(const std::string& text) {
    ProcessId pid = 0;
    std::from_chars(text.data(), text.data() + text.size(), pid);
    return pid;
}

}  // namespace

void ProcessLimits::ResetUnusedSlots() {
    for (ProcessLimit& slot : slots_) {
        if (slot.PID == 0)
            slot.InUse = false;
    }
}

ProcessLimit* ProcessLimits::FirstWithPid(ProcessId pid) {
    for (ProcessLimit& slot : slots_) {
        if (slot.PID == pid)
            return &slot;
    }
    return nullptr;
}

ProcessLimit* ProcessLimits::FirstFree() {
    for (ProcessLimit& slot : slots_) {
        if (!slot.InUse)
            return &slot;
    }
    return nullptr;
}

int ProcessLimits::CountInUse(MessagePump& pump) const {
    int count = 0;
    for (const ProcessLimit& slot : slots_) {
        pump.ProcessPendingEventsUnlessJustChecked();
        if (slot.InUse)
            ++count;
        pump.ProcessPendingEventsUnlessJustChecked();
    }
    return count;
}

ProcessLimiter::ProcessLimiter(LimitServices services, LimitPageControls controls,
                               ProcessLimits& limits, FormSetProcessCpuPercent& dialog,
                               std::string title)
    : services_(services),
      controls_(controls),
      limits_(limits),
      dialog_(dialog),
      title_(std::move(title)),
      list_(services.snapshots, services.icons, controls.list, controls.images) {
    controls_.refresh.onClick = [this] { CommandRefreshProcess_Click(); };
    controls_.limit.onClick = [this] { CommandLimitProcessCPU_Click(); };
    controls_.list.onDblClick = [this] { ListViewProcesses_DblClick(); };
    controls_.timer.SetHandler([this] { TimerCPU_Timer(); });
}

void ProcessLimiter::CommandRefreshProcess_Click() {
    list_.RefreshProcessList();
    ListView& list = controls_.list;
    for (int index = 0; index < ProcessLimits::kSlotCount; ++index) {
        ProcessLimit& slot = limits_.Slot(index);
        if (!slot.InUse)
            continue;
        bool listed = false;
        for (int row = 0; row < list.RowCount(); ++row) {
            if (PidOf(list.Row(row)[kColumnPid]) == slot.PID) {
                list.SetCell(row, kColumnLimit, std::to_string(slot.LimitPercent) + "%");
                listed = true;
            }
        }
        // The process has ended or can no longer be listed.
        if (!listed)
            slot.InUse = false;
    }
}

void ProcessLimiter::CommandLimitProcessCPU_Click() {
    ListView& list = controls_.list;
    const int row = list.SelectedRow();
    if (list.RowCount() == 0 || row < 0 || dialog_.Shown())
        return;
    const std::string pid_text = list.Row(row)[kColumnPid];
    const ProcessId pid = PidOf(pid_text);
    const std::string path = list_.GetProcessPath(pid, list.Row(row)[kColumnProcess]);

    dialog_.SliderPercent.SetValue(99);
    if (!list.Row(row)[kColumnLimit].empty()) {
        dialog_.SetMode(CpuLimitMode::ExistingLimit);
        if (const ProcessLimit* slot = limits_.FirstWithPid(pid))
            dialog_.SliderPercent.SetValue(slot->LimitPercent);
    } else {
        const int held = limits_.CountInUse(services_.pump);
        // A refresh that ran while the count yielded has rebuilt the list:
        // the row this command was for may be gone or another process's.
        if (list.SelectedRow() != row || row >= list.RowCount() ||
            list.Row(row)[kColumnPid] != pid_text) {
            return;
        }
        if (held >= ProcessLimits::kSlotCount) {
            services_.boxes.ShowWarning(title_, std::string(kCanNotLimitMoreMessage));
            return;
        }
        dialog_.SetMode(CpuLimitMode::NewLimit);
    }
    dialog_.LabelProcessPID.SetText(pid_text);
    dialog_.LabelProcessPath.SetText(path);
    dialog_.ImageProcessIco.SetPicture(list_.GetFileIcon(path, false));
    dialog_.ShowModal();
}

void ProcessLimiter::TimerCPU_Timer() {
    const std::string count = std::to_string(limits_.CountInUse(services_.pump));
    controls_.limited_count.SetText(count);
    controls_.state_limited_count.SetText(count);
}

}  // namespace vellumar
