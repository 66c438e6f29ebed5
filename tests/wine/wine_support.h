#pragma once
// Shared pieces of the tests under Wine: a top-level window to hold buttons,
// message pumping and waiting, what a window shows on screen, and the GDI and
// USER object counts.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "controls/win32/gdi_surface.h"

namespace vellumar::win32::testing {

// A plain top-level window (the static class paints nothing of interest)
// that parents the buttons of a test.
class TestContainer {
  public:
    explicit TestContainer(bool visible = true, int width = 400, int height = 200) {
        hwnd_ = ::CreateWindowExW(
            0, L"STATIC", L"Command test", WS_POPUP | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0),
            100, 100, width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    ~TestContainer() {
        if (hwnd_)
            ::DestroyWindow(hwnd_);
    }
    TestContainer(const TestContainer&) = delete;
    TestContainer& operator=(const TestContainer&) = delete;
    HWND Handle() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

inline void PumpMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Pumps until `done` holds or `timeout_ms` have passed; true when it held.
template <typename Predicate>
bool PumpUntil(Predicate done, DWORD timeout_ms = 2000) {
    const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
    while (!done()) {
        if (::GetTickCount64() > deadline)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

// The pixels a window's client area shows on screen now, row by row.
inline std::vector<std::uint32_t> ScreenPixels(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    GdiSurface shot;
    if (!shot.Resize(client.right, client.bottom))
        return {};
    HDC screen = ::GetDC(window);
    ::BitBlt(shot.Dc(), 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    ::ReleaseDC(window, screen);
    ::GdiFlush();
    return {shot.Bits(), shot.Bits() + client.right * client.bottom};
}

// GDI objects of this process. Wine answers GetGuiResources with 0; there
// the handle table is counted instead: a handle given by its table index
// alone names whatever live object sits at that index.
inline int GdiObjectCount() {
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return static_cast<int>(reported);
    int count = 0;
    for (std::uintptr_t index = 1; index < 0x10000; ++index) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++count;
    }
    return count;
}

// USER objects of this process. Wine answers GetGuiResources with 0; there
// the windows of this thread are counted, and the menus and icons of this
// process through the USER handle table: as with GDI, a handle given by its
// table index alone names whatever live object sits at that index, and
// another process's objects are not ours to query.
inline int UserObjectCount() {
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (reported != 0)
        return static_cast<int>(reported);
    int count = 0;
    auto count_top = [](HWND hwnd, LPARAM param) -> BOOL {
        ++*reinterpret_cast<int*>(param);
        ::EnumChildWindows(
            hwnd,
            [](HWND, LPARAM p) -> BOOL {
                ++*reinterpret_cast<int*>(p);
                return TRUE;
            },
            param);
        return TRUE;
    };
    ::EnumThreadWindows(::GetCurrentThreadId(), count_top, reinterpret_cast<LPARAM>(&count));
    for (std::uintptr_t index = 0x20; index < 0x10000; index += 2) {
        if (::IsMenu(reinterpret_cast<HMENU>(index)))
            ++count;
        ICONINFO icon{};
        if (::GetIconInfo(reinterpret_cast<HICON>(index), &icon)) {
            ++count;
            // The copies of its bitmaps are the caller's.
            ::DeleteObject(icon.hbmColor);
            ::DeleteObject(icon.hbmMask);
        }
    }
    return count;
}

// A top-level window of this process with the class (and, when given, the
// title). Test processes run side by side on one desktop, so a plain
// FindWindow can answer with another process's window.
inline HWND FindWindowHere(const wchar_t* class_name, const wchar_t* title = nullptr) {
    for (HWND w = ::FindWindowExW(nullptr, nullptr, class_name, title); w;
         w = ::FindWindowExW(nullptr, w, class_name, title)) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(w, &process);
        if (process == ::GetCurrentProcessId())
            return w;
    }
    return nullptr;
}

}  // namespace vellumar::win32::testing
