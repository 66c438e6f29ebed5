// The first and third ways end to end: a real vellumar.exe raises the
// foreground process, logs it, releases memory and keeps its figures.

#include <gtest/gtest.h>
#include <windows.h>

#include "e2e/driver.h"

namespace {

using e2e::FindChild;
using e2e::Installation;
using e2e::Program;

DWORD PriorityOf(DWORD pid) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process)
        return 0;
    const DWORD priority = ::GetPriorityClass(process);
    ::CloseHandle(process);
    return priority;
}

// A plain top-level window of the driver, to put in front.
HWND MakeWindow(const wchar_t* title) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VellumarE2ETarget";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                  40, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    return hwnd;
}

void Pump(DWORD ms) {
    const DWORD start = ::GetTickCount();
    MSG message{};
    while (::GetTickCount() - start < ms) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ::Sleep(20);
    }
}

TEST(EngineEndToEnd, TheForegroundProcessIsRaisedLoggedAndPutBack) {
    // Raising starts switched off, so the program's own window is not the
    // first target; it is switched on once notepad is in front.
    e2e::StartedProgram started(L"raise");
    const Installation& install = started.install;
    const Program& program = started.program;
    HWND main = started.main;
    ASSERT_TRUE(main);

    e2e::ChildProcess notepad(L"notepad.exe");
    ASSERT_TRUE(notepad.Started());
    HWND notepad_window = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] {
        const auto windows = e2e::TopLevelWindows(notepad.Pid(), L"Notepad");
        notepad_window = windows.empty() ? nullptr : windows.front();
        return notepad_window != nullptr;
    }));
    ::SetForegroundWindow(notepad_window);
    e2e::ClickWindow(FindChild(main, L"More process priority"));
    HWND enable = FindChild(main, L"Enable improve");
    ASSERT_TRUE(enable);
    ::SendMessageW(enable, BM_CLICK, 0, 0);
    EXPECT_EQ(install.ReadSetting(L"Process", L"EnableImproveProcess"), L"1");
    // Within two ticks of 900 ms.
    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return PriorityOf(notepad.Pid()) == ABOVE_NORMAL_PRIORITY_CLASS; }, 2500));

    HWND history = FindChild(main, L"ListViewHistory", false);
    ASSERT_TRUE(history);
    // The program's own window was in front at start, so it may be the
    // first target; notepad's row is the last one.
    const std::wstring notepad_title = e2e::WindowText(notepad_window);
    int rows = 0;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            rows = e2e::ListViewRows(history);
            return rows >= 1 &&
                   e2e::ListViewCell(history, program.Pid(), rows - 1, 2) == notepad_title;
        },
        3000));
    EXPECT_EQ(e2e::ListViewCell(history, program.Pid(), rows - 1, 0), L" " + std::to_wstring(rows));
    EXPECT_FALSE(e2e::ListViewCell(history, program.Pid(), rows - 1, 1).empty());
    EXPECT_EQ(e2e::ListViewCell(history, program.Pid(), rows - 1, 3), L"Above Normal");

    // Choose "High" as a user does, then bring a window with a Chinese title
    // to the front: it gets High and notepad goes back to normal.
    HWND speed = nullptr;
    for (HWND child : e2e::Descendants(main)) {
        if (e2e::ClassName(child) == L"ComboBox" && ::SendMessageW(child, CB_GETCOUNT, 0, 0) == 2)
            speed = child;
    }
    ASSERT_TRUE(speed);
    ::SendMessageW(speed, CB_SETCURSEL, 1, 0);
    ::SendMessageW(::GetParent(speed), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(speed), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(speed));
    EXPECT_EQ(install.ReadSetting(L"Process", L"ImproveSpeed"), L"High");

    const wchar_t* chinese = L"\u6D4B\u8BD5\u7A97\u53E3 Vellumar";
    HWND mine = MakeWindow(chinese);
    ::SetForegroundWindow(mine);
    bool raised = false;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 3000 && !raised) {
        Pump(100);
        raised = PriorityOf(::GetCurrentProcessId()) == HIGH_PRIORITY_CLASS;
    }
    EXPECT_TRUE(raised);
    EXPECT_EQ(PriorityOf(notepad.Pid()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListViewRows(history) == rows + 1; }, 3000));
    EXPECT_EQ(e2e::ListViewCell(history, program.Pid(), rows, 0), L" " + std::to_wstring(rows + 1));
    EXPECT_EQ(e2e::ListViewCell(history, program.Pid(), rows, 2), chinese);
    EXPECT_EQ(e2e::ListViewCell(history, program.Pid(), rows, 3), L"High");
    EXPECT_EQ(e2e::WindowText(e2e::ValueRightOf(FindChild(main, L"Improved count:", false))),
              std::to_wstring(rows + 1));
    ::SetForegroundWindow(main);
    Pump(300);
    e2e::SaveScreenshot(main, "process-page");

    // Raised again, this test's process goes back to normal when the
    // program ends.
    ::SetForegroundWindow(mine);
    raised = false;
    const DWORD again = ::GetTickCount();
    while (::GetTickCount() - again < 3000 && !raised) {
        Pump(100);
        raised = PriorityOf(::GetCurrentProcessId()) == HIGH_PRIORITY_CLASS;
    }
    ASSERT_TRUE(raised);
    ::PostMessageW(main, ::RegisterWindowMessageW(L"Vellumar.ExitRequest"), 0, 0);
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_EQ(PriorityOf(::GetCurrentProcessId()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));

    ::DestroyWindow(mine);
    notepad.End();
    ::SetPriorityClass(::GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
}

TEST(EngineEndToEnd, ReleaseMemoryNowReportsTheAmountAndLogsIt) {
    e2e::StartedProgram started(L"release");
    const Program& program = started.program;
    HWND main = started.main;
    ASSERT_TRUE(main);
    e2e::ClickWindow(FindChild(main, L"Intelligent release memory"));
    HWND button = FindChild(main, L"release memory now");
    ASSERT_TRUE(button);
    EXPECT_EQ(e2e::ClassName(button), L"Button");
    e2e::PostClick(button);  // waits in a message box
    HWND box = e2e::WaitForMessageBox(program.Pid(), 30000);
    ASSERT_TRUE(box);
    const std::wstring message = e2e::WindowText(::GetDlgItem(box, 0xFFFF));
    EXPECT_EQ(message.rfind(L"Success! ", 0), 0u) << std::string(message.begin(), message.end());
    EXPECT_NE(message.find(L" MB memory released."), std::wstring::npos);
    EXPECT_EQ(e2e::WindowText(box), L"Vellumar");
    e2e::SaveScreenshot(box, "memory-release-message");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    // The focus goes back to the button, so Space presses it again.
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::FocusOf(main) == button; }, 5000));

    HWND log = FindChild(main, L"ListViewMemoryLog", false);
    ASSERT_TRUE(log);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListViewRows(log) == 1; }, 5000));
    EXPECT_EQ(e2e::ListViewCell(log, program.Pid(), 0, 0), L"1");
    const std::wstring event = e2e::ListViewCell(log, program.Pid(), 0, 2);
    EXPECT_EQ(message, L"Success! " + event);
    e2e::SaveScreenshot(main, "memory-page");
}

TEST(EngineEndToEnd, TheStatePageShowsTheTimeAndTheMemoryShare) {
    e2e::StartedProgram started(L"state");
    HWND main = started.main;
    ASSERT_TRUE(main);
    HWND time = e2e::ValueRightOf(FindChild(main, L"Time:"));
    ASSERT_TRUE(time);
    const std::wstring first = e2e::WindowText(time);
    EXPECT_NE(first, L"time");
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WindowText(time) != first; }, 3000));

    // The Memory page gets its windows when first shown; back to State.
    e2e::ClickWindow(FindChild(main, L"Intelligent release memory"));
    e2e::ClickWindow(FindChild(main, L"State"));
    HWND share = e2e::ValueRightOf(FindChild(main, L"Memory usage:"));
    HWND used_rate = e2e::ValueRightOf(FindChild(main, L"Used rate:", false));
    ASSERT_TRUE(share && used_rate);
    // Both labels follow the same 20 ms refresh; read at two moments they
    // may straddle one, so they are read until they agree.
    std::wstring state_share;
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            state_share = e2e::WindowText(share);
            return state_share == e2e::WindowText(used_rate);
        },
        5000))
        << "State page " << std::string(state_share.begin(), state_share.end());
    ASSERT_FALSE(state_share.empty());
    EXPECT_EQ(state_share.back(), L'%');
}

}  // namespace
