#pragma once
// The platform's INI-file functions: one key of one section at a time, plus
// the few facts about a file that choosing between two copies needs.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace vellumar {

struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
};

class ProfileStore {
  public:
    virtual ~ProfileStore() = default;
    // The key's value, or the empty text when the file, section or key is
    // missing. Section and key names match without regard to case. At most
    // `capacity - 1` characters come back, like a fixed buffer of that size.
    virtual std::string Read(const std::string& path, std::string_view section,
                             std::string_view key, int capacity) = 0;
    // Replaces or adds the key (and the section), leaving other lines alone.
    [[nodiscard]] virtual bool Write(const std::string& path, std::string_view section,
                                     std::string_view key, std::string_view value) = 0;
    // Writes several keys in one step where the store can; Ok when all are
    // in the file, otherwise why not (Locked: worth another try later).
    [[nodiscard]] virtual FileStatus WriteAll(const std::string& path,
                                              const std::vector<IniEntry>& entries) {
        bool all = true;
        for (const auto& entry : entries)
            all = Write(path, entry.section, entry.key, entry.value) && all;
        return all ? FileStatus::Ok : FileStatus::Failed;
    }
    // Whether the file can be read now (a file held open by another program
    // is Locked, and asked again at the next call).
    virtual FileStatus Status(const std::string& /*path*/) { return FileStatus::Ok; }
    // When the file was last written, from its metadata, which can be read
    // while another program holds the file; nothing when unknown or missing.
    virtual std::optional<std::int64_t> LastWriteTime(const std::string& /*path*/) {
        return std::nullopt;
    }
};

}  // namespace vellumar
