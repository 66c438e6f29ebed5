#pragma once
// The settings file Config.ini: seven keys in three sections. The control
// that shows a setting holds its value, startup reads each key into its
// control and each control's change handler writes the key back at once, so
// nothing is lost if the process is killed. SettingsFile only remembers the
// values it read and wrote, which a save to the other place has to carry.
//
// Where the file lives, one rule at start and at every save:
// - at start the executable's folder's Config.ini is read when it exists
//   (also from a read-only folder); when %APPDATA%\Vellumar\Config.ini exists
//   too, whichever of the two was written last is read;
// - a save goes beside the executable when it can; when that folder or file
//   cannot be written or replaced it goes to %APPDATA%\Vellumar\Config.ini
//   with every current setting, so nothing is dropped;
// - a save that fails in both places is tried again at the next change and
//   at exit (Flush).

#include <array>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "controls/controls.h"
#include "platform/file_system.h"
#include "platform/product.h"
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
// Every setting, in the order startup reads them.
inline constexpr std::array<SettingKey, 7> kAll = {kEnableImproveProcess,
                                                   kImproveSpeed,
                                                   kEnableFreeMemory,
                                                   kAutoFreeMemoryInterval,
                                                   kAutorun,
                                                   kAutomin,
                                                   kOntop};
}  // namespace settings

// One read returns at most this many characters less one.
inline constexpr int kSettingsBufferChars = 255;
inline constexpr std::string_view kSettingsFileName = "Config.ini";
inline constexpr std::string_view kAppDataFolderName = kProgramName;

// The folder part of a path (everything before the last separator).
std::string FolderOf(std::string_view path);

// The two places Config.ini may be kept.
struct SettingsLocations {
    std::string beside_program;  // the executable's folder
    std::string app_data;        // %APPDATA%\Vellumar; empty when there is none
};
SettingsLocations SettingsLocationsOf(FileSystem& files);

// The check-box value a stored text stands for: 0 or 1; any other text
// (missing key, garbage, other numbers) reads as unchecked.
int CheckValueFromText(std::string_view text);

class SettingsFile {
  public:
    // A file in one place only.
    SettingsFile(ProfileStore& store, std::string path)
        : store_(store), locations_{path, {}}, path_(std::move(path)) {}
    // The location rule: reads the copy written last, saves where it can.
    SettingsFile(ProfileStore& store, SettingsLocations locations);

    // The file the settings were read from.
    const std::string& Path() const { return path_; }
    // The stored text of a key, cut at its NUL and trimmed; empty when missing.
    std::string Read(SettingKey key) const;
    // Saves the new value with the location rule. A save that fails
    // everywhere is not reported: the control keeps the new value and the
    // save is tried again at the next change and at Flush.
    void Write(SettingKey key, std::string_view value);
    // Tries again a save that failed; true when nothing is left unsaved.
    bool Flush();

    // Startup's read of one key into its control. A check box that changes
    // runs its change handler, as a user's change does; a text that the
    // control cannot take leaves the box unchecked and selects the list's
    // first item, and writes nothing.
    void ReadInto(SettingKey key, CheckBox& box);
    void ReadInto(SettingKey key, ComboList& list);

    // The change handlers' write of a control's value.
    void WriteFrom(SettingKey key, const CheckBox& box);
    void WriteFrom(SettingKey key, const ComboList& list);

  private:
    void Remember(SettingKey key, std::string value);
    bool Save();

    ProfileStore& store_;
    SettingsLocations locations_;
    std::string path_;
    // Every setting's current value (as read, or as last changed), and the
    // keys changed in this run.
    std::vector<IniEntry> current_;
    std::set<std::string> changed_;
    bool unsaved_ = false;
};

}  // namespace vellumar
