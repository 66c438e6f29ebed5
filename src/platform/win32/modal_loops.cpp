#include "platform/win32/modal_loops.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace vellumar::win32 {

namespace {

bool IsDialog(HWND window) {
    wchar_t class_name[8] = {};
    const int length = ::GetClassNameW(window, class_name, 8);
    return std::wstring_view(class_name, static_cast<std::size_t>(length)) == L"#32770";
}

// The thread's modal windows: its dialogs (message boxes among them), and
// any other window that has disabled its owner, the mark of a modal loop of
// the program's own.
std::vector<HWND> ModalWindows() {
    std::vector<HWND> found;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            HWND owner = ::GetWindow(window, GW_OWNER);
            if (IsDialog(window) ||
                (owner && !::IsWindowEnabled(owner) && ::IsWindowEnabled(window)))
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

void EndModalLoops() {
    ::EndMenu();
    // The newest first (the enumeration runs from the top of the z-order), so
    // a box opened from a dialog ends before the dialog.
    for (HWND window : ModalWindows()) {
        if (!::IsWindow(window))
            continue;
        if (IsDialog(window)) {
            ::EndDialog(window, IDCANCEL);
        } else {
            ::SendMessageW(window, WM_CLOSE, 0, 0);
        }
    }
}

}  // namespace vellumar::win32
