// Where the settings file lives, end to end: a real vellumar.exe in a folder
// that cannot be written. Wine runs as root here, so read-only rights do not
// stop it; the folder is made immutable on the Linux side instead.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

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

}  // namespace
