#pragma once
// The settings file Config.ini: seven keys in three sections. The control
// that shows a setting holds its value, startup reads each key into its
// control and each control's change handler writes the key back at once, so
// nothing is lost if the process is killed. SettingsFile only remembers the
// values it read and wrote, which a save to the other place has to carry.
//
// Where the file lives, one rule at start and at every save:
// - at start the newer of the executable's folder's Config.ini and
//   %APPDATA%\Vellumar\Config.ini is read (the one beside the executable
//   when only it exists, also in a read-only folder). Their ages come from
//   the files' metadata, so a copy that another program holds open counts
//   as present with its true age;
// - when the newer copy is held, the start shows what it can read (the other
//   copy, or the defaults) and writes nothing, neither start-up write-backs
//   nor changes, and waits for it on timer ticks (kStartWaitMs). Once it
//   can be read, its values are applied (onFileRead), changes made
//   meanwhile are kept over them and saved into it;
// - a save goes beside the executable when it can; a held file is tried
//   kLockAttempts times over about a second on timer ticks, and when that
//   folder or file cannot be written or replaced it goes to
//   %APPDATA%\Vellumar\Config.ini with every current setting, so nothing is
//   dropped. Every try writes the settings as they are then, so the latest
//   change wins;
// - a save that fails in both places is tried again at the next change and
//   at exit (Flush).
// No save writes settings that were not read from the newer copy, so an
// older copy never becomes the newer one.

#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "controls/controls.h"
#include "platform/file_system.h"
#include "platform/product.h"
#include "platform/profile_store.h"
#include "platform/timer.h"

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
    // Ticks between the tries at a held file.
    static constexpr int kRetryIntervalMs = 250;
    // Tries at a held file before a save falls back to the other place.
    static constexpr int kLockAttempts = 5;
    // How long a start waits for a held Config.ini on its own; a change
    // made later waits as long again, and Flush tries once more.
    static constexpr int kStartWaitMs = 10000;

    // A file in one place only.
    SettingsFile(ProfileStore& store, std::string path)
        : store_(store), locations_{path, {}}, path_(std::move(path)) {}
    // The location rule: reads the copy written last, saves where it can.
    // Without `timers` nothing is tried again until the next change or Flush.
    SettingsFile(ProfileStore& store, SettingsLocations locations, TimerService* timers = nullptr);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // The file the settings were read from (or are waited for).
    const std::string& Path() const { return path_; }
    // The newer copy exists but another program holds it: it has not been
    // read yet, and nothing is saved until it has.
    bool WaitingForHeldFile() const { return held_; }
    // Runs on the tick that has read a file held at start; the window reads
    // the settings again (ReadInto), which now gives the file's values.
    std::function<void()> onFileRead;
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
    enum class Retry { OnTicks, Never };

    void Remember(SettingKey key, std::string value);
    void Forget(SettingKey key);
    bool Changed(SettingKey key) const;
    bool Save(Retry retry);
    // Reads the held file if it can be read now; true when it was.
    bool TryReadHeldFile();
    void OnRetryTick();
    void ArmRetry();

    ProfileStore& store_;
    SettingsLocations locations_;
    std::string path_;
    // Every setting's current value (as read, or as last changed), and the
    // keys changed in this run and not yet in path_.
    std::vector<IniEntry> current_;
    std::set<std::string> changed_;
    bool unsaved_ = false;

    // While path_ is held: where the shown values come from (the other copy
    // when it can be read, else nothing: the defaults).
    bool held_ = false;
    std::string shown_from_;
    bool reading_ = false;  // inside ReadInto: a change handler's write is a write-back
    std::unique_ptr<Timer> retry_;
    int wait_ticks_left_ = 0;
    int lock_attempts_ = 0;
    bool save_due_ = false;  // a save met a held file and is tried at the next tick
};

}  // namespace vellumar
