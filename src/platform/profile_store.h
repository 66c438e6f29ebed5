#pragma once
// The platform's INI-file functions: one key of one section at a time.

#include <string>
#include <string_view>

namespace vellumar {

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
};

}  // namespace vellumar
