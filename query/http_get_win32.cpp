// The HTTP layer over WinINet, the client the Windows tool is written for:
// one blocking exchange per call on an internet handle that the first request
// opens and every later one shares. The certificate is checked against the
// system's store alone; WinINet takes no extra CA file.
#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "query/http_get.h"
#include "query/http_steps.h"

namespace zembrolt {
namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kCanonicalLength = 2084;
constexpr DWORD kHostLength = 256;
constexpr DWORD kPathLength = 2048;
constexpr DWORD kUserNameLength = 128;
constexpr DWORD kPasswordLength = 128;
constexpr DWORD kContentLengthBuffer = 32;
constexpr DWORD kSecureFlags = 0x84800000;  // reload, no cache write, secure
constexpr DWORD kPlainFlags = 0x84000000;   // reload, no cache write

struct ProcessClient {
  ~ProcessClient() {
    if (internet != nullptr) InternetCloseHandle(internet);
  }

  HINTERNET internet = nullptr;
  HttpClientSettings settings = DefaultHttpClientSettings();
  int openCount = 0;
};

ProcessClient& Client() {
  static ProcessClient client;
  return client;
}

// Closes its handle when the exchange ends, on every path.
class Handle {
 public:
  explicit Handle(HINTERNET handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != nullptr) InternetCloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

// The URL in canonical form, nothing escaped or unescaped; nullopt on failure.
std::optional<std::string> Canonicalize(const Text& url) {
  std::string area(kCanonicalLength, '\0');
  DWORD length = kCanonicalLength;
  if (!InternetCanonicalizeUrlA(url.c_str(), area.data(), &length, ICU_NO_ENCODE)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    // Once more into the size the platform asked for.
    area.assign(static_cast<std::size_t>(length) + 1, '\0');
    length = static_cast<DWORD>(area.size());
    if (!InternetCanonicalizeUrlA(url.c_str(), area.data(), &length, ICU_NO_ENCODE)) {
      return std::nullopt;
    }
  }
  area.resize(length);
  return area;
}

struct CrackedUrl {
  char host[kHostLength] = {};
  char path[kPathLength] = {};
  char userName[kUserNameLength] = {};
  char password[kPasswordLength] = {};
  INTERNET_PORT port = 0;
  bool secure = false;
};

// The parts of the URL in their fixed buffers; no separate buffer is given for
// the query, so it stays with the path.
bool Crack(const std::string& url, CrackedUrl& out) {
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = out.host;
  parts.dwHostNameLength = kHostLength;
  parts.lpszUrlPath = out.path;
  parts.dwUrlPathLength = kPathLength;
  parts.lpszUserName = out.userName;
  parts.dwUserNameLength = kUserNameLength;
  parts.lpszPassword = out.password;
  parts.dwPasswordLength = kPasswordLength;
  if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
  if (parts.nScheme != INTERNET_SCHEME_HTTPS && parts.nScheme != INTERNET_SCHEME_HTTP) return false;
  out.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  out.port = parts.nPort;
  return true;
}

// The settings' time-outs, so that a silent service ends the exchange.
void ApplyTimeouts(HINTERNET internet, const HttpClientSettings& settings) {
  DWORD connect = static_cast<DWORD>(settings.connectTimeout.count());
  DWORD receive = static_cast<DWORD>(settings.receiveTimeout.count());
  InternetSetOptionA(internet, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
  InternetSetOptionA(internet, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof receive);
  InternetSetOptionA(internet, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
}

HINTERNET OpenInternet(ProcessClient& client) {
  if (client.internet == nullptr) {
    client.internet = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (client.internet == nullptr) return nullptr;
    ++client.openCount;
  }
  ApplyTimeouts(client.internet, client.settings);
  return client.internet;
}

// The announced length as text, when the reply has one that fits 31 bytes.
std::optional<std::string> ContentLength(HINTERNET request) {
  char text[kContentLengthBuffer] = {};
  DWORD length = sizeof text;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &length, nullptr)) {
    return std::nullopt;
  }
  return std::string(text, length);
}

// Whether the reply came over TLS, after any redirects.
bool EndsSecure(HINTERNET request) {
  char url[INTERNET_MAX_URL_LENGTH + 1] = {};
  DWORD length = sizeof url;
  if (!InternetQueryOptionA(request, INTERNET_OPTION_URL, url, &length)) return false;
  return std::string_view(url, length).starts_with("https:");
}

}  // namespace

void ConfigureHttpClient(const HttpClientSettings& settings) { Client().settings = settings; }

int HttpClientOpenCount() { return Client().openCount; }

Bytes HttpGetBytes(const Text& url) {
  if (url.empty()) return Bytes();
  // The same URLs are refused as on every platform, before WinINet sees them:
  // one with a control byte or blank would change the request line.
  if (!PrepareRequestUrl(url)) return Bytes();
  const std::optional<std::string> canonical = Canonicalize(CutAtFragment(url));
  if (!canonical) return Bytes();
  CrackedUrl parts;
  if (!Crack(*canonical, parts)) return Bytes();

  ProcessClient& client = Client();
  HINTERNET internet = OpenInternet(client);
  if (internet == nullptr) return Bytes();
  const Handle connection(InternetConnectA(internet, parts.host, parts.port, parts.userName,
                                           parts.password, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return Bytes();

  // The system's proxy configuration, asked for before every request; the
  // results are not looked at.
  INTERNET_PROXY_INFO proxy{INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr};
  InternetSetOptionA(internet, INTERNET_OPTION_PROXY, &proxy, sizeof proxy);
  char empty[] = "";
  InternetSetOptionA(connection.get(), INTERNET_OPTION_PROXY_USERNAME, empty, 1);
  InternetSetOptionA(connection.get(), INTERNET_OPTION_PROXY_PASSWORD, empty, 1);

  const char* acceptTypes[] = {"Accept: */* \r\n", nullptr};
  const Handle request(HttpOpenRequestA(connection.get(), "GET", parts.path, "HTTP/1.0", nullptr,
                                        acceptTypes, parts.secure ? kSecureFlags : kPlainFlags, 0));
  if (!request) return Bytes();
  ApplyTimeouts(request.get(), client.settings);
  static constexpr char kHeaders[] = "Accept: */*\r\n\r\n";
  static_assert(sizeof kHeaders - 1 == 15);
  if (!HttpSendRequestA(request.get(), kHeaders, sizeof kHeaders - 1, nullptr, 0)) return Bytes();
  // WinINet refuses a redirect from https to http, but not every
  // implementation of it does: nothing asked over TLS is answered in the clear.
  if (parts.secure && !EndsSecure(request.get())) return Bytes();

  const std::optional<std::string> length = ContentLength(request.get());
  const std::size_t readSize =
      ReadSizeFor(length ? std::optional<std::string_view>(*length) : std::nullopt);
  std::string body;
  std::vector<char> buffer;
  try {
    buffer.resize(readSize);
  } catch (const std::bad_alloc&) {
    return Bytes();
  }
  // A service that trickles a byte now and then would hold the window as
  // long as it likes: less than kMinBytesPerReceiveWindow in a whole receive
  // time-out ends the exchange with what it has.
  auto windowStart = std::chrono::steady_clock::now();
  std::size_t windowBytes = 0;
  for (;;) {
    // Asking first what has arrived keeps a read from waiting to fill the
    // whole buffer: a layer that does so loses what it holds when the
    // connection then breaks or falls silent. No bytes ready is the end.
    const auto now = std::chrono::steady_clock::now();
    if (now - windowStart >= client.settings.receiveTimeout) {
      if (windowBytes < kMinBytesPerReceiveWindow) break;
      windowStart = now;
      windowBytes = 0;
    }
    DWORD ready = 0;
    if (!InternetQueryDataAvailable(request.get(), &ready, 0, 0) || ready == 0) break;
    const DWORD want = ready < buffer.size() ? ready : static_cast<DWORD>(buffer.size());
    DWORD read = 0;
    if (!InternetReadFile(request.get(), buffer.data(), want, &read) || read == 0) break;
    try {
      body.append(buffer.data(), read);
      windowBytes += read;
    } catch (const std::bad_alloc&) {
      break;  // the bytes collected so far stay
    }
  }
  return Bytes(std::move(body));
}

}  // namespace zembrolt
