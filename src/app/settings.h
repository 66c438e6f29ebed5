#pragma once
// The settings file Config.ini: seven keys in three sections. There is no
// settings object: the control that shows a setting holds its value, startup
// reads each key into its control and each control's change handler writes
// the key back at once, so nothing is lost if the process is killed.
//
// The file lives beside the executable. When that folder cannot be written
// (for example under Program Files) it lives in %APPDATA%\Vellumar instead.

#include <string>
#include <string_view>

#include "controls/controls.h"
#include "platform/file_system.h"
#include "platform/profile_store.h"

namespace vellumar {

struct SettingKey {
    std::string_view section;
    std::string_view key;
};

namespace settings {
inline constexpr SettingKey kEnableImproveProcess{"Process", "EnableImproveProcess"};
inline constexpr SettingKey kImproveSpeed{"Process", "ImproveSpeed"};
inline constexpr SettingKey kEnableFreeMemory{"Memory", "EnableFreeMemory"};
inline constexpr SettingKey kAutoFreeMemoryInterval{"Memory", "AutoFreeMemoryInterval"};
inline constexpr SettingKey kOntop{"Setting", "Ontop"};
inline constexpr SettingKey kAutomin{"Setting", "Automin"};
inline constexpr SettingKey kAutorun{"Setting", "Autorun"};
}  // namespace settings

// One read returns at most this many characters less one.
inline constexpr int kSettingsBufferChars = 255;
inline constexpr std::string_view kSettingsFileName = "Config.ini";
inline constexpr std::string_view kAppDataFolderName = "Vellumar";

// The folder part of a path (everything before the last separator).
std::string FolderOf(std::string_view path);

// Where Config.ini is kept: beside the executable when that folder can be
// written, otherwise in the user's application-data folder.
std::string ChooseSettingsPath(FileSystem& files);

// The check-box value a stored text stands for: 0 or 1; any other text
// (missing key, garbage, other numbers) reads as unchecked.
int CheckValueFromText(std::string_view text);

class SettingsFile {
  public:
    SettingsFile(ProfileStore& store, std::string path) : store_(store), path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    // The stored text of a key, cut at its NUL and trimmed; empty when missing.
    std::string Read(SettingKey key) const;
    // Write failures are not reported: the control keeps the new value for
    // the rest of the run.
    void Write(SettingKey key, std::string_view value);

    // Startup's read of one key into its control. A check box that changes
    // runs its change handler, as a user's change does; a text that the
    // control cannot take leaves the box unchecked and selects the list's
    // first item, and writes nothing.
    void ReadInto(SettingKey key, CheckBox& box) const;
    void ReadInto(SettingKey key, ComboList& list) const;

    // The change handlers' write of a control's value.
    void WriteFrom(SettingKey key, const CheckBox& box);
    void WriteFrom(SettingKey key, const ComboList& list);

  private:
    ProfileStore& store_;
    std::string path_;
};

}  // namespace vellumar
