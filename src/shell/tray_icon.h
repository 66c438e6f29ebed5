#pragma once
// ModuleTrayIcon: the program's one icon in the notification area. It owns
// the icon's record and its add, modify and delete operations; the main
// window owns the animation timer TimerTrayIcon (990 ms) and the frame
// counter TrayIconFrame, and its tick (TimerTrayIcon_Timer below) shows the
// next of the six frames of shell/tray_frames.h.
//
// Lifecycle: startup adds the icon as its very last step, after the window
// hook is installed (shell/window_hook.h); the hook adds it again when the
// shell announces "TaskbarCreated"; the ticks modify it; the program's
// shutdown (shell/tray_menu.h) deletes it first of all. Results of the
// platform calls are not examined: a missing shell simply means no icon
// until it announces itself.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/product.h"

namespace vellumar {

// Message the icon sends to the main window for mouse activity over it.
inline constexpr unsigned kTrayCallbackMessage = 2025;
inline constexpr std::string_view kTrayTip = kProgramName;

inline constexpr unsigned kTrayFlagMessage = 1;
inline constexpr unsigned kTrayFlagIcon = 2;
inline constexpr unsigned kTrayFlagTip = 4;

// Platform handles as the portable code carries them: opaque integers.
using NativeWindow = std::uintptr_t;
using NativeIcon = std::uintptr_t;

enum class TrayOperation { Add = 0, Modify = 1, Delete = 2 };

// The fields of the platform's notification-icon record that the program sets.
struct TrayIconRecord {
    NativeWindow window = 0;
    unsigned id = 0;
    unsigned flags = 0;
    unsigned callback_message = 0;
    NativeIcon icon = 0;
    std::string tip;
};

// The shell's notification area (Shell_NotifyIcon).
class NotificationArea {
  public:
    virtual ~NotificationArea() = default;
    // True when the shell accepted the operation.
    virtual bool Notify(TrayOperation operation, const TrayIconRecord& record) = 0;
};

// The six frame icons; each lives as long as the process.
class TrayFrameIcons {
  public:
    virtual ~TrayFrameIcons() = default;
    // Frame 1 to 6.
    virtual NativeIcon FrameIcon(int frame) = 0;
};

class ModuleTrayIcon {
  public:
    // `main_window` gives the main window's handle, read afresh at every add
    // and modify.
    ModuleTrayIcon(NotificationArea& area, TrayFrameIcons& frames,
                   std::function<NativeWindow()> main_window);

    // Shows frame 1.
    void AddTrayIcon();
    // ModifyTrayIcon1 to ModifyTrayIcon6 in one: shows frame 1 to 6.
    void ModifyTrayIcon(int frame);
    // Removes the icon that the last add or modify placed.
    void DeleteTrayIcon();

    const TrayIconRecord& Record() const { return record_; }

  private:
    void FillRecord(int frame);

    NotificationArea& area_;
    TrayFrameIcons& frames_;
    std::function<NativeWindow()> main_window_;
    TrayIconRecord record_;
};

// One tick of TimerTrayIcon: advances `tray_icon_frame` through 1 to 6 and
// back to 1, storing the new value before showing that frame. A counter
// outside 1 to 6 makes the tick do nothing at all.
void TimerTrayIcon_Timer(int& tray_icon_frame, ModuleTrayIcon& tray_icon);

}  // namespace vellumar
