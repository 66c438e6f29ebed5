#pragma once
// Small text helpers shared by every subsystem.

#include <string>
#include <string_view>

namespace vellumar {

// The text before its first NUL with surrounding spaces removed, or the whole
// text trimmed when it holds no NUL. Turns the fixed-length buffers that
// platform calls fill into plain text.
std::string CutAtNul(std::string_view text);

// The lower-case letter of a capital of the Latin, Greek, Cyrillic or
// Armenian alphabets (or of fullwidth Latin); any other character as it is.
// One mapping for every comparison that ignores case, so that a key typed
// and a key written in a caption always agree.
char32_t LowerCase(char32_t c);

// Comparisons of names that the program and its files spell in ASCII (INI
// keys, property names, list items, reply markers): A-Z match a-z, every
// other byte only itself.
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

}  // namespace vellumar
