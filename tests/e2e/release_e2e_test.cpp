// The release packages end to end: the installer and the portable zip that
// the build makes, installed, upgraded, uninstalled and started under Wine.
// The test command passes their places: VELLUMAR_SETUP (the installer), and
// VELLUMAR_PORTABLE and VELLUMAR_READONLY (the zip unpacked, the second into
// a folder nobody may write). Without them the tests are skipped.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they build on.
#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "e2e/driver.h"

namespace {

using e2e::FindChild;
using e2e::Installation;
using e2e::Program;
using e2e::WaitUntil;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellumar";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kInstallTimeoutMs = 120000;

std::wstring Env(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    ::GetEnvironmentVariableW(name, value, MAX_PATH);
    std::wstring path = value;
    // CTest passes Linux paths; Wine sees the Linux root as drive Z:.
    if (!path.empty() && path[0] == L'/') {
        for (auto& c : path) c = c == L'/' ? L'\\' : c;
        path = L"Z:" + path;
    }
    return path;
}

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring RegText(HKEY root, const wchar_t* key, const wchar_t* value) {
    wchar_t data[1024] = {};
    DWORD size = sizeof(data);
    if (::RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return data;
}

DWORD ExitCode(const Program& program) {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(program.Process(), &code);
    return code;
}

// Ticks a check box of the Setting page.
void TickSetting(HWND main, const wchar_t* text) {
    e2e::ClickWindow(FindChild(main, L"Setting"));
    HWND box = FindChild(main, text);
    ASSERT_TRUE(box);
    ::SendMessageW(box, BM_CLICK, 0, 0);
}

class ReleaseEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        if (Env(L"VELLUMAR_SETUP").empty())
            GTEST_SKIP() << "the test command passes the release packages";
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        RemoveFolder(install_dir);
        RemoveFolder(app_data);
        ::DeleteFileW(shortcut.c_str());
    }
    void TearDown() override { RemoveFolder(app_data); }

    static void RemoveFolder(const std::wstring& folder) {
        std::wstring from = folder + L'\0';
        SHFILEOPSTRUCTW op{};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NO_UI;
        ::SHFileOperationW(&op);
    }

    const std::wstring install_dir = Folder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Vellumar";
    const std::wstring app_data = Folder(CSIDL_APPDATA) + L"\\Vellumar";
    const std::wstring shortcut = Folder(CSIDL_PROGRAMS) + L"\\Vellumar.lnk";
};

TEST_F(ReleaseEndToEnd, InstallsUpgradesOverARunningCopyAndUninstalls) {
    const std::wstring setup = L"\"" + Env(L"VELLUMAR_SETUP") + L"\"";
    const Installation installed(Installation::InPlace{}, install_dir);

    // The first page, photographed, then left with Cancel.
    {
        const e2e::ChildProcess wizard(setup);
        HWND page = nullptr;
        EXPECT_TRUE(WaitUntil([&] {
            const auto dialogs = e2e::TopLevelWindows(wizard.Pid(), L"#32770");
            page = dialogs.empty() ? nullptr : dialogs.front();
            return page && FindChild(page, L"&Next >");
        }));
        e2e::SaveScreenshot(page, "installer-welcome");
        ::PostMessageW(page, WM_COMMAND, IDCANCEL, 0);
        if (HWND sure = e2e::WaitForMessageBox(wizard.Pid(), 5000))
            ::PostMessageW(sure, WM_COMMAND, IDYES, 0);
        EXPECT_EQ(wizard.ExitCode(30000), 1);  // cancelled by the user
        EXPECT_FALSE(Exists(installed.Exe()));
    }

    ASSERT_EQ(e2e::ChildProcess(setup + L" /S").ExitCode(kInstallTimeoutMs), 0);
    EXPECT_TRUE(Exists(installed.Exe()));
    EXPECT_TRUE(Exists(install_dir + L"\\README.txt"));
    EXPECT_TRUE(Exists(install_dir + L"\\Uninstall.exe"));
    EXPECT_TRUE(Exists(shortcut));
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName"), L"Vellumar");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayVersion"),
              Env(L"VELLUMAR_VERSION"));
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kUninstallKey, L"Publisher"), L"Vellumar");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayIcon"), installed.Exe() + L",0");
    DWORD size_kb = 0;
    DWORD size = sizeof(size_kb);
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize", RRF_RT_REG_DWORD,
                             nullptr, &size_kb, &size),
              ERROR_SUCCESS);
    EXPECT_GT(size_kb, 0u);

    // The installed copy starts, shows its window and writes a quoted Run value.
    installed.WritePlainSettings();
    auto program = std::make_unique<Program>(installed);
    HWND main = program->WaitForMainWindow();
    ASSERT_TRUE(main);
    EXPECT_TRUE(::IsWindowVisible(main));
    TickSetting(main, L"Start with windows");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, L"VLM"), L"\"" + installed.Exe() + L"\"");

    // An upgrade ends the running copy through its Exit and keeps Config.ini.
    ASSERT_EQ(e2e::ChildProcess(setup + L" /S").ExitCode(kInstallTimeoutMs), 0);
    EXPECT_TRUE(program->WaitForExit(1000));
    EXPECT_EQ(ExitCode(*program), 0u);
    EXPECT_EQ(installed.ReadSetting(L"Setting", L"Autorun"), L"1");
    EXPECT_TRUE(Exists(installed.Exe()));

    // Uninstalling ends a running copy too, and removes all but the settings.
    program = std::make_unique<Program>(installed);
    ASSERT_TRUE(program->WaitForMainWindow());
    ASSERT_EQ(e2e::ChildProcess(L"\"" + install_dir + L"\\Uninstall.exe\" /S")
                  .ExitCode(kInstallTimeoutMs),
              0);
    // The uninstaller works on from a copy of itself; the key goes last.
    EXPECT_TRUE(WaitUntil(
        [&] { return RegText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName") == L"<missing>"; },
        kInstallTimeoutMs));
    EXPECT_FALSE(Exists(install_dir));
    EXPECT_TRUE(program->WaitForExit(1000));
    EXPECT_EQ(ExitCode(*program), 0u);
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, L"VLM"), L"<missing>");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kRunKey, L"VLM"), L"<missing>");
    const Installation kept(Installation::InPlace{}, app_data);
    EXPECT_EQ(kept.ReadSetting(L"Setting", L"Autorun"), L"1");
}

TEST_F(ReleaseEndToEnd, TheUnpackedZipKeepsSettingsBesideItsExeOrElseInAppData) {
    struct Case {
        const wchar_t* folder_variable;
        bool writable;
    };
    for (const Case& c : {Case{L"VELLUMAR_PORTABLE", true}, Case{L"VELLUMAR_READONLY", false}}) {
        const Installation unpacked(Installation::InPlace{}, Env(c.folder_variable));
        SCOPED_TRACE(c.writable ? "writable folder" : "read-only folder");
        EXPECT_TRUE(Exists(unpacked.Folder() + L"\\README.txt"));
        Program program(unpacked);
        HWND main = program.WaitForMainWindow();
        ASSERT_TRUE(main);
        EXPECT_TRUE(::IsWindowVisible(main));
        TickSetting(main, L"Automatically minimize when startup");
        const Installation settings(Installation::InPlace{},
                                    c.writable ? unpacked.Folder() : app_data);
        EXPECT_EQ(settings.ReadSetting(L"Setting", L"Automin"), L"1");
        EXPECT_EQ(Exists(unpacked.ConfigPath()), c.writable);
        EXPECT_EQ(Exists(app_data + L"\\Config.ini"), !c.writable);
        ::PostMessageW(main, ::RegisterWindowMessageW(L"Vellumar.ExitRequest"), 0, 0);
        EXPECT_TRUE(program.WaitForExit());
    }
}

}  // namespace
