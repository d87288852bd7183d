// The one request the tool makes: an HTTP GET whose reply body comes back as
// bytes. Portable contract; each platform's HTTP layer is its own port.
#ifndef ZEMBROLT_QUERY_HTTP_GET_H_
#define ZEMBROLT_QUERY_HTTP_GET_H_

#include <chrono>
#include <cstddef>
#include <string>

#include "encoding/text.h"

namespace zembrolt {

// A silent service must not hold the window forever: connecting (TLS
// included) gives up after kConnectTimeout, and an exchange that receives
// nothing for kReceiveTimeout, or less than kMinBytesPerReceiveWindow in one
// whole receive time-out, ends with what it has.
inline constexpr std::chrono::milliseconds kConnectTimeout{60'000};
inline constexpr std::chrono::milliseconds kReceiveTimeout{30'000};
inline constexpr std::size_t kMinBytesPerReceiveWindow = 1024;

// How the process-wide client checks certificates and gives up. The default
// trusts the system's store plus the build's extra CA file, if it names one.
struct HttpClientSettings {
  std::string extraCaFile;  // PEM file trusted besides the system store; empty: none
  std::chrono::milliseconds connectTimeout = kConnectTimeout;
  std::chrono::milliseconds receiveTimeout = kReceiveTimeout;
};

HttpClientSettings DefaultHttpClientSettings();

// Replaces the settings of every later request. Called by start-up, or by a
// test that brings its own CA, before the requests it concerns.
void ConfigureHttpClient(const HttpClientSettings& settings);

// One GET of `url` (http or https, cut before any "#"), with redirects
// followed but never from https to http. Returns every body byte received, in
// order, whatever the status: the whole body, the part that arrived before a
// failure, or empty when nothing arrived or the URL is empty or unusable.
Bytes HttpGetBytes(const Text& url);

// How often the process-wide client state has been opened. It is opened by
// the first request that needs it and kept; for tests.
int HttpClientOpenCount();

}  // namespace zembrolt

#endif  // ZEMBROLT_QUERY_HTTP_GET_H_
