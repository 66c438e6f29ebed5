// Config.ini through the real file functions: long paths and replacing a
// file held open by another handle.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/settings.h"
#include "platform/ini_file_store.h"
#include "platform/win32/handles.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {
namespace {

std::string TempPath() {
    std::wstring temp(32768, L'\0');
    temp.resize(::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
    return Narrow(temp);
}

TEST(SettingsFileOnWindows, AFolderPathOf280CharactersRoundTripsASetting) {
    std::string folder = TempPath() + "vellumar-long";
    while (folder.size() < 280) folder += "\\" + std::string(40, 'd');
    folder.resize(280);
    ASSERT_EQ(folder.size(), 280u);
    Win32FileSystem files;
    ASSERT_TRUE(files.EnsureFolder(folder));
    const std::string path = folder + "\\Config.ini";
    files.RemoveFile(path);
    {
        IniFileStore store(files);
        SettingsFile settings(store, SettingsLocations{path, {}});
        settings.Write(settings::kOntop, "1");
        EXPECT_TRUE(settings.Flush());
    }
    IniFileStore store(files);
    SettingsFile settings(store, SettingsLocations{path, {}});
    EXPECT_EQ(settings.Read(settings::kOntop), "1");
    std::string bytes;
    ASSERT_EQ(files.ReadFile(path, bytes), FileStatus::Ok);
    EXPECT_EQ(bytes, "[Setting]\r\nOntop=1\r\n");
    EXPECT_EQ(files.ReadFile(path + ".tmp", bytes), FileStatus::Missing);
}

TEST(SettingsFileOnWindows, AReadOnlyOrLockedFileIsLeftAsItWas) {
    Win32FileSystem files;
    const std::string folder = TempPath() + "vellumar-guarded";
    ASSERT_TRUE(files.EnsureFolder(folder));
    const std::string path = folder + "\\Config.ini";
    const std::wstring wide = FileApiPath(path);
    ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(files.WriteNewFile(path, "[Setting]\r\nOntop=0\r\n"), FileStatus::Ok);
    IniFileStore store(files);

    ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(store.Write(path, "Setting", "Ontop", "1"));
    ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        UniqueHandle held(
            ::CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        std::string bytes;
        EXPECT_EQ(files.ReadFile(path, bytes), FileStatus::Locked);
    }
    EXPECT_TRUE(store.Write(path, "Setting", "Ontop", "1"));
    EXPECT_EQ(store.Read(path, "Setting", "Ontop", 255), "1");
}

}  // namespace
}  // namespace vellumar::win32
