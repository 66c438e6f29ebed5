// The application shell end to end: a real vellumar.exe under Wine, driven
// from outside through its windows, its file and the registry.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <psapi.h>

#include "e2e/driver.h"

namespace {

using e2e::FindChild;
using e2e::Installation;
using e2e::Program;
using e2e::StartedProgram;

const wchar_t* const kPanels[] = {L"PictureState",  L"PictureProcess", L"PictureCPU",
                                  L"PictureMemory", L"PictureSetting", L"PictureAbout"};

std::wstring VisiblePanel(HWND main) {
    std::wstring shown;
    int count = 0;
    for (const wchar_t* panel : kPanels) {
        if (HWND h = FindChild(main, panel, false); h && ::IsWindowVisible(h)) {
            shown = panel;
            ++count;
        }
    }
    return count == 1 ? shown : L"<" + std::to_wstring(count) + L" panels>";
}

bool HasModule(HANDLE process, const wchar_t* name) {
    HMODULE modules[512] = {};
    DWORD bytes = 0;
    if (!::EnumProcessModulesEx(process, modules, sizeof(modules), &bytes, LIST_MODULES_ALL))
        return false;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
        wchar_t base[MAX_PATH] = {};
        ::GetModuleBaseNameW(process, modules[i], base, MAX_PATH);
        if (::lstrcmpiW(base, name) == 0)
            return true;
    }
    return false;
}

std::wstring RunValue() {
    wchar_t data[1024] = {};
    DWORD size = sizeof(data);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                       L"VLM", RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
        return L"<missing>";
    }
    return data;
}

TEST(ShellEndToEnd, ASecondStartShowsTheMessageAndEndsWithoutAWindow) {
    Installation install(L"single");
    install.WritePlainSettings(L"0", L"0", L"0");
    Program first(install);
    ASSERT_TRUE(first.WaitForMainWindow());

    Program second(install);
    HWND box = e2e::WaitForMessageBox(second.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(e2e::WindowText(box), L"Vellumar");
    EXPECT_EQ(e2e::WindowText(::GetDlgItem(box, 0xFFFF)),
              L"Vellumar\u5DF2\u7ECF\u8FD0\u884C\uFF0C\u8BF7\u52FF\u91CD\u590D\u52A0\u8F7D\u3002");
    EXPECT_TRUE(e2e::TopLevelWindows(second.Pid(), L"FormVellumar").empty());
    e2e::SaveScreenshot(box, "second-instance-message");

    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(second.WaitForExit());
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(e2e::TopLevelWindows(first.Pid(), L"FormVellumar").size(), 1u);
}

TEST(ShellEndToEnd, StartsCentredOnTheStatePageWhenAutominIsOff) {
    StartedProgram started(L"shown");
    HWND main = started.main;
    ASSERT_TRUE(main);
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_EQ(e2e::WindowText(main), L"Vellumar");
    RECT r{};
    ::GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 786);
    EXPECT_EQ(r.bottom - r.top, 557);
    const int screen_width = ::GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(r.left, (screen_width - 786) / 2.0, 1.0);
    EXPECT_NEAR(r.top, (screen_height - 557) / 2.0, 1.0);
    EXPECT_EQ(VisiblePanel(main), L"PictureState");
    EXPECT_FALSE(::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(ShellEndToEnd, AutominStartsHiddenAndOntopStartsTopmost) {
    Installation install(L"hidden");
    install.WritePlainSettings(L"0", L"1", L"1");
    Program program(install);
    HWND main = program.WaitForMainWindow();
    ASSERT_TRUE(main);
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_TRUE(::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(program.Running());
    // Starting did not change the file.
    EXPECT_EQ(install.ReadSetting(L"Setting", L"Automin"), L"1");
    EXPECT_EQ(install.ReadSetting(L"Setting", L"Ontop"), L"1");
}

TEST(ShellEndToEnd, StartWithWindowsIsWrittenToTheFileAndTheRunKeyAtOnce) {
    StartedProgram started(L"autorun");
    HWND main = started.main;
    ASSERT_TRUE(main);
    EXPECT_EQ(RunValue(), L"<missing>");  // Autorun=0 deletes it at start

    e2e::ClickWindow(FindChild(main, L"Setting"));
    HWND box = FindChild(main, L"Start with windows");
    ASSERT_TRUE(box);
    EXPECT_EQ(e2e::ClassName(box), L"Button");
    ::SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(started.install.ReadSetting(L"Setting", L"Autorun"), L"1");
    // The command is quoted (the folder's name holds a space).
    EXPECT_EQ(RunValue(), L"\"" + started.install.Exe() + L"\"");
    const std::string query = e2e::RunAndCapture(
        L"reg.exe query \"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\" /v VLM");
    EXPECT_NE(query.find("VLM"), std::string::npos) << query;
    EXPECT_NE(query.find("Vellumar autorun"), std::string::npos) << query;

    ::SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(started.install.ReadSetting(L"Setting", L"Autorun"), L"0");
    EXPECT_EQ(RunValue(), L"<missing>");
}

TEST(ShellEndToEnd, PageLabelsAndImagesSelectTheirPages) {
    StartedProgram started(L"pages");
    HWND main = started.main;
    ASSERT_TRUE(main);
    // The State page draws its own controls: the common controls are
    // loaded with the first page that has some.
    EXPECT_FALSE(HasModule(started.program.Process(), L"comctl32.dll"));

    e2e::ClickWindow(FindChild(main, L"Setting"));
    EXPECT_EQ(VisiblePanel(main), L"PictureSetting");
    EXPECT_TRUE(HasModule(started.program.Process(), L"comctl32.dll"));
    e2e::SaveScreenshot(main, "setting-page");

    // A screen reader's press on the page button does the same.
    HWND about_button = nullptr;
    for (HWND child : e2e::Descendants(main)) {
        if (e2e::ClassName(child) == L"Button" && e2e::WindowText(child) == L"About" &&
            ::IsWindowVisible(child)) {
            about_button = child;
        }
    }
    ASSERT_TRUE(about_button);
    ::SendMessageW(about_button, BM_CLICK, 0, 0);
    EXPECT_EQ(VisiblePanel(main), L"PictureAbout");
    e2e::SaveScreenshot(main, "about-page");

    e2e::ClickWindow(FindChild(main, L"More process priority"));
    EXPECT_EQ(VisiblePanel(main), L"PictureProcess");
    e2e::ClickWindow(FindChild(main, L"State"));
    EXPECT_EQ(VisiblePanel(main), L"PictureState");
}

TEST(ShellEndToEnd, TheCloseImageHidesTheWindowAndTheProgramGoesOn) {
    StartedProgram started(L"close");
    HWND main = started.main;
    ASSERT_TRUE(main);
    // The close image sits at (752, 6) on the window, 28 x 15 pixels.
    e2e::ClickAt(main, 760, 12);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindowVisible(main); }, 5000));
    // Still taking messages after the click has been handled.
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &ignored));
    EXPECT_TRUE(started.program.Running());
    EXPECT_TRUE(::IsWindow(main));

    // Alt+F4 or the taskbar's close hides it the same way.
    ::ShowWindow(main, SW_SHOW);
    ::SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_TRUE(started.program.Running());
}

TEST(ShellEndToEnd, EveryVisibleControlHasAWindowWithItsText) {
    StartedProgram started(L"access");
    HWND main = started.main;
    ASSERT_TRUE(main);
    e2e::ClickWindow(FindChild(main, L"Setting"));
    for (const wchar_t* text :
         {L"Vellumar", L"v1.0.3", L"State", L"More process priority", L"Process CPU usage limit",
          L"Intelligent release memory", L"About", L"Minimize", L"Close", L"Start with windows",
          L"Automatically minimize when startup", L"Always on top"}) {
        EXPECT_TRUE(FindChild(main, text)) << std::string(text, text + wcslen(text));
    }
    HWND minimise = FindChild(main, L"Minimize");
    ASSERT_TRUE(minimise);
    EXPECT_EQ(e2e::ClassName(minimise), L"Button");
}

}  // namespace

namespace {

TEST(ShellEndToEnd, TheMinimiseImageMinimisesAndTheTaskbarBringsItBack) {
    StartedProgram started(L"minimise");
    HWND main = started.main;
    ASSERT_TRUE(main);
    // The window has a taskbar button to come back from the minimised state.
    EXPECT_TRUE(::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    // The minimise image sits at (720, 6), 28 x 15 pixels.
    e2e::ClickAt(main, 728, 12);
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::IsIconic(main) != FALSE; }, 5000));
    EXPECT_TRUE(::IsWindowVisible(main));  // minimised still counts as shown
    // What the taskbar button does on a click.
    ::SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsIconic(main); }, 5000));
}

TEST(ShellEndToEnd, EndingTheSessionEndsTheProgram) {
    StartedProgram started(L"logoff");
    HWND main = started.main;
    ASSERT_TRUE(main);
    EXPECT_TRUE(::SendMessageW(main, WM_QUERYENDSESSION, 0, 0));
    ::SendMessageW(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(started.program.WaitForExit(10000));
}

}  // namespace
