#pragma once
// The text of an INI file, read and edited the way the platform's profile
// functions do it: section and key names match without regard to case, a
// value comes back without its surrounding spaces (and one pair of matching
// quotes), and an edit changes one line or adds one, leaving every other
// line of the file exactly as it was. Lines may end in CR LF, LF or CR alone,
// mixed in any way; each keeps its own break, and added lines take the first
// break of the file (CR LF in a file without one).
//
// The file's encoding is kept: a file with a UTF-16 byte-order mark is
// edited as UTF-16 and written back so; any other file is edited byte for
// byte (the ANSI code page or UTF-8), which is safe because the names looked
// for are ASCII and new lines hold only what the program writes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

class IniText {
  public:
    IniText() = default;
    // A file's bytes as they are on the disk.
    static IniText FromBytes(std::string_view bytes);
    // The bytes to write back, in the encoding the file came in.
    std::string ToBytes() const;

    // The key's value, or nothing when the section or the key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Replaces the key's value in place, or adds the key at the end of its
    // section, or the section with the key at the end of the file.
    void Set(std::string_view section, std::string_view key, std::string_view value);

  private:
    enum class Encoding { Bytes, Utf16Le, Utf16Be };

    // Where a key of a section is, or where it would go.
    struct Place {
        std::optional<std::size_t> section_line;
        std::optional<std::size_t> key_line;
        std::size_t end_of_section = 0;  // the line after the section's last non-blank line
    };
    Place Find(std::string_view section, std::string_view key) const;
    std::string_view NewLine() const;

    Encoding encoding_ = Encoding::Bytes;
    std::string bom_;                 // kept as it was (UTF-8 files may carry one too)
    std::string tail_;                // an odd last byte of a UTF-16 file, kept as it was
    std::vector<std::string> lines_;  // each with its own line break, UTF-8 or bytes
};

}  // namespace vellumar
