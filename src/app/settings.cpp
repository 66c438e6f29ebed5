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

std::string ChooseSettingsPath(FileSystem& files) {
    const std::string exe_folder = FolderOf(files.ExecutablePath());
    std::string folder = exe_folder;
    if (!files.CanWriteInFolder(exe_folder)) {
        const std::string app_data = files.UserAppDataFolder();
        if (!app_data.empty()) {
            const std::string own = app_data + "\\" + std::string(kAppDataFolderName);
            if (files.EnsureFolder(own))
                folder = own;
        }
    }
    return folder + "\\" + std::string(kSettingsFileName);
}

int CheckValueFromText(std::string_view text) {
    int value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end)
        return 0;
    return value == 1 ? 1 : 0;
}

std::string SettingsFile::Read(SettingKey key) const {
    return CutAtNul(store_.Read(path_, key.section, key.key, kSettingsBufferChars));
}

void SettingsFile::Write(SettingKey key, std::string_view value) {
    (void)store_.Write(path_, key.section, key.key, value);
}

void SettingsFile::ReadInto(SettingKey key, CheckBox& box) const {
    box.SetValue(CheckValueFromText(Read(key)));
}

void SettingsFile::ReadInto(SettingKey key, ComboList& list) const {
    if (!list.SelectText(Read(key)) && !list.Items().empty())
        list.SelectIndex(0);
}

void SettingsFile::WriteFrom(SettingKey key, const CheckBox& box) {
    Write(key, box.Value() == 0 ? "0" : "1");
}

void SettingsFile::WriteFrom(SettingKey key, const ComboList& list) {
    Write(key, list.Text());
}

}  // namespace vellumar
