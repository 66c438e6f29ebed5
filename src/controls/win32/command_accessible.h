#pragma once
// What assistive tools get for a Command button's client area: the
// platform's standard object for the window, with the answers of a push
// button on top (role, default action "Press", pressed and default states),
// so the button reads as a push button named by its caption even where the
// platform's own button proxy does not recognise an owner-drawn button.

#include <windows.h>
// After windows.h, which it builds on.
#include <oleacc.h>

namespace vellumar::win32 {

// The WM_GETOBJECT answer for the client object of `hwnd`, or 0 when the
// accessibility library is missing (the caller then lets the button class
// answer). `pressed` and `is_default` are read when asked, through the
// window, so the object may outlive it.
LRESULT CommandAccessibleResult(HWND hwnd, WPARAM wparam);
// The object itself, with one reference for the caller; null when the
// accessibility library is missing. It answers IUnknown, IDispatch,
// IAccessible and IOleWindow.
IAccessible* CreateCommandAccessible(HWND hwnd);

}  // namespace vellumar::win32
