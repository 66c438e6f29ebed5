// The main window's texts at 150 % and 200 % display scale: on every page,
// each label's text in its own font fits its window (wrapped where the label
// wraps), and each check box's text fits beside its box.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "main_frame_fixture.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {
namespace {

// The room a label's or check box's text needs beyond its window; {0, 0}
// when it fits, and for other windows. Counts the texts it measures.
SIZE Overflow(HWND window, int dpi, int& measured) {
    wchar_t kind[32] = {}, text[512] = {};
    ::GetClassNameW(window, kind, 32);
    ::GetWindowTextW(window, text, 512);
    const LONG type = ::GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    const bool check_box = std::wstring(kind) == L"Button" && type == BS_CHECKBOX;
    if ((std::wstring(kind) != L"VellumarLabel" && !check_box) || !text[0])
        return {};
    ++measured;
    RECT client{};
    ::GetClientRect(window, &client);
    HDC dc = ::GetDC(window);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    // The box and the gap after it; labels wrap as they paint, given room
    // for two lines.
    const int box = check_box ? ::MulDiv(13 + 4, dpi, 96) : 0;
    const bool wraps = !check_box && client.bottom >= 2 * metrics.tmHeight;
    RECT needed{0, 0, client.right - box, 0};
    ::DrawTextW(dc, text, -1, &needed,
                DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return {std::max(0L, needed.right + box - client.right),
            std::max(0L, needed.bottom - client.bottom)};
}

TEST(DisplayScaleOnWindows, NoTextIsClippedOnAnyPageAt150And200Percent) {
    RealMainWindow main;
    main.form.InitialLayout();
    main.form.FillLists();
    main.frame.ShowAfterLoad();
    for (const int dpi : {144, 192}) {
        RECT suggested{0, 0, ::MulDiv(786, dpi, 96), ::MulDiv(557, dpi, 96)};
        ::SendMessageW(main.frame.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        for (const Page page : kPageOrder) {
            main.form.SelectPage(page);
            std::vector<HWND> shown;
            ::EnumChildWindows(
                main.frame.Handle(),
                [](HWND hwnd, LPARAM list) -> BOOL {
                    if (::IsWindowVisible(hwnd))
                        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&shown));
            int measured = 0;
            for (HWND window : shown) {
                const SIZE over = Overflow(window, dpi, measured);
                wchar_t text[512] = {};
                ::GetWindowTextW(window, text, 512);
                EXPECT_TRUE(over.cx == 0 && over.cy == 0)
                    << dpi << " dpi, page " << static_cast<int>(page) << ": \"" << Narrow(text)
                    << "\" is " << over.cx << " x " << over.cy << " pixels too large";
            }
            EXPECT_GT(measured, 3);
        }
    }
}

}  // namespace
}  // namespace vellumar::win32
