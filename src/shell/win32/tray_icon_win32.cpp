#include "shell/win32/tray_icon_win32.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "platform/win32/dpi.h"
#include "platform/win32/icon_metrics.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

DWORD MessageOf(TrayOperation operation) {
    switch (operation) {
        case TrayOperation::Add:
            return NIM_ADD;
        case TrayOperation::Modify:
            return NIM_MODIFY;
        case TrayOperation::Delete:
            return NIM_DELETE;
    }
    return NIM_MODIFY;
}

// The display's colour depth decides which image of a frame is used.
int DisplayBitsPerPixel() {
    WindowDc screen(nullptr);
    if (!screen.Get())
        return 32;
    return ::GetDeviceCaps(screen.Get(), BITSPIXEL) * ::GetDeviceCaps(screen.Get(), PLANES);
}

// The version word that CreateIconFromResourceEx expects for icon images.
constexpr DWORD kIconResourceVersion = 0x00030000;

}  // namespace

bool ShellNotificationArea::Notify(TrayOperation operation, const TrayIconRecord& record) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = WindowOf(record.window);
    data.uID = record.id;
    data.uFlags = record.flags;
    data.uCallbackMessage = record.callback_message;
    data.hIcon = reinterpret_cast<HICON>(record.icon);
    const std::wstring tip = Widen(record.tip);
    std::wcsncpy(data.szTip, tip.c_str(), std::size(data.szTip) - 1);
    return ::Shell_NotifyIconW(MessageOf(operation), &data) != FALSE;
}

TrayFrameIconSet::TrayFrameIconSet(const TrayArtwork& artwork, int size_pixels) {
    const int size = std::max(kTrayFrameSizePixels,
                              size_pixels > 0 ? size_pixels : SmallIconPixels(SystemDpi()));
    const int display_bits = DisplayBitsPerPixel();
    for (int frame = 1; frame <= kTrayFrameCount; ++frame) {
        const auto images = TrayFrameImages(frame, artwork, size);
        const IconImage& image = ChooseIconImage(images, display_bits);
        // The API takes a non-const pointer but only reads the bytes.
        auto* bytes = const_cast<PBYTE>(image.bytes.data());
        icons_[static_cast<std::size_t>(frame - 1)].Reset(
            ::CreateIconFromResourceEx(bytes, static_cast<DWORD>(image.bytes.size()), TRUE,
                                       kIconResourceVersion, size, size, LR_DEFAULTCOLOR));
    }
}

NativeIcon TrayFrameIconSet::FrameIcon(int frame) {
    if (frame < 1 || frame > kTrayFrameCount)
        return 0;
    return reinterpret_cast<NativeIcon>(icons_[static_cast<std::size_t>(frame - 1)].Get());
}

}  // namespace vellumar::win32
