#include "query/http_steps.h"

#include <string>

namespace zembrolt {
namespace {

constexpr std::size_t kDefaultReadSize = 10240;
constexpr std::size_t kMaxReadSize = 102400;
constexpr std::size_t kMaxLengthText = 31;

bool IsAsciiAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A byte that would end the request target or a header line early.
bool BreaksRequestLine(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b <= 0x20 || b == 0x7F;
}

// The length of the scheme before its ":", or 0 when `url` starts with none.
std::size_t SchemeLength(std::string_view url) {
  if (url.empty() || !IsAsciiAlpha(url[0])) return 0;
  for (std::size_t i = 1; i < url.size(); ++i) {
    const char c = url[i];
    if (c == ':') return i;
    if (!IsAsciiAlpha(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return 0;
  }
  return 0;
}

// Drops the last segment of `out`, with the "/" before it.
void DropLastSegment(std::string& out) {
  const std::size_t slash = out.rfind('/');
  out.erase(slash == std::string::npos ? 0 : slash);
}

// The path with its "." and ".." segments resolved, as a browser would.
std::string RemoveDotSegments(std::string_view in) {
  std::string out;
  while (!in.empty()) {
    if (in.starts_with("../")) {
      in.remove_prefix(3);
    } else if (in.starts_with("./") || in.starts_with("/./")) {
      // "./" goes; "/./" becomes "/".
      in.remove_prefix(2);
    } else if (in == "/.") {
      in = "/";
    } else if (in.starts_with("/../")) {
      in.remove_prefix(3);
      DropLastSegment(out);
    } else if (in == "/..") {
      in = "/";
      DropLastSegment(out);
    } else if (in == "." || in == "..") {
      in = {};
    } else {
      const std::size_t next = in.find('/', 1);
      const std::size_t take = next == std::string_view::npos ? in.size() : next;
      out.append(in.substr(0, take));
      in.remove_prefix(take);
    }
  }
  return out;
}

std::optional<int> ParsePort(std::string_view digits, int defaultPort) {
  if (digits.empty()) return defaultPort;
  if (digits.size() > 5) return std::nullopt;
  int port = 0;
  for (char c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}

bool IsHostByte(char c) {
  return !BreaksRequestLine(c) && c != '/' && c != '\\' && c != '?' && c != '#' && c != '@';
}

}  // namespace

Text CutAtFragment(const Text& url) {
  const std::string_view v = url.view();
  return Text(v.substr(0, v.find('#')));
}

Text CanonicalizeUrl(const Text& url) {
  const std::string_view v = url.view();
  const std::size_t schemeLength = SchemeLength(v);
  if (schemeLength == 0) return Text();

  std::string out;
  out.reserve(v.size() + 1);
  for (std::size_t i = 0; i < schemeLength; ++i) out.push_back(ToLower(v[i]));
  out.push_back(':');
  std::string_view rest = v.substr(schemeLength + 1);
  if (!rest.starts_with("//")) return Text(out.append(rest));

  const std::size_t authorityEnd = rest.find_first_of("/?", 2);
  out.append(rest.substr(0, authorityEnd));
  if (authorityEnd == std::string_view::npos) return Text(out.append("/"));
  rest.remove_prefix(authorityEnd);

  const std::size_t queryStart = rest.find('?');
  const std::string_view path = rest.substr(0, queryStart);
  const std::string resolved = RemoveDotSegments(path);
  out.append(resolved.empty() ? "/" : resolved);
  if (queryStart != std::string_view::npos) out.append(rest.substr(queryStart));
  return Text(out);
}

std::optional<UrlParts> CrackUrl(const Text& url) {
  const std::string_view v = url.view();
  const std::size_t schemeLength = SchemeLength(v);
  if (schemeLength == 0) return std::nullopt;
  std::string scheme;
  for (std::size_t i = 0; i < schemeLength; ++i) scheme.push_back(ToLower(v[i]));

  UrlParts parts;
  if (scheme == "https") {
    parts.secure = true;
  } else if (scheme != "http") {
    return std::nullopt;
  }
  std::string_view rest = v.substr(schemeLength + 1);
  if (!rest.starts_with("//")) return std::nullopt;
  rest.remove_prefix(2);

  const std::size_t authorityEnd = rest.find_first_of("/?");
  std::string_view authority = rest.substr(0, authorityEnd);
  const std::string_view pathQuery =
      authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);
  const std::string path =
      pathQuery.starts_with('/') ? std::string(pathQuery) : "/" + std::string(pathQuery);

  const std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    const std::string_view userInfo = authority.substr(0, at);
    const std::size_t colon = userInfo.find(':');
    const std::string_view user = userInfo.substr(0, colon);
    const std::string_view password =
        colon == std::string_view::npos ? std::string_view() : userInfo.substr(colon + 1);
    if (user.size() > kMaxUserNameLength || password.size() > kMaxPasswordLength) {
      return std::nullopt;
    }
    parts.userName = Text(user);
    parts.password = Text(password);
    authority.remove_prefix(at + 1);
  }

  std::string_view host;
  std::string_view portDigits;
  if (authority.starts_with("[")) {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = authority.substr(0, close + 1);
    const std::string_view after = authority.substr(close + 1);
    if (!after.empty() && !after.starts_with(":")) return std::nullopt;
    if (!after.empty()) portDigits = after.substr(1);
  } else {
    const std::size_t colon = authority.find(':');
    host = authority.substr(0, colon);
    if (colon != std::string_view::npos) portDigits = authority.substr(colon + 1);
  }
  if (host.empty() || host.size() > kMaxHostLength) return std::nullopt;
  for (char c : host) {
    if (!IsHostByte(c)) return std::nullopt;
  }
  const std::optional<int> port = ParsePort(portDigits, parts.secure ? 443 : 80);
  if (!port) return std::nullopt;

  if (path.size() > kMaxPathWithQueryLength) return std::nullopt;
  for (char c : path) {
    if (BreaksRequestLine(c)) return std::nullopt;
  }
  parts.host = Text(host);
  parts.port = *port;
  parts.pathWithQuery = Text(path);
  return parts;
}

std::optional<UrlParts> PrepareRequestUrl(const Text& url) {
  const Text canonical = CanonicalizeUrl(CutAtFragment(url));
  if (canonical.empty()) return std::nullopt;
  return CrackUrl(canonical);
}

std::size_t ReadSizeFor(std::optional<std::string_view> contentLength) {
  if (!contentLength || contentLength->size() > kMaxLengthText) return kDefaultReadSize;
  std::string_view s = *contentLength;
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  // Saturates well above the cap, so a long run of digits cannot overflow.
  std::size_t n = 0;
  for (char c : s) {
    if (!IsDigit(c)) break;
    n = n * 10 + static_cast<std::size_t>(c - '0');
    if (n >= kMaxReadSize) n = kMaxReadSize;
  }
  if (negative || n == 0) return kDefaultReadSize;
  return n + 1 > kMaxReadSize ? kMaxReadSize : n + 1;
}

}  // namespace zembrolt
