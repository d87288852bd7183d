// The steps of a service request that do not depend on the HTTP library:
// preparing the URL before anything is sent, and sizing the reply buffer.
#ifndef ZEMBROLT_QUERY_HTTP_STEPS_H_
#define ZEMBROLT_QUERY_HTTP_STEPS_H_

#include <cstddef>
#include <optional>
#include <string_view>

#include "encoding/text.h"

namespace zembrolt {

// What the HTTP layer needs of a URL. The user name and password are taken
// apart only to hold them to their limits; they are never sent.
struct UrlParts {
  bool secure = false;  // https: TLS; http: plain TCP
  Text host;            // as written, an IPv6 literal with its brackets
  int port = 0;         // the scheme's default when the URL names none
  Text pathWithQuery;   // starts with "/"; sent as it stands
  Text userName;
  Text password;
};

// The limits of the buffers the URL is taken apart into, terminator excluded.
inline constexpr std::size_t kMaxHostLength = 255;
inline constexpr std::size_t kMaxPathWithQueryLength = 2047;
inline constexpr std::size_t kMaxUserNameLength = 127;
inline constexpr std::size_t kMaxPasswordLength = 127;

// `url` up to its first "#", or whole when it has none.
Text CutAtFragment(const Text& url);

// `url` with its scheme in lower case, an empty path written as "/" and the
// "." and ".." segments of the path resolved; nothing is escaped or unescaped
// and the query is left alone. Empty when the URL has no scheme.
Text CanonicalizeUrl(const Text& url);

// The parts of a canonical http or https URL; nullopt for another scheme, a
// missing or malformed host or port, a part longer than its limit, or a
// control byte or blank in the host or path, which would change the request
// line or its headers.
std::optional<UrlParts> CrackUrl(const Text& url);

// CutAtFragment, CanonicalizeUrl and CrackUrl in turn: nullopt when any fails.
std::optional<UrlParts> PrepareRequestUrl(const Text& url);

// The size of the reply buffer for the announced length `contentLength` (the
// header's value, nullopt when absent): n + 1 for a leading decimal n, at most
// 102400, and 10240 when n <= 0, there is no number or the text is longer
// than 31 characters.
std::size_t ReadSizeFor(std::optional<std::string_view> contentLength);

}  // namespace zembrolt

#endif  // ZEMBROLT_QUERY_HTTP_STEPS_H_
