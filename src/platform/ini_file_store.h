#pragma once
// An INI file kept safe on the disk. Reads and writes behave like the
// platform's profile functions (see IniText), but a write never edits the
// file in place: the whole new file goes to a temporary file in the same
// folder, is flushed, and then replaces the old one in one step. A kill or a
// power cut at any instant leaves the old file or the new one, never half of one.
//
// Every call makes one attempt and never waits: a file that another process
// holds open reads as Locked, is not remembered as such, and the caller
// decides when to try again (SettingsFile does it on timer ticks).

#include <map>

#include "platform/file_system.h"
#include "platform/ini_text.h"
#include "platform/profile_store.h"

namespace vellumar {

class IniFileStore : public ProfileStore {
  public:
    // Appended to the file's name for the temporary file of a save.
    static constexpr std::string_view kTemporarySuffix = ".tmp";

    explicit IniFileStore(FileSystem& files) : files_(files) {}

    std::string Read(const std::string& path, std::string_view section, std::string_view key,
                     int capacity) override;
    bool Write(const std::string& path, std::string_view section, std::string_view key,
               std::string_view value) override;
    // Reads the file as it is now, sets every entry and saves it; the folder
    // is created when missing. Not Ok, with the file untouched, when it
    // cannot be read or replaced.
    FileStatus WriteAll(const std::string& path, const std::vector<IniEntry>& entries) override;
    FileStatus Status(const std::string& path) override { return Load(path).status; }
    std::optional<std::int64_t> LastWriteTime(const std::string& path) override {
        return files_.LastWriteTime(path);
    }

  private:
    struct Loaded {
        FileStatus status = FileStatus::Missing;
        IniText text;
    };
    // The file as last read or saved; read once per path, and again while
    // it is held by another process.
    const Loaded& Load(const std::string& path);
    Loaded ReadNow(const std::string& path);
    FileStatus SaveAtomically(const std::string& path, const IniText& text);

    FileSystem& files_;
    std::map<std::string, Loaded> cache_;
};

}  // namespace vellumar
