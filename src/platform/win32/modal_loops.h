#pragma once
// The program's modal loops: message boxes and dialogs.

#include <windows.h>

namespace vellumar::win32 {

// Ends the modal loops of the calling thread that would keep the program
// from ending: an open popup menu, and the program's own modal message boxes
// and dialogs, however they were opened. Log-off and Exit call it before the
// shutdown, so no loop is left running over windows that are gone.
void EndModalLoops();

// Held across a modal box or dialog, which leaves the focus on its owner:
// gives the focus back to the control that had it (the button that opened
// the box), if that can still take it, so the keyboard goes on where the
// user was.
class ScopedFocusReturn {
  public:
    ScopedFocusReturn() : focused_(::GetFocus()) {}
    ~ScopedFocusReturn() {
        if (focused_ && ::IsWindow(focused_) && ::IsWindowVisible(focused_) &&
            ::IsWindowEnabled(focused_))
            ::SetFocus(focused_);
    }
    ScopedFocusReturn(const ScopedFocusReturn&) = delete;
    ScopedFocusReturn& operator=(const ScopedFocusReturn&) = delete;

  private:
    HWND focused_;
};

}  // namespace vellumar::win32
