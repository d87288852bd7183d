// The stand-in ranking service for tests (tools/standin/ranking_standin.py),
// run as a child process on free loopback ports with a fresh CA that
// HttpGetBytes is set to trust. Its fault modes are listed in the script.
#ifndef ZEMBROLT_QUERY_STANDIN_H_
#define ZEMBROLT_QUERY_STANDIN_H_

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/text.h"

namespace zembrolt {

class ChildProcess;

// Short enough that a stalled reply costs a test seconds, not minutes.
inline constexpr std::chrono::milliseconds kStandinConnectTimeout{5'000};
inline constexpr std::chrono::milliseconds kStandinReceiveTimeout{2'000};

class StandinService {
 public:
  struct RawRequest {
    std::string listener;  // "https", "http", "untrusted" or "wrongname"
    std::string bytes;     // request line and headers, blank line included
  };
  struct Counts {
    int https = 0, http = 0, untrusted = 0, wrongname = 0;  // connections accepted
    int handshakes = 0, resumed = 0;  // TLS handshakes completed, sessions resumed
    int Connections() const { return https + http + untrusted + wrongname; }
  };

  // Starts the stand-in and points HttpGetBytes at its CA, with the time-outs
  // above. Throws std::runtime_error when it does not come up.
  StandinService();
  // Stops the stand-in and gives HttpGetBytes its default settings back.
  ~StandinService();
  StandinService(const StandinService&) = delete;
  StandinService& operator=(const StandinService&) = delete;

  // "https://127.0.0.1:<port>": a base address as the query flow uses one.
  const Text& BaseUrl() const { return base_; }
  const Text& PlainBaseUrl() const { return plainBase_; }          // the same in the clear
  const Text& UntrustedBaseUrl() const { return untrustedBase_; }  // certificate of another CA
  const Text& WrongNameBaseUrl() const { return wrongNameBase_; }  // certificate for another name

  // BaseUrl() + "/hero/select.php?hero=" + escapedHero + "&type=" + type.
  Text SelectUrl(std::string_view escapedHero, std::string_view type) const;

  // Makes the next request that names no fault answer in `mode` ("drop:40").
  void FailNextRequest(const std::string& mode);
  // Every request received so far, in order of arrival.
  std::vector<RawRequest> Requests();
  Counts GetCounts();
  // Forgets the requests, the counts and any queued fault.
  void Reset();

 private:
  std::vector<std::string> Ask(const std::string& command);

  std::unique_ptr<ChildProcess> child_;
  Text base_, plainBase_, untrustedBase_, wrongNameBase_;
};

// The filler the stand-in sends for "length:N" and "nolength:N": the offset
// of every tenth byte in nine digits and a line feed, cut to `size` bytes.
std::string StandinFiller(std::size_t size);

}  // namespace zembrolt

#endif  // ZEMBROLT_QUERY_STANDIN_H_
