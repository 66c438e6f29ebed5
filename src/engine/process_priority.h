#pragma once
// The first way: every TimerProcess tick looks at the foreground window;
// when the user has switched to a new target, the process of the window
// that was in front one tick earlier goes back to normal priority, the new
// window's process is raised to the class chosen in ComboSpeed, and the
// raise is shown (Process and State pages) and logged (ListViewHistory).
// Nothing is ever lowered below normal and nothing is undone when the
// feature is switched off: a process keeps the class it was last given.
// The log keeps the newest kHistoryRowCap raises, so a program that runs
// for weeks does not grow with every switch; rows keep their numbers, and
// the raised count is the true total.
//
// The caption of LabelNowImproveProcess is the memory of the current
// target: a window whose title begins with it counts as the same target.

#include <cstdint>
#include <string>

#include "controls/controls.h"
#include "platform/system.h"

namespace vellumar {

// Length of the title buffer: at most 254 characters of a title are read.
inline constexpr int kTitleBufferChars = 255;

// More rows than anyone scrolls through; each costs well under a kilobyte.
inline constexpr int kHistoryRowCap = 1000;

// Gives a process a priority class. The process is `process` when not 0,
// else the owner of `window` when not 0, else this program. Returns the
// class read back (0 when the process could not be opened).
std::uint32_t SetProcessPriority(Desktop& desktop, Processes& processes, ProcessId process,
                                 WindowHandle window, std::uint32_t priority_class);

// `count` digits, each from 2 to 8.
std::string RandomDigits(int count, RandomSource& random);

struct PriorityControls {
    CheckBox& enable;            // CheckNowImproveProcess
    ComboList& speed;            // ComboSpeed
    Label& now_improving;        // LabelNowImproveProcess (caption and tool tip)
    Label& state_now_improving;  // LabelStateNowImproving
    Label& speed_figure;         // LabelSpeed
    Label& improved_count;       // LabelImprovedCount
    ListView& history;           // ListViewHistory
};

class PriorityRaiser {
  public:
    PriorityRaiser(Desktop& desktop, Processes& processes, Clock& clock, RandomSource& random,
                   PriorityControls controls)
        : desktop_(desktop),
          processes_(processes),
          clock_(clock),
          random_(random),
          controls_(controls) {}

    // TimerProcess_Timer.
    void Tick();
    // Gives the process raised last its normal class back, if it still has
    // the class it was given (a class the user set since is left alone).
    // Raising switched off, Exit and the end of the session run it.
    void PutBack();

    WindowHandle ForegroundWindow() const { return foreground_window_; }
    WindowHandle LastForegroundWindow() const { return last_foreground_window_; }
    int ImprovedCount() const { return improved_count_; }

  private:
    Desktop& desktop_;
    Processes& processes_;
    Clock& clock_;
    RandomSource& random_;
    PriorityControls controls_;
    WindowHandle foreground_window_ = 0;
    WindowHandle last_foreground_window_ = 0;
    int improved_count_ = 0;
    // The process raised last and the class it was given; 0 for none.
    ProcessId raised_process_ = 0;
    std::uint32_t raised_class_ = 0;
};

}  // namespace vellumar
