#pragma once
// The sizes the system shows icons at, for a display scale: the small icon
// of title bars and the notification area, the large one of the task
// switcher. Newer systems answer for any DPI; older ones know only the
// session's own scale, whose sizes are scaled proportionally.

namespace vellumar::win32 {

// Width (= height) of a small icon at `dpi`, in pixels.
int SmallIconPixels(int dpi);
// Width (= height) of a large icon at `dpi`, in pixels.
int LargeIconPixels(int dpi);

}  // namespace vellumar::win32
