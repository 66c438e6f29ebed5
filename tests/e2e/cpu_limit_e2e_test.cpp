// The second way end to end: a real vellumar.exe lists a started notepad,
// records a CPU-usage limit for it through the dialog, counts it, drops it
// when notepad has ended, and refuses a fourth limit.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <cwctype>

#include "e2e/driver.h"

namespace {

using e2e::FindChild;
using e2e::ListViewCell;

constexpr wchar_t kDialogCaption[] = L"Process CPU usage limit";

HWND WaitForLimitDialog(DWORD pid) {
    HWND dialog = nullptr;
    e2e::WaitUntil([&] {
        for (HWND window : e2e::TopLevelWindows(pid, L"#32770")) {
            if (e2e::WindowText(window) == kDialogCaption && ::IsWindowVisible(window))
                dialog = window;
        }
        return dialog != nullptr;
    });
    return dialog;
}

// The Limit command waits in the modal dialog, so its click is posted.
HWND OpenLimitDialog(HWND main, HWND list, DWORD pid, int row) {
    e2e::SelectListViewRow(list, pid, row);
    ::PostMessageW(FindChild(main, L"Limit"), BM_CLICK, 0, 0);
    return WaitForLimitDialog(pid);
}

void Press(HWND dialog, const wchar_t* caption) {
    ::PostMessageW(FindChild(dialog, caption), BM_CLICK, 0, 0);
    e2e::WaitUntil([&] { return !::IsWindow(dialog); });
}

int RowOf(HWND list, DWORD program, DWORD pid) {
    for (int row = 0; row < e2e::ListViewRows(list); ++row) {
        if (ListViewCell(list, program, row, 1) == std::to_wstring(pid))
            return row;
    }
    return -1;
}

struct CpuPage {
    explicit CpuPage(const wchar_t* name) : started(name) {
        main = started.main;
        e2e::ClickWindow(FindChild(main, L"Process CPU usage limit"));
        list = FindChild(main, L"ListViewProcesses", false);
        limited = e2e::ValueRightOf(FindChild(main, L"Limited count:"));
        state_limited = e2e::ValueRightOf(FindChild(main, L"Process limited count:", false));
    }
    DWORD Pid() const { return started.program.Pid(); }
    bool CountsRead(const wchar_t* count) const {
        return e2e::WaitUntil(
            [&] {
                return e2e::WindowText(limited) == count && e2e::WindowText(state_limited) == count;
            },
            5000);
    }
    e2e::StartedProgram started;
    HWND main = nullptr;
    HWND list = nullptr;
    HWND limited = nullptr;
    HWND state_limited = nullptr;
};

TEST(CpuLimitEndToEnd, ALimitForNotepadIsRecordedCountedAndDroppedWhenItEnds) {
    e2e::ChildProcess notepad(L"notepad.exe");
    ASSERT_TRUE(notepad.Started());
    ::WaitForInputIdle(notepad.Process(), 10000);
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    ASSERT_TRUE(::QueryFullProcessImageNameW(notepad.Process(), 0, image, &length));
    std::wstring path(image, length);
    for (auto& c : path) c = static_cast<wchar_t>(std::towlower(c));

    CpuPage page(L"cpu limit");
    ASSERT_TRUE(page.main && page.list && page.limited && page.state_limited);
    ::SendMessageW(FindChild(page.main, L"Refresh"), BM_CLICK, 0, 0);
    int row = -1;
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return (row = RowOf(page.list, page.Pid(), notepad.Pid())) >= 0; }));
    EXPECT_EQ(ListViewCell(page.list, page.Pid(), row, 2), L"notepad.exe");
    EXPECT_EQ(ListViewCell(page.list, page.Pid(), row, 0), std::to_wstring(row + 1));

    HWND dialog = OpenLimitDialog(page.main, page.list, page.Pid(), row);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), page.main);
    EXPECT_TRUE(FindChild(dialog, std::to_wstring(notepad.Pid())));
    EXPECT_TRUE(FindChild(dialog, path)) << std::string(path.begin(), path.end());
    HWND slider = ::FindWindowExW(dialog, nullptr, TRACKBAR_CLASSW, nullptr);
    ASSERT_TRUE(slider);
    EXPECT_EQ(::SendMessageW(slider, TBM_GETPOS, 0, 0), 99);
    EXPECT_TRUE(FindChild(dialog, L"Cancel"));
    EXPECT_FALSE(FindChild(dialog, L"Adjustment"));
    e2e::SaveScreenshot(dialog, "cpu-limit-dialog-new");
    Press(dialog, L"OK");

    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return ListViewCell(page.list, page.Pid(), row, 3) == L"99%"; }, 5000));
    EXPECT_TRUE(page.CountsRead(L"1"));
    e2e::SaveScreenshot(page.main, "cpu-page");

    // Opened by a click on Limit, the dialog gives the focus back to it.
    e2e::SelectListViewRow(page.list, page.Pid(), row);
    HWND limit = FindChild(page.main, L"Limit");
    e2e::PostClick(limit);
    dialog = WaitForLimitDialog(page.Pid());
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(FindChild(dialog, L"Adjustment") && FindChild(dialog, L"Release"));
    EXPECT_FALSE(FindChild(dialog, L"OK") || FindChild(dialog, L"Cancel"));
    e2e::SaveScreenshot(dialog, "cpu-limit-dialog-existing");
    Press(dialog, L"Adjustment");
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::FocusOf(page.main) == limit; }, 5000));

    notepad.End();
    ::SendMessageW(FindChild(page.main, L"Refresh"), BM_CLICK, 0, 0);
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return RowOf(page.list, page.Pid(), notepad.Pid()) < 0; }, 5000));
    EXPECT_TRUE(page.CountsRead(L"0"));
}

TEST(CpuLimitEndToEnd, AFourthLimitShowsCanNotLimitMore) {
    CpuPage page(L"cpu fourth");
    ASSERT_TRUE(page.list);
    ASSERT_GE(e2e::ListViewRows(page.list), 4);
    for (int row = 0; row < 3; ++row) {
        HWND dialog = OpenLimitDialog(page.main, page.list, page.Pid(), row);
        ASSERT_TRUE(dialog);
        Press(dialog, L"OK");
        EXPECT_EQ(ListViewCell(page.list, page.Pid(), row, 3), L"99%");
    }
    EXPECT_TRUE(page.CountsRead(L"3"));
    e2e::SelectListViewRow(page.list, page.Pid(), 3);
    ::PostMessageW(FindChild(page.main, L"Limit"), BM_CLICK, 0, 0);
    HWND box = e2e::WaitForMessageBox(page.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(e2e::WindowText(::GetDlgItem(box, 0xFFFF)), L"Can not limit more");
    EXPECT_EQ(e2e::WindowText(box), L"Vellumar");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(ListViewCell(page.list, page.Pid(), 3, 3), L"");
}

}  // namespace
