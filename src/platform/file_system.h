#pragma once
// Where the program is and where it may keep its file, and the few file
// operations an all-or-nothing save needs. Paths are UTF-8 with the
// platform's separators.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellumar {

enum class FileStatus {
    Ok,
    Missing,  // the file (or its folder) does not exist
    Locked,   // another process holds it open without sharing; worth a retry
    Denied,   // read-only file or folder, or no rights
    Failed,   // anything else (disk full, bad path)
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Full path of the running executable.
    virtual std::string ExecutablePath() = 0;
    // The signed-in user's roaming application-data folder; empty if unknown.
    virtual std::string UserAppDataFolder() = 0;
    // Whether a file can be created in `folder` (tried, not guessed from
    // attributes, since ACLs and virtualisation decide).
    virtual bool CanWriteInFolder(const std::string& folder) = 0;
    // Creates `folder` and its missing parents; true when it exists afterwards.
    virtual bool EnsureFolder(const std::string& folder) = 0;

    // The whole file.
    virtual FileStatus ReadFile(const std::string& path, std::string& bytes) = 0;
    // When the file was last written, in the platform's ticks (only compared
    // with each other), from the file's metadata: known also while another
    // process holds the file open without sharing it; nothing when it does
    // not exist.
    virtual std::optional<std::int64_t> LastWriteTime(const std::string& path) = 0;
    // Creates or truncates the file, writes `bytes`, flushes them to the disk
    // and closes it.
    virtual FileStatus WriteNewFile(const std::string& path, std::string_view bytes) = 0;
    // Puts `replacement` in the place of `target` in one step, so that the
    // target is either the old file or the new one at every instant. Fails,
    // touching neither, when the target is read-only or held open.
    virtual FileStatus ReplaceFile(const std::string& replacement, const std::string& target) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
};

}  // namespace vellumar
