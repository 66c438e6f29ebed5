#include "app/win32/window_icons.h"

#include <utility>

#include "app/artwork.h"
#include "controls/win32/gdi.h"
#include "platform/win32/icon_metrics.h"

namespace vellumar::win32 {

void WindowIcons::ShowOn(HWND window, int dpi) {
    UniqueIcon large = IconFromPixels(artwork::ProgramIcon(LargeIconPixels(dpi)));
    UniqueIcon small = IconFromPixels(artwork::ProgramIcon(SmallIconPixels(dpi)));
    // An icon that could not be made leaves the window the one it has.
    if (large.Get()) {
        ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large.Get()));
        large_ = std::move(large);
    }
    if (small.Get()) {
        ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
        small_ = std::move(small);
    }
}

}  // namespace vellumar::win32
