#pragma once
// The main window's title-bar and task-switcher icons: the program icon
// drawn by code at the sizes the system uses for the window's display scale,
// made again whenever that scale changes.

#include <windows.h>

#include "platform/win32/handles.h"

namespace vellumar::win32 {

class WindowIcons {
  public:
    // Draws the small and the large icon for `dpi` and gives them to
    // `window`; the icons it showed before are destroyed once replaced.
    void ShowOn(HWND window, int dpi);

  private:
    UniqueIcon large_;
    UniqueIcon small_;
};

}  // namespace vellumar::win32
