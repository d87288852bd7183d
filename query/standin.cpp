#include "query/standin.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "query/child_process.h"
#include "query/http_get.h"

namespace zembrolt {
namespace {

constexpr std::chrono::milliseconds kStartTimeout{30'000};
constexpr std::chrono::milliseconds kAnswerTimeout{10'000};
// Far above any test, so a stand-in that is somehow left behind still ends.
constexpr char kMaxSeconds[] = "600";

std::string Unhex(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

// The value of `key=` in a line of "key=value" words.
std::string Field(const std::string& line, const std::string& key) {
  std::istringstream words(line);
  std::string word;
  while (words >> word) {
    if (word.starts_with(key + "=")) return word.substr(key.size() + 1);
  }
  throw std::runtime_error("stand-in: no " + key + " in \"" + line + "\"");
}

std::vector<std::string> StandinCommand() {
  std::vector<std::string> argv{ZEMBROLT_STANDIN_PYTHON, ZEMBROLT_STANDIN_SCRIPT, "--control",
                                "--max-seconds", kMaxSeconds};
  // An HTTP layer that trusts the system's store alone is given the build's
  // certificates, whose CA the test run has put there; otherwise every
  // stand-in makes a CA of its own.
  if (std::string_view(ZEMBROLT_STANDIN_CERT_DIR).empty()) return argv;
  argv.insert(argv.end(), {"--cert-dir", ZEMBROLT_STANDIN_CERT_DIR});
  return argv;
}

}  // namespace

StandinService::StandinService() : child_(std::make_unique<ChildProcess>(StandinCommand())) {
  const std::optional<std::string> ready = child_->ReadLine(kStartTimeout);
  if (!ready || !ready->starts_with("ready ")) {
    throw std::runtime_error("stand-in did not start: " + ready.value_or("(no answer)"));
  }
  const auto base = [&](const char* scheme, const char* listener) {
    return Text(std::string(scheme) + "://127.0.0.1:" + Field(*ready, listener));
  };
  base_ = base("https", "https");
  plainBase_ = base("http", "http");
  untrustedBase_ = base("https", "untrusted");
  wrongNameBase_ = base("https", "wrongname");
  // The CA path is the rest of the line and may hold blanks.
  const std::size_t ca = ready->find(" ca=");
  if (ca == std::string::npos) throw std::runtime_error("stand-in: no CA in " + *ready);

  HttpClientSettings settings;
  settings.extraCaFile = ready->substr(ca + 4);
  settings.connectTimeout = kStandinConnectTimeout;
  settings.receiveTimeout = kStandinReceiveTimeout;
  ConfigureHttpClient(settings);
}

StandinService::~StandinService() { ConfigureHttpClient(DefaultHttpClientSettings()); }

Text StandinService::SelectUrl(std::string_view escapedHero, std::string_view type) const {
  return base_ +
         Text("/hero/select.php?hero=" + std::string(escapedHero) + "&type=" + std::string(type));
}

std::vector<std::string> StandinService::Ask(const std::string& command) {
  if (!child_->WriteLine(command)) throw std::runtime_error("stand-in has gone");
  std::vector<std::string> lines;
  const std::optional<std::string> first = child_->ReadLine(kAnswerTimeout);
  if (!first) throw std::runtime_error("stand-in did not answer " + command);
  lines.push_back(*first);
  if (first->starts_with("requests ")) {
    const int count = std::stoi(first->substr(9));
    for (int i = 0; i < count; ++i) {
      const std::optional<std::string> line = child_->ReadLine(kAnswerTimeout);
      if (!line) throw std::runtime_error("stand-in cut its list of requests short");
      lines.push_back(*line);
    }
  }
  return lines;
}

void StandinService::FailNextRequest(const std::string& mode) { Ask("next " + mode); }

std::vector<StandinService::RawRequest> StandinService::Requests() {
  const std::vector<std::string> lines = Ask("requests");
  std::vector<RawRequest> requests;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::size_t blank = lines[i].find(' ');
    requests.push_back({lines[i].substr(0, blank), Unhex(lines[i].substr(blank + 1))});
  }
  return requests;
}

StandinService::Counts StandinService::GetCounts() {
  const std::string line = Ask("counts").front();
  Counts counts;
  counts.https = std::stoi(Field(line, "https"));
  counts.http = std::stoi(Field(line, "http"));
  counts.untrusted = std::stoi(Field(line, "untrusted"));
  counts.wrongname = std::stoi(Field(line, "wrongname"));
  counts.handshakes = std::stoi(Field(line, "handshakes"));
  counts.resumed = std::stoi(Field(line, "resumed"));
  return counts;
}

void StandinService::Reset() { Ask("reset"); }

std::string StandinFiller(std::size_t size) {
  std::string filler;
  char record[24];
  for (std::size_t offset = 0; offset < size; offset += 10) {
    (void)std::snprintf(record, sizeof record, "%09zu\n", offset);
    filler += record;
  }
  filler.resize(size);
  return filler;
}

}  // namespace zembrolt
