// The main window's texts at 150 % and 200 % display scale: on every page,
// each label's text in its own font fits its window (wrapped where the label
// wraps), and each check box's text fits beside its box.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "main_frame_fixture.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {
namespace {

struct TextRoom {
    std::wstring text;
    SIZE needed;
    SIZE room;
    bool Fits() const { return needed.cx <= room.cx && needed.cy <= room.cy; }
};

// The room a label's or check box's text needs and has; nothing for other windows.
std::optional<TextRoom> MeasureText(HWND window, int dpi) {
    wchar_t class_name[32] = {};
    ::GetClassNameW(window, class_name, 32);
    const std::wstring kind = class_name;
    const LONG type = ::GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    const bool check_box = kind == L"Button" && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX);
    if (kind != L"VellumarLabel" && !check_box)
        return std::nullopt;
    wchar_t buffer[512] = {};
    ::GetWindowTextW(window, buffer, 512);
    RECT client{};
    ::GetClientRect(window, &client);
    const std::wstring text = buffer;
    if (text.empty())
        return std::nullopt;

    HDC dc = ::GetDC(window);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    const HGDIOBJ old_font = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    // A check box's box and the gap after it, at the scale.
    const int box = check_box ? ::MulDiv(13 + 4, dpi, 96) : 0;
    // Labels wrap as they paint them: where there is room for two lines.
    const bool wraps = !check_box && (client.bottom >= 2 * metrics.tmHeight ||
                                      text.find(L'\n') != std::wstring::npos);
    RECT needed{0, 0, client.right - box, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, old_font);
    ::ReleaseDC(window, dc);
    return TextRoom{text, {needed.right + box, needed.bottom}, {client.right, client.bottom}};
}

std::vector<HWND> ShownDescendants(HWND parent) {
    std::vector<HWND> found;
    ::EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            if (::IsWindowVisible(hwnd))
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(DisplayScaleOnWindows, NoTextIsClippedOnAnyPageAt150And200Percent) {
    RealMainWindow main;
    main.form.InitialLayout();
    main.form.FillLists();
    main.form.ReadSettings();
    main.frame.ShowAfterLoad();
    const HWND frame = main.frame.Handle();
    for (const int dpi : {144, 192}) {
        RECT suggested{0, 0, ::MulDiv(786, dpi, 96), ::MulDiv(557, dpi, 96)};
        ::SendMessageW(frame, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        for (const Page page : kPageOrder) {
            main.form.SelectPage(page);
            int measured = 0;
            for (HWND child : ShownDescendants(frame)) {
                const std::optional<TextRoom> text = MeasureText(child, dpi);
                if (!text)
                    continue;
                ++measured;
                EXPECT_TRUE(text->Fits())
                    << dpi << " dpi, page " << static_cast<int>(page) << ": \""
                    << Narrow(text->text) << "\" needs " << text->needed.cx << " x "
                    << text->needed.cy << ", has " << text->room.cx << " x " << text->room.cy;
            }
            EXPECT_GT(measured, 3) << static_cast<int>(page);
        }
    }
}

}  // namespace
}  // namespace vellumar::win32
