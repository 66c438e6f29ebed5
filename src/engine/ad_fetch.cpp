#include "engine/ad_fetch.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "engine/ad_line.h"
#include "platform/text.h"

namespace vellumar {

namespace {

constexpr std::string_view kSpaces = " \t";

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpaces) - first + 1);
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The scheme of an absolute reference ("http" of "http://h/"); empty for a
// relative one.
std::string_view SchemeOf(std::string_view reference) {
    const auto colon = reference.find(':');
    if (colon == std::string_view::npos || colon == 0 || !IsAsciiLetter(reference[0]))
        return {};
    for (const char c : reference.substr(0, colon)) {
        const bool digit = c >= '0' && c <= '9';
        if (!IsAsciiLetter(c) && !digit && c != '+' && c != '-' && c != '.')
            return {};
    }
    return reference.substr(0, colon);
}

bool IsWebScheme(std::string_view scheme) {
    return EqualsIgnoringAsciiCase(scheme, "http") || EqualsIgnoringAsciiCase(scheme, "https");
}

// How a reply's body ends, from its head.
struct Framing {
    bool valid = true;
    bool chunked = false;
    std::optional<std::uint64_t> length;  // when announced and not chunked
};

Framing FramingOf(const HttpHead& head) {
    Framing framing;
    if (!head.transfer_encoding.empty()) {
        // The last coding decides; any other ends with the connection.
        std::string_view codings = head.transfer_encoding;
        const auto comma = codings.rfind(',');
        if (comma != std::string_view::npos)
            codings.remove_prefix(comma + 1);
        framing.chunked = EqualsIgnoringAsciiCase(Trimmed(codings), "chunked");
        return framing;
    }
    const std::string_view text = Trimmed(head.content_length);
    if (head.content_length.empty())
        return framing;
    std::uint64_t length = 0;
    framing.valid = !text.empty() && text.size() <= 18;  // no overflow
    for (const char c : text) {
        framing.valid = framing.valid && c >= '0' && c <= '9';
        length = length * 10 + static_cast<std::uint64_t>(c - '0');
    }
    framing.length = length;
    return framing;
}

// The whole body of a reply; nothing on an error, a body cut short and one
// over the cap.
std::optional<std::string> WholeBody(HttpReply& reply) {
    const Framing framing = FramingOf(reply.head);
    if (!framing.valid)
        return std::nullopt;
    std::string body;
    std::array<char, kAdChunkBytes> chunk{};
    for (;;) {
        std::size_t read_bytes = 0;
        if (!reply.Read(chunk, read_bytes))
            return std::nullopt;
        if (read_bytes == 0)
            break;
        body.append(chunk.data(), read_bytes);
        // A reply this long is no advertisement; stop before it costs more.
        if (body.size() > kAdReplyCapBytes)
            return std::nullopt;
    }
    if (framing.chunked ? !reply.LastChunkSeen()
                        : framing.length && body.size() != *framing.length) {
        return std::nullopt;
    }
    return body;
}

}  // namespace

std::string RedirectTarget(std::string_view from, std::string_view location) {
    std::string_view reference = Trimmed(location);
    reference = reference.substr(0, reference.find('#'));
    if (reference.empty())
        return {};
    if (const std::string_view scheme = SchemeOf(reference); !scheme.empty()) {
        const bool web = IsWebScheme(scheme) && reference.substr(scheme.size()).starts_with("://");
        return web ? std::string(reference) : std::string{};
    }
    // `from` is scheme://authority/path?query#fragment.
    const auto scheme_end = from.find("://");
    if (scheme_end == std::string_view::npos || !IsWebScheme(from.substr(0, scheme_end)))
        return {};
    if (reference.starts_with("//"))
        return std::string(from.substr(0, scheme_end + 1)) + std::string(reference);
    from = from.substr(0, from.find('#'));
    const auto authority_end = std::min(from.find_first_of("/?", scheme_end + 3), from.size());
    const std::string_view origin = from.substr(0, authority_end);
    const std::string_view path = from.substr(authority_end, from.find('?') - authority_end);
    std::string target(origin);
    if (reference.front() == '/') {
        target += reference;
    } else if (reference.front() == '?') {
        target += path.empty() ? "/" : path;
        target += reference;
    } else {
        const auto slash = path.rfind('/');
        target += slash == std::string_view::npos ? "/" : path.substr(0, slash + 1);
        target += reference;
    }
    return target;
}

std::string GetAdText(HttpClient& http, const std::string& url) {
    std::string address = url;
    for (int redirects = 0;; ++redirects) {
        const std::unique_ptr<HttpReply> reply = http.Get(address);
        if (!reply)
            return {};
        const HttpHead& head = reply->head;
        if (IsRedirect(head.status) && !head.location.empty()) {
            if (redirects == kAdRedirectCap)
                return {};
            address = RedirectTarget(address, head.location);
            if (address.empty())
                return {};
            continue;
        }
        if (head.status < 200 || head.status > 299)
            return {};
        const std::optional<std::string> body = WholeBody(*reply);
        return body ? AdTextOfReply(*body) : std::string{};
    }
}

}  // namespace vellumar
