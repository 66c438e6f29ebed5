#include "app/settings.h"

#include <charconv>

#include "platform/text.h"

namespace vellumar {

std::string FolderOf(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string_view::npos)
        return {};
    return std::string(path.substr(0, slash));
}

SettingsLocations SettingsLocationsOf(FileSystem& files) {
    std::string file_name(1, '\\');
    file_name += kSettingsFileName;
    SettingsLocations locations{FolderOf(files.ExecutablePath()) + file_name, {}};
    const std::string app_data = files.UserAppDataFolder();
    if (!app_data.empty())
        locations.app_data = app_data + "\\" + std::string(kAppDataFolderName) + file_name;
    return locations;
}

int CheckValueFromText(std::string_view text) {
    int value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end)
        return 0;
    return value == 1 ? 1 : 0;
}

SettingsFile::SettingsFile(ProfileStore& store, SettingsLocations locations)
    : store_(store), locations_(std::move(locations)), path_(locations_.beside_program) {
    // The copy beside the program, unless the one in the application-data
    // folder was written after it (an earlier save fell back there) or it
    // cannot be read at all.
    const std::string& other = locations_.app_data;
    if (!other.empty() && store_.Status(other) == FileStatus::Ok) {
        const bool here = store_.Status(path_) == FileStatus::Ok;
        if (!here || store_.LastWriteTime(other) > store_.LastWriteTime(path_))
            path_ = other;
    }
    // What the file holds now is what a save elsewhere has to carry.
    for (const SettingKey key : settings::kAll) {
        if (std::string value = Read(key); !value.empty())
            Remember(key, std::move(value));
    }
}

std::string SettingsFile::Read(SettingKey key) const {
    return CutAtNul(store_.Read(path_, key.section, key.key, kSettingsBufferChars));
}

void SettingsFile::Remember(SettingKey key, std::string value) {
    for (auto& entry : current_) {
        if (entry.section == key.section && entry.key == key.key) {
            entry.value = std::move(value);
            return;
        }
    }
    current_.push_back({std::string(key.section), std::string(key.key), std::move(value)});
}

void SettingsFile::Write(SettingKey key, std::string_view value) {
    Remember(key, std::string(value));
    changed_.insert(std::string(key.section) + "\n" + std::string(key.key));
    Save();
}

bool SettingsFile::Flush() {
    return !unsaved_ || Save();
}

bool SettingsFile::Save() {
    for (const std::string* target : {&locations_.beside_program, &locations_.app_data}) {
        if (target->empty() ||
            (target == &locations_.app_data && *target == locations_.beside_program))
            continue;
        // The file read at start holds every other setting already and gets
        // only the changes not yet in it; another file gets them all.
        std::vector<IniEntry> entries;
        for (const auto& entry : current_) {
            if (*target != path_ || changed_.count(entry.section + "\n" + entry.key))
                entries.push_back(entry);
        }
        if (store_.WriteAll(*target, entries)) {
            if (*target == path_)
                changed_.clear();
            unsaved_ = false;
            return true;
        }
    }
    unsaved_ = true;
    return false;
}

void SettingsFile::ReadInto(SettingKey key, CheckBox& box) {
    box.SetValue(CheckValueFromText(Read(key)));
    Remember(key, box.Value() == 0 ? "0" : "1");
}

void SettingsFile::ReadInto(SettingKey key, ComboList& list) {
    if (!list.SelectText(Read(key)) && !list.Items().empty())
        list.SelectIndex(0);
    Remember(key, list.Text());
}

void SettingsFile::WriteFrom(SettingKey key, const CheckBox& box) {
    Write(key, box.Value() == 0 ? "0" : "1");
}

void SettingsFile::WriteFrom(SettingKey key, const ComboList& list) {
    Write(key, list.Text());
}

}  // namespace vellumar
