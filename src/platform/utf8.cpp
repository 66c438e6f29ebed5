#include "platform/utf8.h"

namespace vellumar {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0u) == 0x80u;
}

}  // namespace

Utf8Char DecodeUtf8At(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t extra = 0;
    char32_t code = lead;
    char32_t smallest = 0;
    if (lead >= 0xF0 && lead < 0xF5) {
        extra = 3;
        code = lead & 0x07u;
        smallest = 0x10000;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        extra = 2;
        code = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        extra = 1;
        code = lead & 0x1Fu;
        smallest = 0x80;
    }
    if (extra == 0 || pos + extra >= text.size())
        return {lead, 1};
    for (std::size_t i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(next))
            return {lead, 1};
        code = (code << 6u) | (next & 0x3Fu);
    }
    if (code < smallest || code > 0x10FFFF)
        return {lead, 1};
    return {code, extra + 1};
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0u | (code >> 6u));
        out += static_cast<char>(0x80u | (code & 0x3Fu));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0u | (code >> 12u));
        out += static_cast<char>(0x80u | ((code >> 6u) & 0x3Fu));
        out += static_cast<char>(0x80u | (code & 0x3Fu));
    } else {
        out += static_cast<char>(0xF0u | (code >> 18u));
        out += static_cast<char>(0x80u | ((code >> 12u) & 0x3Fu));
        out += static_cast<char>(0x80u | ((code >> 6u) & 0x3Fu));
        out += static_cast<char>(0x80u | (code & 0x3Fu));
    }
}

std::size_t Utf8CharCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += DecodeUtf8At(text, pos).length) ++count;
    return count;
}

std::string_view Utf8Prefix(std::string_view text, std::size_t chars) {
    std::size_t pos = 0;
    for (std::size_t count = 0; count < chars && pos < text.size(); ++count)
        pos += DecodeUtf8At(text, pos).length;
    return text.substr(0, pos);
}

}  // namespace vellumar
