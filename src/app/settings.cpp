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

namespace {

std::string NameOf(SettingKey key) {
    return std::string(key.section) + "\n" + std::string(key.key);
}

bool Unreadable(FileStatus status) {
    return status == FileStatus::Denied || status == FileStatus::Failed;
}

}  // namespace

SettingsFile::SettingsFile(ProfileStore& store, SettingsLocations locations, TimerService* timers)
    : store_(store), locations_(std::move(locations)), path_(locations_.beside_program) {
    if (timers) {
        retry_ =
            std::make_unique<Timer>(*timers, kRetryIntervalMs, false, [this] { OnRetryTick(); });
    }
    // The newer copy by the files' metadata, which a program holding a file
    // does not hide: the one beside the program, unless the one in the
    // application-data folder was written after it (an earlier save fell
    // back there).
    const std::string& other_place = locations_.app_data;
    const bool two_places = !other_place.empty() && other_place != path_;
    const auto beside_time = store_.LastWriteTime(path_);
    const auto other_time = two_places ? store_.LastWriteTime(other_place) : std::nullopt;
    if (other_time && (!beside_time || *other_time > *beside_time))
        path_ = other_place;
    const std::string other = path_ == other_place ? locations_.beside_program : other_place;

    FileStatus status = store_.Status(path_);
    // A copy that cannot be read at all (rights, a bad file) gives way to the other.
    if (Unreadable(status) && two_places && store_.Status(other) == FileStatus::Ok) {
        path_ = other;
        status = FileStatus::Ok;
    }
    if (status == FileStatus::Locked) {
        held_ = true;
        if (two_places && store_.Status(other) == FileStatus::Ok)
            shown_from_ = other;
        wait_ticks_left_ = kStartWaitMs / kRetryIntervalMs;
        ArmRetry();
        return;
    }
    // What the file holds now is what a save elsewhere has to carry.
    for (const SettingKey key : settings::kAll) {
        if (std::string value = Read(key); !value.empty())
            Remember(key, std::move(value));
    }
}

SettingsFile::~SettingsFile() = default;

std::string SettingsFile::Read(SettingKey key) const {
    if (Changed(key)) {
        for (const auto& entry : current_) {
            if (entry.section == key.section && entry.key == key.key)
                return entry.value;
        }
    }
    const std::string& source = held_ ? shown_from_ : path_;
    if (source.empty())
        return {};
    return CutAtNul(store_.Read(source, key.section, key.key, kSettingsBufferChars));
}

bool SettingsFile::Changed(SettingKey key) const {
    return changed_.count(NameOf(key)) != 0;
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

void SettingsFile::Forget(SettingKey key) {
    std::erase_if(current_, [&](const IniEntry& entry) {
        return entry.section == key.section && entry.key == key.key;
    });
}

void SettingsFile::Write(SettingKey key, std::string_view value) {
    // A start's write-back of a value shown while the newer copy is held
    // would put what was not read in front of what the file holds.
    if (reading_ && held_)
        return;
    Remember(key, std::string(value));
    changed_.insert(NameOf(key));
    if (held_)
        wait_ticks_left_ = kStartWaitMs / kRetryIntervalMs;
    Save(Retry::OnTicks);
}

bool SettingsFile::Flush() {
    if (held_)
        (void)TryReadHeldFile();
    return !unsaved_ || Save(Retry::Never);
}

bool SettingsFile::Save(Retry retry) {
    save_due_ = false;
    unsaved_ = true;
    if (held_) {
        // Saved into the held file once it has been read.
        if (retry == Retry::OnTicks)
            ArmRetry();
        return false;
    }
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
        const FileStatus status = store_.WriteAll(*target, entries);
        if (status == FileStatus::Ok) {
            if (*target == path_)
                changed_.clear();
            unsaved_ = false;
            lock_attempts_ = 0;
            return true;
        }
        // A held file is tried again on the next ticks before the next place.
        if (status == FileStatus::Locked && retry == Retry::OnTicks && retry_ &&
            ++lock_attempts_ < kLockAttempts) {
            save_due_ = true;
            ArmRetry();
            return false;
        }
    }
    lock_attempts_ = 0;
    return false;
}

bool SettingsFile::TryReadHeldFile() {
    if (store_.Status(path_) == FileStatus::Locked)
        return false;
    held_ = false;
    shown_from_.clear();
    // The file's values replace the ones shown, except this run's changes.
    for (const SettingKey key : settings::kAll) {
        if (Changed(key))
            continue;
        if (std::string value = Read(key); !value.empty())
            Remember(key, std::move(value));
        else
            Forget(key);
    }
    return true;
}

void SettingsFile::OnRetryTick() {
    if (held_) {
        if (!TryReadHeldFile()) {
            if (--wait_ticks_left_ <= 0)
                retry_->SetEnabled(false);
            return;
        }
        if (unsaved_)
            Save(Retry::OnTicks);
        if (onFileRead)
            onFileRead();
    } else if (save_due_) {
        Save(Retry::OnTicks);
    }
    if (!held_ && !save_due_)
        retry_->SetEnabled(false);
}

void SettingsFile::ArmRetry() {
    if (retry_ && !retry_->Enabled())
        retry_->SetEnabled(true);
}

void SettingsFile::ReadInto(SettingKey key, CheckBox& box) {
    reading_ = true;
    box.SetValue(CheckValueFromText(Read(key)));
    reading_ = false;
    Remember(key, box.Value() == 0 ? "0" : "1");
}

void SettingsFile::ReadInto(SettingKey key, ComboList& list) {
    reading_ = true;
    if (!list.SelectText(Read(key)) && !list.Items().empty())
        list.SelectIndex(0);
    reading_ = false;
    Remember(key, list.Text());
}

void SettingsFile::WriteFrom(SettingKey key, const CheckBox& box) {
    Write(key, box.Value() == 0 ? "0" : "1");
}

void SettingsFile::WriteFrom(SettingKey key, const ComboList& list) {
    Write(key, list.Text());
}

}  // namespace vellumar
