#include "engine/memory_release.h"

namespace vellumar {

namespace {

std::int64_t Megabytes(std::uint64_t bytes) {
    return static_cast<std::int64_t>(bytes / 1024 / 1024);
}

// used / total * 100 to the nearest integer, halves to the even one, in
// exact integer arithmetic.
int PercentHalfEven(std::int64_t used, std::int64_t total) {
    if (total <= 0)
        return 0;
    const std::int64_t scaled = used * 100;
    std::int64_t quotient = scaled / total;
    std::int64_t remainder = scaled % total;
    if (remainder < 0) {  // floor division for a negative amount
        remainder += total;
        --quotient;
    }
    if (2 * remainder > total || (2 * remainder == total && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

}  // namespace

MemoryFigures ComputeMemoryFigures(std::uint64_t total_bytes, std::uint64_t available_bytes) {
    MemoryFigures figures;
    figures.total_mb = Megabytes(total_bytes);
    figures.available_mb = Megabytes(available_bytes);
    figures.used_mb = figures.total_mb - figures.available_mb;
    figures.used_percent = PercentHalfEven(figures.used_mb, figures.total_mb);
    return figures;
}

int IntervalSeconds(std::string_view text) {
    if (text == "1 minute")
        return 60;
    if (text == "3 minute")
        return 180;
    if (text == "5 minute")
        return 300;
    if (text == "10 minute")
        return 600;
    return 0;
}

std::int64_t MemoryRelease::GetUsedMemory() {
    std::uint64_t total = 0;
    std::uint64_t available = 0;
    if (!memory_.PhysicalMemory(total, available))
        return 0;
    return ComputeMemoryFigures(total, available).used_mb;
}

bool MemoryRelease::DoAllMiniUseMemory() {
    for (const ProcessId process : processes_.SnapshotWhileHandlingEvents(pump_)) {
        pump_.ProcessPendingEvents();
        if (pump_.Quitting())
            return false;
        (void)processes_.TrimWorkingSet(process);
        pump_.ProcessPendingEvents();
        if (pump_.Quitting())
            return false;
    }
    return true;
}

std::optional<std::int64_t> MemoryRelease::Release() {
    const std::int64_t before = GetUsedMemory();
    if (!DoAllMiniUseMemory())
        return std::nullopt;
    return before - GetUsedMemory();
}

void MemoryRelease::CommandFreeMemory_Click() {
    const auto released = Release();
    if (!released)
        return;
    const std::string amount = std::to_string(*released) + " MB memory released.";
    boxes_.ShowInformation(title_, "Success! " + amount);
    Log(amount);
}

void MemoryRelease::AutoFreeMemory() {
    const auto released = Release();
    if (!released)
        return;
    Log(std::to_string(*released) + " MB memory released.");
}

void MemoryRelease::Log(std::string event) {
    ListView& log = controls_.log;
    if (log.RowCount() >= kMemoryLogRowCap)
        log.RemoveRow(0);
    const int row = log.AddRow(std::to_string(++logged_));
    log.SetCell(row, 1, clock_.TimeOfDayText());
    log.SetCell(row, 2, std::move(event));
    log.EnsureVisible(row);
}

void MemoryRelease::TimerMemory_Timer() {
    const int seconds = IntervalSeconds(controls_.interval.Text());
    ++auto_free_seconds_;
    if (auto_free_seconds_ >= seconds && controls_.enable_auto.Value() == 1) {
        auto_free_seconds_ = 1;
        AutoFreeMemory();
    }
}

void MemoryRelease::ShowMemoryState() {
    std::uint64_t total = 0;
    std::uint64_t available = 0;
    if (!memory_.PhysicalMemory(total, available))
        return;
    const MemoryFigures figures = ComputeMemoryFigures(total, available);
    if (shown_once_ && figures == shown_)
        return;
    shown_once_ = true;
    shown_ = figures;
    controls_.all.SetText(std::to_string(figures.total_mb) + " MB");
    controls_.used.SetText(std::to_string(figures.used_mb) + " MB");
    controls_.left.SetText(std::to_string(figures.available_mb) + " MB");
    const std::string percent = std::to_string(figures.used_percent) + "%";
    controls_.used_percent.SetText(percent);
    controls_.state_memory_state.SetText(percent);
}

}  // namespace vellumar
