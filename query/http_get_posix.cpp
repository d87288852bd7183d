// The HTTP layer over libcurl, made to put on the wire exactly what the
// Windows layer sends and to hand back the body the way it does.
#include <curl/curl.h>

#include <chrono>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "query/http_get.h"
#include "query/http_steps.h"

namespace zembrolt {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr int kMaxRedirects = 10;

// libcurl's global set-up and the share that carries the DNS cache, the TLS
// sessions and the cookies from one request to the next; everything else is
// made and dropped per request, so no connection outlives its request.
class ProcessClient {
 public:
  ~ProcessClient() {
    if (share_ == nullptr) return;
    curl_share_cleanup(share_);
    curl_global_cleanup();
  }

  // The share, opened on first use; null when opening fails, so that the
  // next request tries again.
  CURLSH* Open() {
    if (share_ != nullptr) return share_;
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
    CURLSH* share = curl_share_init();
    if (share == nullptr ||
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS) != CURLSHE_OK ||
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION) != CURLSHE_OK ||
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE) != CURLSHE_OK) {
      if (share != nullptr) curl_share_cleanup(share);
      curl_global_cleanup();
      return nullptr;
    }
    share_ = share;
    ++openCount;
    return share_;
  }

  HttpClientSettings settings = DefaultHttpClientSettings();
  int openCount = 0;

 private:
  CURLSH* share_ = nullptr;
};

ProcessClient& Client() {
  static ProcessClient client;
  return client;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

std::string HeaderValue(std::string_view line, std::size_t nameLength) {
  line.remove_prefix(nameLength);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ' ||
                           line.back() == '\t')) {
    line.remove_suffix(1);
  }
  return std::string(line);
}

// One request on one connection, and what its reply brought.
struct Exchange {
  CURL* easy = nullptr;
  std::chrono::milliseconds receiveTimeout{};
  bool connected = false;
  Clock::time_point lastReceived;
  // What arrived since the start of the current receive window.
  Clock::time_point windowStart;
  std::size_t windowBytes = 0;
  // Of the latest response head: an interim or redirect reply starts afresh.
  std::optional<std::string> contentLength;
  std::optional<std::string> location;
  std::string body;
};

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  Exchange& ex = *static_cast<Exchange*>(user);
  const std::string_view line(data, size * count);
  ex.lastReceived = Clock::now();
  ex.windowBytes += line.size();
  if (line.starts_with("HTTP/")) {
    ex.contentLength.reset();
    ex.location.reset();
    ex.body.clear();
  } else if (!ex.contentLength && StartsWithNoCase(line, "content-length:")) {
    ex.contentLength = HeaderValue(line, 15);
  } else if (!ex.location && StartsWithNoCase(line, "location:")) {
    ex.location = HeaderValue(line, 9);
  }
  return line.size();
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  Exchange& ex = *static_cast<Exchange*>(user);
  ex.lastReceived = Clock::now();
  ex.windowBytes += size * count;
  try {
    // The announced length only sizes the buffer; the body is whatever arrives.
    if (ex.body.empty()) ex.body.reserve(ReadSizeFor(ex.contentLength));
    ex.body.append(data, size * count);
  } catch (const std::bad_alloc&) {
    return 0;  // ends the transfer; the bytes collected so far stay
  }
  return size * count;
}

// Ends the exchange once nothing has arrived for the receive time-out, or
// less than kMinBytesPerReceiveWindow in a whole receive time-out: a service
// that trickles a byte now and then would otherwise hold the window as long
// as it likes. The connect phase has its own time-out.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  Exchange& ex = *static_cast<Exchange*>(user);
  const Clock::time_point now = Clock::now();
  if (!ex.connected) {
    curl_off_t pretransfer = 0;
    if (curl_easy_getinfo(ex.easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer) == CURLE_OK &&
        pretransfer > 0) {
      ex.connected = true;
      ex.lastReceived = now;
      ex.windowStart = now;
      ex.windowBytes = 0;
    }
    return 0;
  }
  if (now - ex.lastReceived > ex.receiveTimeout) return 1;
  if (now - ex.windowStart >= ex.receiveTimeout) {
    if (ex.windowBytes < kMinBytesPerReceiveWindow) return 1;
    ex.windowStart = now;
    ex.windowBytes = 0;
  }
  return 0;
}

// The URL libcurl is given: its cookie store matches paths against it. An
// explicit default port still gives a Host header without one, and the user
// name and password are left out so that no credentials go out.
std::string RequestUrl(const UrlParts& parts) {
  return std::string(parts.secure ? "https://" : "http://") + parts.host.c_str() + ":" +
         std::to_string(parts.port) + parts.pathWithQuery.c_str();
}

bool SetOptions(CURL* easy, CURLSH* share, const UrlParts& parts, const std::string& url,
                curl_slist* headers, const HttpClientSettings& settings, Exchange& ex) {
  const long connectMs = static_cast<long>(settings.connectTimeout.count());
  bool ok =
      curl_easy_setopt(easy, CURLOPT_SHARE, share) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_URL, url.c_str()) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK &&
      // The path with its query goes out exactly as it stands, whatever
      // libcurl's own reading of the URL would make of it.
      curl_easy_setopt(easy, CURLOPT_REQUEST_TARGET, parts.pathWithQuery.c_str()) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) == CURLE_OK &&
      // Redirects are followed by HttpGetBytes, which checks each target.
      curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK &&
      // The in-memory cookie store of the share; no file is read or written.
      curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "") == CURLE_OK &&
      // The body runs to the end of the connection, which HTTP/1.0 closes:
      // a wrong announced length neither cuts nor fails it.
      curl_easy_setopt(easy, CURLOPT_IGNORE_CONTENT_LENGTH, 1L) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, connectMs) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_HEADERDATA, &ex) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_WRITEDATA, &ex) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, OnProgress) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &ex) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
  // CAINFO names the extra file; the system store stays in libcurl's CA path.
  if (ok && !settings.extraCaFile.empty()) {
    ok = curl_easy_setopt(easy, CURLOPT_CAINFO, settings.extraCaFile.c_str()) == CURLE_OK;
  }
  return ok;
}

// One request of `parts`: the body received (or the part before a failure),
// and in `location` the target of a redirect reply.
std::string RequestOnce(CURLSH* share, const UrlParts& parts, const HttpClientSettings& settings,
                        std::optional<std::string>& location) {
  CURL* easy = curl_easy_init();
  if (easy == nullptr) return {};
  // Replaces libcurl's own Accept line, so exactly one goes out.
  curl_slist* headers = curl_slist_append(nullptr, "Accept: */*");
  Exchange ex;
  ex.easy = easy;
  ex.receiveTimeout = settings.receiveTimeout;
  const std::string url = RequestUrl(parts);
  if (headers != nullptr && SetOptions(easy, share, parts, url, headers, settings, ex)) {
    curl_easy_perform(easy);  // what arrived counts, whatever the outcome
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    const bool redirect =
        status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    if (redirect && ex.location && !ex.location->empty()) location = ex.location;
  }
  curl_easy_cleanup(easy);
  curl_slist_free_all(headers);
  return std::move(ex.body);
}

// `location` read against the URL of `parts`, as an absolute URL.
std::optional<std::string> ResolveLocation(const UrlParts& parts, const std::string& location) {
  CURLU* url = curl_url();
  if (url == nullptr) return std::nullopt;
  const std::string base = RequestUrl(parts);
  std::optional<std::string> resolved;
  char* text = nullptr;
  if (curl_url_set(url, CURLUPART_URL, base.c_str(), CURLU_PATH_AS_IS) == CURLUE_OK &&
      curl_url_set(url, CURLUPART_URL, location.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
      curl_url_get(url, CURLUPART_URL, &text, 0) == CURLUE_OK) {
    resolved = text;
  }
  curl_free(text);
  curl_url_cleanup(url);
  return resolved;
}

}  // namespace

void ConfigureHttpClient(const HttpClientSettings& settings) { Client().settings = settings; }

int HttpClientOpenCount() { return Client().openCount; }

Bytes HttpGetBytes(const Text& url) {
  if (url.empty()) return Bytes();
  std::optional<UrlParts> parts = PrepareRequestUrl(url);
  if (!parts) return Bytes();
  ProcessClient& client = Client();
  CURLSH* share = client.Open();
  if (share == nullptr) return Bytes();

  for (int redirects = 0;; ++redirects) {
    std::optional<std::string> location;
    std::string body = RequestOnce(share, *parts, client.settings, location);
    if (!location) return Bytes(std::move(body));
    if (redirects == kMaxRedirects) return Bytes();
    const std::optional<std::string> target = ResolveLocation(*parts, *location);
    if (!target) return Bytes();
    std::optional<UrlParts> next = PrepareRequestUrl(Text(*target));
    // Nothing that was asked over TLS is ever asked again in the clear.
    if (!next || (parts->secure && !next->secure)) return Bytes();
    parts = std::move(next);
  }
}

}  // namespace zembrolt
