#include "platform/ini_text.h"

#include <cstdint>

#include "platform/utf8.h"

namespace vellumar {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text, std::string_view blanks = kBlanks) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// A line without its line break.
std::string_view Content(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

// The name of a "[section]" line, or nothing for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view text = Trim(Content(line));
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const auto close = text.find(']');
    return Trim(
        text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

std::optional<KeyLine> KeyOf(std::string_view line) {
    const std::string_view text = Content(line);
    const auto equals = text.find('=');
    const std::string_view name = Trim(text.substr(0, equals));
    if (name.empty() || name.front() == ';')
        return std::nullopt;
    if (equals == std::string_view::npos)
        return KeyLine{name, {}};
    return KeyLine{name, Trim(text.substr(equals + 1))};
}

// UTF-16 to UTF-8 and back. Unpaired surrogates are carried as three-byte
// sequences, so that whatever a file holds comes back unchanged.
std::string Utf8FromUtf16(std::string_view bytes, bool big_endian) {
    std::string out;
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        return big_endian ? (b0 << 8u) | b1 : (b1 << 8u) | b0;
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10u) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::string Utf16FromUtf8(std::string_view text, bool big_endian) {
    std::string out;
    auto put = [&](std::uint32_t unit) {
        const auto high = static_cast<char>(unit >> 8u);
        const auto low = static_cast<char>(unit & 0xFFu);
        out += big_endian ? high : low;
        out += big_endian ? low : high;
    };
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char decoded = DecodeUtf8At(text, i);
        const std::uint32_t cp = decoded.code;
        i += decoded.length;
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10u));
            put(0xDC00 + ((cp - 0x10000) & 0x3FFu));
        } else {
            put(cp);
        }
    }
    return out;
}

}  // namespace

IniText IniText::FromBytes(std::string_view bytes) {
    IniText ini;
    std::string text;
    if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom)) {
        const bool big_endian = bytes.starts_with(kUtf16BeBom);
        ini.encoding_ = big_endian ? Encoding::Utf16Be : Encoding::Utf16Le;
        ini.bom_ = std::string(bytes.substr(0, 2));
        bytes.remove_prefix(2);
        // A last byte that is half a code unit is no text, but it is the file's.
        if (bytes.size() % 2 != 0) {
            ini.tail_ = std::string(bytes.substr(bytes.size() - 1));
            bytes.remove_suffix(1);
        }
        text = Utf8FromUtf16(bytes, big_endian);
    } else {
        if (bytes.starts_with(kUtf8Bom)) {
            ini.bom_ = std::string(kUtf8Bom);
            bytes.remove_prefix(kUtf8Bom.size());
        }
        text = std::string(bytes);
    }
    // A line ends at CR LF, at LF or at CR alone; each keeps the break it had.
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find_first_of("\r\n", start);
        std::size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end != std::string::npos && text[end] == '\r' && next < text.size() &&
            text[next] == '\n')
            ++next;
        ini.lines_.push_back(text.substr(start, next - start));
        start = next;
    }
    return ini;
}

std::string IniText::ToBytes() const {
    std::string text;
    for (const auto& line : lines_) text += line;
    switch (encoding_) {
        case Encoding::Utf16Le:
            return bom_ + Utf16FromUtf8(text, false) + tail_;
        case Encoding::Utf16Be:
            return bom_ + Utf16FromUtf8(text, true) + tail_;
        case Encoding::Bytes:
            break;
    }
    return bom_ + text;
}

IniText::Place IniText::Find(std::string_view section, std::string_view key) const {
    Place place;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(lines_[i]);
        if (place.section_line) {
            if (name)
                break;
            if (!Trim(Content(lines_[i])).empty())
                place.end_of_section = i + 1;
            const auto entry = KeyOf(lines_[i]);
            if (entry && SameName(entry->name, key)) {
                place.key_line = i;
                return place;
            }
        } else if (name && SameName(*name, section)) {
            place.section_line = i;
            place.end_of_section = i + 1;
        }
    }
    return place;
}

std::optional<std::string> IniText::Get(std::string_view section, std::string_view key) const {
    const Place place = Find(section, key);
    if (!place.key_line)
        return std::nullopt;
    std::string_view value = KeyOf(lines_[*place.key_line])->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::string_view IniText::NewLine() const {
    for (const std::string_view line : lines_) {
        if (const auto line_break = line.substr(Content(line).size()); !line_break.empty())
            return line_break;
    }
    return "\r\n";
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
    const Place place = Find(section, key);
    const std::string_view newline = NewLine();
    if (place.key_line) {
        std::string& line = lines_[*place.key_line];
        const std::string_view old = line;
        const std::string_view line_break = old.substr(Content(old).size());
        line = std::string(KeyOf(old)->name) + "=" + std::string(value) + std::string(line_break);
        return;
    }
    const std::string entry = std::string(key) + "=" + std::string(value) + std::string(newline);
    if (place.section_line) {
        // The line before may be the file's last one, without a line break.
        std::string& before = lines_[place.end_of_section - 1];
        if (Content(before).size() == before.size())
            before += newline;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(place.end_of_section), entry);
        return;
    }
    if (!lines_.empty() && Content(lines_.back()).size() == lines_.back().size())
        lines_.back() += newline;
    std::string header(1, '[');
    header.append(section).append("]").append(newline);
    lines_.push_back(std::move(header));
    lines_.push_back(entry);
}

}  // namespace vellumar
