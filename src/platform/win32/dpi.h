#pragma once
// The display scale windows are laid out at. Newer systems report it per
// window (a window follows its monitor when the process is aware of each
// monitor's scale); older ones have one scale for the whole session.

#include <windows.h>

namespace vellumar::win32 {

// Dots per inch of the session's primary scale (96 at 100 %).
int SystemDpi();
// Dots per inch `hwnd` is shown at; the session's scale where the system
// cannot tell per window, or for a null window.
int WindowDpi(HWND hwnd);

// The scale a top-level window and everything in it is laid out at: the
// window records it whenever it lays itself out, and its descendants read it
// from there, so one window never mixes two scales while it changes.
void SetLayoutDpi(HWND top_level, int dpi);
// The scale `hwnd`'s top-level window recorded; its own DPI otherwise.
int LayoutDpi(HWND hwnd);

// LayoutDpi for a control that asks at every change of its text (the clock,
// each second): the recorded scale is read again only after the next
// SetLayoutDpi on any window, since under Wine each read is a round trip to
// the window server. Each control keeps its own, so no window handle that
// was closed and reused can carry a stale scale.
class LayoutDpiCache {
  public:
    int Get(HWND hwnd);

  private:
    unsigned read_at_ = 0;  // the SetLayoutDpi count at the read; 0 = not read
    int recorded_ = 0;
};

// A system metric (an icon size, a frame width) as the system gives it for
// `dpi`; where it can only tell the session's scale, that figure scaled.
int SystemMetricAt(int index, int dpi);

}  // namespace vellumar::win32
