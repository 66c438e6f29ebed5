#pragma once
// Fakes of the platform interfaces for native tests. Each can append what it
// is asked to a shared CallLog, so a test can check the order of effects.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "fakes/fake_session.h"
#include "fakes/fake_timers.h"
#include "platform/file_system.h"
#include "platform/profile_store.h"
#include "platform/run_key.h"
#include "platform/session.h"
#include "platform/timer.h"

namespace vellumar::testing {

// An INI file in memory; section and key names match without regard to case.
class FakeProfileStore : public ProfileStore {
  public:
    explicit FakeProfileStore(CallLog* log = nullptr) : log_(log) {}

    std::string Read(const std::string& path, std::string_view section, std::string_view key,
                     int capacity) override {
        if (log_)
            log_->Add("ini.read " + std::string(section) + "." + std::string(key));
        auto it = values.find(Key(path, section, key));
        if (it == values.end())
            return {};
        std::string value = it->second;
        if (static_cast<int>(value.size()) > capacity - 1)
            value.resize(static_cast<std::size_t>(capacity - 1));
        return value;
    }
    bool Write(const std::string& path, std::string_view section, std::string_view key,
               std::string_view value) override {
        if (log_)
            log_->Add("ini.write " + std::string(section) + "." + std::string(key) + "=" +
                      std::string(value));
        ++writes;
        if (fail_writes)
            return false;
        values[Key(path, section, key)] = std::string(value);
        return true;
    }
    void Set(const std::string& path, std::string_view section, std::string_view key,
             std::string value) {
        values[Key(path, section, key)] = std::move(value);
    }
    std::string Get(const std::string& path, std::string_view section, std::string_view key) const {
        auto it = values.find(Key(path, section, key));
        return it == values.end() ? "<missing>" : it->second;
    }

    std::map<std::string, std::string> values;
    int writes = 0;
    bool fail_writes = false;

  private:
    static std::string Key(const std::string& path, std::string_view section,
                           std::string_view key) {
        std::string k = path + "|" + std::string(section) + "|" + std::string(key);
        std::transform(k.begin(), k.end(), k.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        return k;
    }
    CallLog* log_;
};

class FakeRunKey : public RunKey {
  public:
    explicit FakeRunKey(CallLog* log = nullptr) : log_(log) {}
    bool SetValue(RegistryRoot root, std::string_view name, std::string_view data) override {
        if (log_)
            log_->Add(std::string("run.set ") + RootName(root) + " " + std::string(name));
        if (root == RegistryRoot::LocalMachine && machine_read_only)
            return false;
        values[{root, std::string(name)}] = std::string(data);
        return true;
    }
    bool DeleteValue(RegistryRoot root, std::string_view name) override {
        if (log_)
            log_->Add(std::string("run.delete ") + RootName(root) + " " + std::string(name));
        if (root == RegistryRoot::LocalMachine && machine_read_only) {
            return values.count({root, std::string(name)}) == 0;
        }
        values.erase({root, std::string(name)});
        return true;
    }
    bool Has(RegistryRoot root, const std::string& name) const {
        return values.count({root, name}) != 0;
    }
    std::string Data(RegistryRoot root, const std::string& name) const {
        auto it = values.find({root, name});
        return it == values.end() ? "<missing>" : it->second;
    }
    static const char* RootName(RegistryRoot root) {
        return root == RegistryRoot::LocalMachine ? "HKLM" : "HKCU";
    }

    std::map<std::pair<RegistryRoot, std::string>, std::string> values;
    bool machine_read_only = false;

  private:
    CallLog* log_;
};

// Files in memory. Folders in `read_only_folders` take no new file, files
// marked read-only cannot be replaced, and a locked file answers Locked to
// its next `locked_for` accesses. `crash_after` stops the machine after that
// many changes to the disk: the step under way is left half done (a new file
// holds half its bytes) and nothing after it happens.
class FakeFileSystem : public FileSystem {
  public:
    struct File {
        std::string bytes;
        std::int64_t written = 0;
        bool read_only = false;
        int locked_for = 0;
        // The same content, written at the same time.
        bool operator==(const File& o) const { return bytes == o.bytes && written == o.written; }
    };

    std::string ExecutablePath() override { return executable_path; }
    std::string UserAppDataFolder() override { return app_data; }
    bool CanWriteInFolder(const std::string& folder) override {
        return writable.count(folder) != 0;
    }
    bool EnsureFolder(const std::string& folder) override {
        created.push_back(folder);
        return can_create;
    }
    FileStatus ReadFile(const std::string& path, std::string& bytes) override {
        auto it = files.find(path);
        if (it == files.end())
            return FileStatus::Missing;
        if (Locked(it->second))
            return FileStatus::Locked;
        bytes = it->second.bytes;
        return FileStatus::Ok;
    }
    std::optional<std::int64_t> LastWriteTime(const std::string& path) override {
        return files.count(path) ? std::optional(files[path].written) : std::nullopt;
    }
    FileStatus WriteNewFile(const std::string& path, std::string_view bytes) override {
        if (const auto failed = Step("write " + path))
            return *failed;
        if (read_only_folders.count(FolderOf(path)))
            return FileStatus::Denied;
        File& file = files[path];
        file.bytes = std::string(crashed ? bytes.substr(0, bytes.size() / 2) : bytes);
        file.written = ++clock;
        return crashed ? FileStatus::Failed : FileStatus::Ok;
    }
    FileStatus ReplaceFile(const std::string& replacement, const std::string& target) override {
        if (const auto failed = Step("replace " + target))
            return *failed;
        auto it = files.find(target);
        if (it != files.end() && Locked(it->second))
            return FileStatus::Locked;
        if (read_only_folders.count(FolderOf(target)) ||
            (it != files.end() && it->second.read_only))
            return FileStatus::Denied;
        if (crashed)
            return FileStatus::Failed;
        files[target] = files[replacement];
        files.erase(replacement);
        return FileStatus::Ok;
    }
    void RemoveFile(const std::string& path) override {
        if (!Step("remove " + path))
            files.erase(path);
    }

    void Put(const std::string& path, std::string bytes) {
        files[path] = File{std::move(bytes), ++clock};
    }
    std::string Bytes(const std::string& path) const {
        auto it = files.find(path);
        return it == files.end() ? "<missing>" : it->second.bytes;
    }

    std::string executable_path = "C:\\Tools\\Vellumar\\vellumar.exe";
    std::string app_data = "C:\\Users\\ann\\AppData\\Roaming";
    std::set<std::string> writable = {"C:\\Tools\\Vellumar"};
    bool can_create = true;
    std::vector<std::string> created;

    std::map<std::string, File> files;
    std::set<std::string> read_only_folders;
    int crash_after = -1;   // changes until the machine stops; -1 never
    std::string fail_step;  // a change (e.g. "replace C:\\x") that fails
    bool crashed = false;

  private:
    static std::string FolderOf(const std::string& path) {
        return path.substr(0, path.find_last_of('\\'));
    }
    static bool Locked(File& file) { return file.locked_for > 0 && file.locked_for--; }
    // Nothing when the change may go ahead (half of it when the machine
    // stops now); otherwise what the caller sees.
    std::optional<FileStatus> Step(const std::string& name) {
        if (crashed || name == fail_step)
            return FileStatus::Failed;
        if (crash_after >= 0 && crash_after-- == 0)
            crashed = true;
        return std::nullopt;
    }
    std::int64_t clock = 0;
};

class FakeHost : public MainWindowHost {
  public:
    explicit FakeHost(CallLog& log) : log_(log) {}
    void HideWindow() override {
        log_.Add("window.hide");
        shown = false;
    }
    bool WindowShown() override { return shown; }
    void SetTopmost(bool value) override {
        log_.Add(value ? "window.topmost" : "window.notopmost");
        topmost = value;
    }
    void RequestMinimise() override {
        log_.Add("window.minimise");
        ++minimise_requests;
    }
    void BeginCaptionDrag() override { log_.Add("window.drag"); }
    void MoveWindowTwips(double left, double top) override {
        log_.Add("window.move");
        this->left = left;
        this->top = top;
    }
    void ScreenSizeTwips(double& width, double& height) override {
        width = screen_width;
        height = screen_height;
    }

    bool shown = true;
    bool topmost = false;
    int minimise_requests = 0;
    double left = -1, top = -1;
    double screen_width = 1024 * 15, screen_height = 768 * 15;

  private:
    CallLog& log_;
};

}  // namespace vellumar::testing
