#pragma once
// The notification area and the animation's frame icons on Win32: every
// operation of ModuleTrayIcon becomes one Shell_NotifyIconW call with the
// platform's current NOTIFYICONDATAW, and the six frames become icons made
// once from the image of each frame that suits the display.

#include <windows.h>

#include <array>

#include "platform/win32/handles.h"
#include "shell/tray_frames.h"
#include "shell/tray_icon.h"

namespace vellumar::win32 {

class ShellNotificationArea : public NotificationArea {
  public:
    bool Notify(TrayOperation operation, const TrayIconRecord& record) override;
};

// The six frame icons, alive as long as this object (the process), drawn at
// the size the notification area shows them: the system's small icon at the
// session's scale (the shell's own), or `size_pixels` when given.
class TrayFrameIconSet : public TrayFrameIcons {
  public:
    explicit TrayFrameIconSet(const TrayArtwork& artwork, int size_pixels = 0);
    NativeIcon FrameIcon(int frame) override;

  private:
    std::array<UniqueIcon, 6> icons_;
};

inline HWND WindowOf(NativeWindow window) {
    return reinterpret_cast<HWND>(window);
}
inline NativeWindow NativeOf(HWND window) {
    return reinterpret_cast<NativeWindow>(window);
}

}  // namespace vellumar::win32
