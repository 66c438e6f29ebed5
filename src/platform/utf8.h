#pragma once
// UTF-8, the program's one encoding for text in memory. Every place that
// walks or builds UTF-8 by hand uses these, so that malformed input is
// treated the same everywhere: a byte that does not start a well-formed
// sequence stands for itself, one character of one byte.

#include <cstddef>
#include <string>
#include <string_view>

namespace vellumar {

struct Utf8Char {
    char32_t code = 0;
    std::size_t length = 0;  // bytes taken from the text, 1 to 4
};

// The character that starts at `pos` (< text.size()). Sequences for UTF-16
// surrogates are accepted, so text converted from a file with an unpaired
// surrogate converts back unchanged.
Utf8Char DecodeUtf8At(std::string_view text, std::size_t pos);

// Appends `code` as UTF-8 (1 to 4 bytes).
void AppendUtf8(std::string& out, char32_t code);

// The number of characters in `text` (bytes that continue a sequence are not
// counted).
std::size_t Utf8CharCount(std::string_view text);

// At most `chars` characters of `text`, never cutting one in two.
std::string_view Utf8Prefix(std::string_view text, std::size_t chars);

}  // namespace vellumar
