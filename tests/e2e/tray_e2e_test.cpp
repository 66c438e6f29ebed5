// The notification icon, its hook and its menu end to end: a real
// vellumar.exe under Wine, driven from outside through the icon's callback
// message, the real popup menu and the shell's notification area.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "e2e/driver.h"

namespace {

using e2e::Installation;
using e2e::Program;

constexpr UINT kTrayCallbackMessage = 2025;
constexpr DWORD kSendTimeoutMs = 10000;

// A copy of the program started shown, on the State page.
using TrayProgram = e2e::StartedProgram;

// Whether the shell holds the icon (main window, id 0): a modify that
// changes nothing succeeds only on an icon that exists.
bool IconPresent(HWND main) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = main;
    data.uID = 0;
    data.uFlags = 0;
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// Sends a message and waits for its answer; false when the program did not
// answer (it would sit in a modal loop, such as an open menu).
bool SendAndAnswer(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    DWORD_PTR answer = 0;
    const bool answered = ::SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL,
                                                kSendTimeoutMs, &answer) != 0;
    result = static_cast<LRESULT>(answer);
    return answered;
}

// The close image's path: the window hides, the program goes on in the tray.
void Hide(HWND main) {
    ::SendMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_FALSE(::IsWindowVisible(main));
}

// The program's popup menu while it is open, or null.
HWND OpenPopupMenu(const Program& program) {
    for (HWND popup : e2e::TopLevelWindows(program.Pid(), L"#32768")) {
        if (::IsWindowVisible(popup))
            return popup;
    }
    return nullptr;
}

HWND OpenMenu(const Program& program, HWND main) {
    // The shell reports the button while the pointer is over the icon, at
    // the bottom right of the screen; the menu opens there.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 24, ::GetSystemMetrics(SM_CYSCREEN) - 14);
    // Posted, as the shell does: the menu's modal loop keeps the program busy.
    ::PostMessageW(main, kTrayCallbackMessage, 0, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    e2e::WaitUntil([&] { return (menu = OpenPopupMenu(program)) != nullptr; });
    return menu;
}

void PressKey(HWND menu, UINT key) {
    ::PostMessageW(menu, WM_KEYDOWN, key, 1);
    ::PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
}

std::wstring VisiblePanel(HWND main) {
    std::wstring shown;
    int count = 0;
    for (const wchar_t* panel : {L"PictureState", L"PictureProcess", L"PictureCPU",
                                 L"PictureMemory", L"PictureSetting", L"PictureAbout"}) {
        if (HWND h = e2e::FindChild(main, panel, false); h && ::IsWindowVisible(h)) {
            shown = panel;
            ++count;
        }
    }
    return count == 1 ? shown : L"<" + std::to_wstring(count) + L" panels>";
}

TEST(TrayEndToEnd, TheIconIsThereAndADoubleClickRestoresOnlyAHiddenWindow) {
    TrayProgram started(L"tray restore");
    HWND main = started.main;
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IconPresent(main); }));
    if (HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr))
        e2e::SaveScreenshot(taskbar, "tray-icon-taskbar");

    // Shown (even minimised): the double click is swallowed, nothing moves.
    ::SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsIconic(main) != FALSE; }, 5000));
    LRESULT result = -1;
    ASSERT_TRUE(SendAndAnswer(main, kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK, result));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(::IsIconic(main));
    EXPECT_TRUE(::IsWindowVisible(main));

    // Hidden while minimised: the double click shows it and restores it.
    Hide(main);
    ASSERT_TRUE(SendAndAnswer(main, kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK, result));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, 5000));

    // Other notifications of the icon do nothing to a hidden window.
    Hide(main);
    for (LPARAM other : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP}) {
        ASSERT_TRUE(SendAndAnswer(main, kTrayCallbackMessage, 0, other, result));
        EXPECT_FALSE(::IsWindowVisible(main)) << other;
    }
    EXPECT_FALSE(OpenPopupMenu(started.program));
}

TEST(TrayEndToEnd, TheRightButtonOpensTheMenuAndSettingShowsTheSettingPage) {
    TrayProgram started(L"tray menu");
    HWND main = started.main;
    ASSERT_TRUE(main);
    ASSERT_EQ(VisiblePanel(main), L"PictureState");
    // Hidden while minimised: a page of the menu brings it back restored.
    ::SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsIconic(main) != FALSE; }, 5000));
    Hide(main);

    HWND menu = OpenMenu(started.program, main);
    ASSERT_TRUE(menu);
    e2e::SaveScreenshot(::GetDesktopWindow(), "tray-menu");
    // State, More process priority, Process CPU usage limit,
    // Intelligent release memory, Setting.
    for (int i = 0; i < 5; ++i) PressKey(menu, VK_DOWN);
    PressKey(menu, VK_RETURN);

    EXPECT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, 5000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return VisiblePanel(main) == L"PictureSetting"; }, 5000));
    EXPECT_FALSE(::IsWindowVisible(menu));

    // While the window shows, the right button opens no menu: the program
    // answers at once instead of sitting in a menu's loop.
    LRESULT result = -1;
    EXPECT_TRUE(SendAndAnswer(main, kTrayCallbackMessage, 0, WM_RBUTTONDOWN, result));
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(OpenPopupMenu(started.program));
}

TEST(TrayEndToEnd, TaskbarCreatedAddsTheIconAgain) {
    TrayProgram started(L"tray restart");
    HWND main = started.main;
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IconPresent(main); }));

    // As after a restart of the shell: the icon is gone.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = main;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    ASSERT_FALSE(IconPresent(main));

    const UINT taskbar_created = ::RegisterWindowMessageW(L"TaskbarCreated");
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, taskbar_created, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                          &ignored);
    EXPECT_TRUE(e2e::WaitUntil([&] { return IconPresent(main); }, 5000));
    EXPECT_TRUE(started.program.Running());
}

// Whether the icon goes before the window does cannot be seen from here:
// once the window is destroyed the shell drops its icon by itself. The
// integration tests check that order on the real TrayShell; these two
// check that Exit and the end of the session end the program.
TEST(TrayEndToEnd, ExitFromTheMenuEndsTheProcess) {
    TrayProgram started(L"tray exit");
    HWND main = started.main;
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IconPresent(main); }));
    Hide(main);

    HWND menu = OpenMenu(started.program, main);
    ASSERT_TRUE(menu);
    PressKey(menu, VK_UP);  // from no selection up to the last item, Exit
    PressKey(menu, VK_RETURN);

    EXPECT_TRUE(started.program.WaitForExit(10000));
}

TEST(TrayEndToEnd, EndingTheSessionEndsTheProcess) {
    TrayProgram started(L"tray logoff");
    HWND main = started.main;
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IconPresent(main); }));
    ::SendMessageW(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(started.program.WaitForExit(10000));
}

TEST(TrayEndToEnd, AnExitRequestFromAnotherProcessEndsItLikeExit) {
    TrayProgram started(L"tray exit request");
    HWND main = started.main;
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IconPresent(main); }));
    ::PostMessageW(main, ::RegisterWindowMessageW(L"Vellumar.ExitRequest"), 0, 0);
    EXPECT_TRUE(started.program.WaitForExit(10000));
    EXPECT_FALSE(IconPresent(main));
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(started.program.Process(), &code);
    EXPECT_EQ(code, 0u);
}

// Log-off while the program sits in a modal loop: its menu, or one of its
// message boxes; asked first or not. Windows ends a program that does not end
// by itself within a few seconds; this one must end on its own, lock and all.
TEST(TrayEndToEnd, EndingTheSessionInsideTheMenuOrABoxEndsTheProgram) {
    struct Case {
        const wchar_t* name;
        bool menu;
        bool query;
    };
    for (const Case c :
         {Case{L"tray logoff menu", true, false}, Case{L"tray logoff menu asked", true, true},
          Case{L"tray logoff box", false, true}}) {
        SCOPED_TRACE(std::string(c.name, c.name + std::wcslen(c.name)));
        TrayProgram started(c.name);
        HWND main = started.main;
        ASSERT_TRUE(main);
        ASSERT_TRUE(e2e::WaitUntil([&] { return IconPresent(main); }));
        if (c.menu) {
            Hide(main);
            ASSERT_TRUE(OpenMenu(started.program, main));
        } else {
            e2e::ClickWindow(e2e::FindChild(main, L"Intelligent release memory"));
            ::PostMessageW(e2e::FindChild(main, L"release memory now"), BM_CLICK, 0, 0);
            ASSERT_TRUE(e2e::WaitForMessageBox(started.program.Pid(), 60000));
        }
        LRESULT answer = 0;
        if (c.query) {
            ASSERT_TRUE(SendAndAnswer(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, answer));
            EXPECT_TRUE(answer);
        }
        ASSERT_TRUE(SendAndAnswer(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, answer));
        const DWORD asked = ::GetTickCount();
        ASSERT_TRUE(started.program.WaitForExit(5000));
        std::printf("[ measured ] ended %lu ms after WM_ENDSESSION\n", ::GetTickCount() - asked);
        EXPECT_FALSE(IconPresent(main));

        Program again(started.install);
        EXPECT_TRUE(again.WaitForMainWindow());
        EXPECT_TRUE(e2e::TopLevelWindows(again.Pid(), L"#32770").empty());
    }
}

}  // namespace
