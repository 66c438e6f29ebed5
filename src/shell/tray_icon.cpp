#include "shell/tray_icon.h"

#include <utility>

#include "shell/tray_frames.h"

namespace vellumar {

ModuleTrayIcon::ModuleTrayIcon(NotificationArea& area, TrayFrameIcons& frames,
                               std::function<NativeWindow()> main_window)
    : area_(area), frames_(frames), main_window_(std::move(main_window)) {}

// Every add and modify rewrites the whole record, so nothing a previous
// operation left behind can leak into the next one.
void ModuleTrayIcon::FillRecord(int frame) {
    record_.id = 0;
    record_.window = main_window_ ? main_window_() : 0;
    record_.icon = frames_.FrameIcon(frame);
    record_.callback_message = kTrayCallbackMessage;
    record_.flags = kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip;
    record_.tip = std::string(kTrayTip);
}

void ModuleTrayIcon::AddTrayIcon() {
    FillRecord(1);
    (void)area_.Notify(TrayOperation::Add, record_);
}

void ModuleTrayIcon::ModifyTrayIcon(int frame) {
    if (frame < 1 || frame > kTrayFrameCount)
        return;
    FillRecord(frame);
    (void)area_.Notify(TrayOperation::Modify, record_);
}

void ModuleTrayIcon::DeleteTrayIcon() {
    (void)area_.Notify(TrayOperation::Delete, record_);
}

void TimerTrayIcon_Timer(int& tray_icon_frame, ModuleTrayIcon& tray_icon) {
    if (tray_icon_frame < 1 || tray_icon_frame > kTrayFrameCount)
        return;
    tray_icon_frame = tray_icon_frame == kTrayFrameCount ? 1 : tray_icon_frame + 1;
    tray_icon.ModifyTrayIcon(tray_icon_frame);
}

}  // namespace vellumar
