#include "engine/process_priority.h"

#include <cmath>

#include "platform/text.h"

namespace vellumar {

std::uint32_t SetProcessPriority(Desktop& desktop, Processes& processes, ProcessId process,
                                 WindowHandle window, std::uint32_t priority_class) {
    ProcessId target = process;
    if (target == 0) {
        target = window != 0 ? desktop.WindowProcess(window) : processes.CurrentProcess();
    }
    return processes.ApplyPriorityClass(target, priority_class);
}

std::string RandomDigits(int count, RandomSource& random) {
    std::string digits;
    for (int i = 0; i < count; ++i) {
        const double r = random.NextUniform();
        const int digit = static_cast<int>(std::floor(r * 7 + 2));
        digits.push_back(static_cast<char>('0' + digit));
    }
    return digits;
}

namespace {

// The first `n` characters of a text as a fixed buffer holds them: a text
// shorter than `n` continues with NULs.
bool SamePrefix(const std::string& a, const std::string& b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const char x = i < a.size() ? a[i] : '\0';
        const char y = i < b.size() ? b[i] : '\0';
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace

void PriorityRaiser::Tick() {
    if (controls_.enable.Value() == 0)
        return;

    const WindowHandle window = desktop_.ForegroundWindow();
    const std::string title = desktop_.WindowTitle(window, kTitleBufferChars - 1);
    last_foreground_window_ = foreground_window_;
    foreground_window_ = window;
    if (window == last_foreground_window_)
        return;
    if (CutAtNul(title).empty())
        return;

    const std::string& current = controls_.now_improving.Text();
    if (SamePrefix(title, current, CutAtNul(current).size()))
        return;

    SetProcessPriority(desktop_, processes_, 0, last_foreground_window_, kNormalPriorityClass);
    const bool high = controls_.speed.Text() == "High";
    const std::uint32_t raised = high ? kHighPriorityClass : kAboveNormalPriorityClass;
    const ProcessId target =
        window != 0 ? desktop_.WindowProcess(window) : processes_.CurrentProcess();
    const bool given = processes_.ApplyPriorityClass(target, raised) == raised && target != 0;
    raised_process_ = given ? target : 0;
    raised_class_ = given ? raised : 0;

    controls_.now_improving.SetText(title);
    controls_.now_improving.SetToolTip(title);
    controls_.state_now_improving.SetText(title);

    ListView& history = controls_.history;
    if (history.RowCount() >= kHistoryRowCap)
        history.RemoveRow(0);
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on "x" + string.
    std::string number(1, ' ');
    number += std::to_string(improved_count_ + 1);
    const int row = history.AddRow(std::move(number));
    history.SetCell(row, 1, clock_.TimeOfDayText());
    history.SetCell(row, 2, title);
    history.EnsureVisible(row);
    history.SetCell(row, 3, high ? "High" : "Above Normal");

    std::string figure(1, high ? '1' : '2');
    figure += RandomDigits(1, random_);
    figure += '%';
    controls_.speed_figure.SetText(std::move(figure));
    ++improved_count_;
    controls_.improved_count.SetText(std::to_string(improved_count_));
}

void PriorityRaiser::PutBack() {
    if (raised_process_ != 0 && processes_.PriorityClassOf(raised_process_) == raised_class_)
        processes_.ApplyPriorityClass(raised_process_, kNormalPriorityClass);
    raised_process_ = 0;
    raised_class_ = 0;
}

}  // namespace vellumar
