#pragma once
// One HTTP GET as the portable code sees it: a request that either fails or
// gives a successful reply whose body is read piece by piece. The Win32
// implementation (engine/win32/ad_fetch_win32.h) uses WinINet; tests serve
// bodies from memory.

#include <cstddef>
#include <memory>
#include <span>
#include <string>

namespace vellumar {

// The body of a successful reply, open for reading.
class HttpBody {
  public:
    virtual ~HttpBody() = default;
    // Reads at most buffer.size() bytes into `buffer`. False on an error;
    // true with `read_bytes` 0 at the end of the body.
    [[nodiscard]] virtual bool Read(std::span<char> buffer, std::size_t& read_bytes) = 0;
};

class HttpClient {
  public:
    virtual ~HttpClient() = default;
    // Sends a GET for `url`. The body of a reply with a 2xx status; nullptr
    // when the request fails or the server answers with any other status.
    virtual std::unique_ptr<HttpBody> Get(const std::string& url) = 0;
};

}  // namespace vellumar
