#pragma once
// One HTTP GET as the portable code sees it: a request that either fails or
// gives a reply, of any status, whose head is read at once and whose body is
// read piece by piece. Nothing is followed or judged here: the caller decides
// what a redirect, a status or a short body means (engine/ad_fetch.h). The
// Win32 implementation (engine/win32/ad_fetch_win32.h) uses WinINet; tests
// script their replies in memory.

#include <cstddef>
#include <memory>
#include <span>
#include <string>

namespace vellumar {

// The status and the headers a caller decides on, as the server sent them
// (empty when absent).
struct HttpHead {
    int status = 0;
    std::string location;
    std::string content_length;
    std::string transfer_encoding;
};

// A reply, its body open for reading.
class HttpReply {
  public:
    virtual ~HttpReply() = default;
    HttpHead head;
    // Reads at most buffer.size() bytes of the body into `buffer`. False on
    // an error; true with `read_bytes` 0 at the end of the body.
    [[nodiscard]] virtual bool Read(std::span<char> buffer, std::size_t& read_bytes) = 0;
    // Once Read has given the end of a chunked body: whether its last chunk
    // came. A client that decodes chunks out of sight says false.
    [[nodiscard]] virtual bool LastChunkSeen() const = 0;
};

class HttpClient {
  public:
    virtual ~HttpClient() = default;
    // Sends one GET for `url` and follows no redirect. nullptr when no reply
    // came: the request failed or timed out, or the answer was no HTTP.
    virtual std::unique_ptr<HttpReply> Get(const std::string& url) = 0;
};

}  // namespace vellumar
