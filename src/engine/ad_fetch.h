#pragma once
// The advertisement fetch: one GET of the text address and the redirects it
// leads to, followed here rather than by the platform, so that no server can
// make a fetch cost more than a few requests.
//
// A fetch follows at most kAdRedirectCap redirects (301, 302, 303, 307 or
// 308 with a Location), each only to an http or https address; one more, or
// one anywhere else, fails the fetch, and the line's next timer tick tries
// again. The reply at the end counts only when it is a 2xx answer whose body
// came whole (as long as its Content-Length says, or a chunked body up to its
// last chunk) and is no longer than kAdReplyCapBytes; reading stops just past
// the cap. Its text is what follows the marker (AdTextOfReply).

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/http.h"

namespace vellumar {

inline constexpr int kAdRedirectCap = 5;
inline constexpr std::size_t kAdChunkBytes = 1024;
// Longer replies are not advertisements; reading stops past this size.
inline constexpr std::size_t kAdReplyCapBytes = std::size_t{64} * 1024;

// Where a redirect from the http(s) address `from` to `location` leads: an
// absolute, scheme-relative, absolute-path, query or relative reference
// resolved against `from`, without its fragment. Empty when it leads to
// anything but an http or https address.
std::string RedirectTarget(std::string_view from, std::string_view location);

// Fetches `url` in kAdChunkBytes pieces and gives the advertisement of the
// reply; empty on any failure.
std::string GetAdText(HttpClient& http, const std::string& url);

}  // namespace vellumar
