// Where the settings file lives, end to end: a real vellumar.exe in a folder
// that cannot be written. Wine runs as root here, so read-only rights do not
// stop it; the folder is made immutable on the Linux side instead.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace {

using e2e::FindChild;
using e2e::Installation;
using e2e::Program;

std::wstring AppDataConfig() {
    wchar_t folder[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"APPDATA", folder, MAX_PATH);
    return std::wstring(folder) + L"\\Vellumar\\Config.ini";
}

std::wstring AppDataSetting(const wchar_t* section, const wchar_t* key) {
    wchar_t value[256] = {};
    ::GetPrivateProfileStringW(section, key, L"<missing>", value, 256, AppDataConfig().c_str());
    return value;
}

// `chattr +i` on the folder for the life of the object. Wine starts a Linux
// program without a process handle to wait on, so the effect is awaited.
class ImmutableFolder {
  public:
    explicit ImmutableFolder(std::wstring folder) : folder_(std::move(folder)) { Set(L"+i"); }
    ~ImmutableFolder() { Set(L"-i"); }
    bool Immutable() const {
        // A new name every time: a probe made just before the flag was set
        // cannot be deleted any more, and must not answer the next question.
        static int probes = 0;
        const std::wstring name = folder_ + L"\\probe" + std::to_wstring(::GetCurrentProcessId()) +
                                  L"-" + std::to_wstring(++probes);
        HANDLE probe = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        return probe == INVALID_HANDLE_VALUE || !::CloseHandle(probe);
    }

  private:
    void Set(const wchar_t* flag) {
        using UnixName = char*(CDECL*)(LPCWSTR);
        const auto unix_name = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
        char* name = unix_name ? unix_name(folder_.c_str()) : nullptr;
        if (!name)
            return;
        std::wstring command = L"Z:\\usr\\bin\\chattr " + std::wstring(flag) + L" \"";
        for (const char* c = name; *c; ++c) command += static_cast<wchar_t>(*c);
        ::HeapFree(::GetProcessHeap(), 0, name);
        command += L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info);  // no handles for a Linux program
        e2e::WaitUntil([&] { return Immutable() == (flag[0] == L'+'); }, 10000);
    }

    std::wstring folder_;
};

TEST(SettingsEndToEnd, AReadOnlyFolderIsReadAndChangesLandInAppData) {
    ::DeleteFileW(AppDataConfig().c_str());
    Installation install(L"read only");
    install.WritePlainSettings(L"0", L"0", L"1");
    ImmutableFolder guard(install.Folder());
    ASSERT_TRUE(guard.Immutable());
    {
        Program program(install);
        HWND main = program.WaitForMainWindow();
        ASSERT_TRUE(main);
        EXPECT_TRUE(::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);

        e2e::ClickWindow(FindChild(main, L"Setting"));
        HWND box = FindChild(main, L"Automatically minimize when startup");
        ASSERT_TRUE(box);
        ::SendMessageW(box, BM_CLICK, 0, 0);
        EXPECT_EQ(AppDataSetting(L"Setting", L"Automin"), L"1");
        EXPECT_EQ(AppDataSetting(L"Setting", L"Ontop"), L"1");
        EXPECT_EQ(AppDataSetting(L"Memory", L"AutoFreeMemoryInterval"), L"1 minute");
        EXPECT_EQ(install.ReadSetting(L"Setting", L"Automin"), L"0");
        ::SendMessageW(main, WM_ENDSESSION, TRUE, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }
    // The next start reads the newer copy: hidden at start, still topmost.
    Program again(install);
    HWND main = again.WaitForMainWindow();
    ASSERT_TRUE(main);
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_TRUE(::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ::DeleteFileW(AppDataConfig().c_str());
}

std::string Bytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Anti-virus, backup and sync tools hold files without sharing them at
// sign-in. Config.ini is held so across the start, and an older copy in
// %APPDATA% says otherwise: the window shows that copy meanwhile and writes
// nothing, takes the file's values once it is free, and keeps them, also
// through changes made while the file is held again.
TEST(SettingsEndToEnd, AConfigIniHeldAcrossTheStartIsWaitedForAndKept) {
    const std::wstring app_data = AppDataConfig();
    ::CreateDirectoryW(app_data.substr(0, app_data.rfind(L'\\')).c_str(), nullptr);
    std::ofstream(app_data.c_str(), std::ios::binary)
        << "[Process]\r\nEnableImproveProcess=0\r\n[Setting]\r\nOntop=1\r\n";
    const std::string app_data_bytes = Bytes(app_data);
    ::Sleep(50);
    Installation install(L"held");
    install.WritePlainSettings();
    install.WriteSetting(L"Process", L"EnableImproveProcess", L"1");
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, install.ConfigPath().c_str());
    auto shows = [](HWND main, bool file_values) {
        e2e::ClickWindow(FindChild(main, L"More process priority"));  // makes its controls
        HWND improve = FindChild(main, L"Enable improve");
        return (::SendMessageW(improve, BM_GETCHECK, 0, 0) == BST_CHECKED) == file_values &&
               ((::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0) == file_values;
    };
    {
        HANDLE held = ::CreateFileW(install.ConfigPath().c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        Program program(install);
        HWND main = program.WaitForMainWindow();
        ASSERT_TRUE(main);
        EXPECT_TRUE(shows(main, false));
        EXPECT_EQ(Bytes(app_data), app_data_bytes);
        ::CloseHandle(held);
        EXPECT_TRUE(e2e::WaitUntil([&] { return shows(main, true); }, 5000));
        EXPECT_EQ(Bytes(app_data), app_data_bytes);

        // Held again while the user ticks a box off and on: how fast the
        // window answers meanwhile (a figure, not a check).
        held = ::CreateFileW(install.ConfigPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             0, nullptr);
        HWND improve = FindChild(main, L"Enable improve");
        std::vector<double> answers_ms;
        for (int i = 0; i < 300; ++i, ::Sleep(5)) {
            const bool click = i == 50 || i == 100;
            const auto sent = std::chrono::steady_clock::now();
            ::SendMessageTimeoutW(click ? improve : main, click ? BM_CLICK : WM_NULL, 0, 0,
                                  SMTO_NORMAL, 5000, nullptr);
            answers_ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sent)
                    .count());
        }
        ::CloseHandle(held);
        std::sort(answers_ms.begin(), answers_ms.end());
        std::printf("answers with Config.ini held: %zu, median %.2f ms, longest %.2f ms\n",
                    answers_ms.size(), answers_ms[answers_ms.size() / 2], answers_ms.back());
        ::PostMessageW(main, ::RegisterWindowMessageW(L"Vellumar.ExitRequest"), 0, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }
    Program again(install);
    HWND main = again.WaitForMainWindow();
    ASSERT_TRUE(main);
    EXPECT_TRUE(shows(main, true));
    EXPECT_EQ(install.ReadSetting(L"Process", L"EnableImproveProcess"), L"1");
    ::DeleteFileW(app_data.c_str());
}

}  // namespace
