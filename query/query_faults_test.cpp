// The whole query against a hostile or broken service and hostile input:
// nothing crashes, no result is corrupted, and memory does not grow.
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <string>
#include <string_view>

#include "encoding/code_page.h"
#include "encoding/testing.h"
#include "encoding/url_escape.h"
#include "query/fake_window.h"
#include "query/http_get.h"
#include "query/query_flow.h"
#include "query/standin.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZEMBROLT_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEMBROLT_UNDER_ASAN 1
#endif
#endif

namespace zembrolt {
namespace {

constexpr std::size_t kMiB = std::size_t{1024} * 1024;

// A large reply is held as the bytes received, their GB18030 conversion and
// the text cut from it: about three times its size at the peak. Under
// AddressSanitizer the buffers the growing body left behind stay in its
// quarantine on top of that.
#ifdef ZEMBROLT_UNDER_ASAN
constexpr std::size_t kPeakPerBodyByte = 8;
#else
constexpr std::size_t kPeakPerBodyByte = 4;
#endif

// Resident set size in bytes, from /proc/self/statm (pages).
std::size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t size = 0;
  std::size_t resident = 0;
  statm >> size >> resident;
  return resident * 4096;
}

// Resets the peak resident size the kernel keeps for this process.
void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The peak resident size in bytes since the last reset (VmHWM).
std::size_t PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      std::size_t kib = 0;
      status >> kib;
      return kib * 1024;
    }
  }
  return 0;
}

std::string Repeated(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

std::string Hex(std::string_view bytes) {
  std::string hex = ToHex(bytes);
  std::erase(hex, ' ');
  return hex;
}

// What the eight labels show.
std::vector<Text> Labels(const FakeWindow& window) {
  std::vector<Text> labels;
  for (Control label : kValueLabels) labels.push_back(window.ReadControlText(label));
  return labels;
}

bool AllEmpty(const FakeWindow& window) {
  for (const Text& t : Labels(window)) {
    if (!t.empty()) return false;
  }
  return true;
}

class QueryFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override { LocalCodePage = kCodePageGbk; }

  FakeWindow Query() {
    FakeWindow window;
    OnQueryClicked(window, service_.BaseUrl());
    return window;
  }

  // The labels of a query the stand-in answers as usual, for Torvanel.
  std::vector<Text> NormalLabels() {
    std::vector<Text> labels = Labels(Query());
    for (const Text& t : labels) EXPECT_FALSE(t.empty());
    service_.Reset();
    return labels;
  }

  // The offset of `member` (a quoted key) in the stand-in's usual reply body.
  std::size_t OffsetInReply(std::string_view member) {
    const Bytes whole = HttpGetBytes(service_.SelectUrl("Torvanel", "aqq"));
    service_.Reset();
    return whole.view().find(member);
  }

  StandinService service_;
};

TEST_F(QueryFaultsTest, AThousandQueriesUseOneClientAndDoNotGrowMemory) {
  const std::vector<Text> want = NormalLabels();
  std::size_t afterTenth = 0;
  for (int i = 1; i <= 1000; ++i) {
    const FakeWindow window = Query();
    ASSERT_EQ(Labels(window), want) << "query " << i;
    if (i == 10) afterTenth = ResidentBytes();
  }
  RecordProperty("resident_growth_kib",
                 static_cast<int>(
                     (static_cast<long>(ResidentBytes()) - static_cast<long>(afterTenth)) / 1024));
  EXPECT_EQ(HttpClientOpenCount(), 1);
  EXPECT_EQ(service_.GetCounts().https, 1000);
#ifndef ZEMBROLT_UNDER_ASAN
  // AddressSanitizer holds freed memory back on purpose; there, LeakSanitizer
  // at exit does this check's work.
  EXPECT_LE(ResidentBytes(), afterTenth + 2 * kMiB);
#endif
}

TEST_F(QueryFaultsTest, FiftyMebibyteBodyFillsTheLabelsInBoundedMemory) {
  const std::vector<Text> want = NormalLabels();
  constexpr std::size_t kBody = 50 * kMiB;
  service_.FailNextRequest("big:" + std::to_string(kBody));
  ResetPeakResident();
  const std::size_t before = ResidentBytes();
  const FakeWindow window = Query();
  const std::size_t peak = PeakResidentBytes();
  EXPECT_EQ(Labels(window), want);
#ifndef _WIN32
  // The figures come from Linux's /proc; a Windows build run under Wine reads
  // the emulator's own, which do not follow the program's heap.
  EXPECT_GT(peak, before);
  RecordProperty("peak_growth_mib", static_cast<int>((peak - before) / kMiB));
  EXPECT_LE(peak - before, kPeakPerBodyByte * kBody);
#else
  static_cast<void>(before);
  static_cast<void>(peak);
#endif
}

TEST_F(QueryFaultsTest, ServiceSendingAByteASecondEndsByTheStallRuleWithWhatArrived) {
  // Everything before the city threshold arrives at once, the rest a byte a
  // second: far too slow to ever finish under the stall rule.
  const std::size_t cut = OffsetInReply("\"cityPower\"");
  ASSERT_NE(cut, std::string_view::npos);
  service_.FailNextRequest("trickle:" + std::to_string(cut));
  const FakeWindow window = Query();
  EXPECT_FALSE(window.ReadControlText(Control::kBronzeRegion).empty());
  EXPECT_FALSE(window.ReadControlText(Control::kBronze).empty());
  for (Control label : {Control::kNational, Control::kGold, Control::kSilver, Control::kUpdateTime,
                        Control::kGoldRegion, Control::kSilverRegion}) {
    EXPECT_EQ(window.ReadControlText(label), Text());
  }
}

TEST_F(QueryFaultsTest, BrokenServicesEmptyTheLabelsAndTheNextQueryStillWorks) {
  const std::vector<Text> want = NormalLabels();
  for (const char* mode : {"garbage:1", "garbage:4096", "garbage:200000", "refusetls"}) {
    service_.FailNextRequest(mode);
    const FakeWindow broken = Query();
    EXPECT_TRUE(AllEmpty(broken)) << mode;
    EXPECT_EQ(broken.ReadControlText(Control::kGroup1), GbkFromUtf8("安卓 - QQ")) << mode;
    EXPECT_EQ(Labels(Query()), want) << "after " << mode;
  }
}

// A reply as the service writes it, every member where the markers expect it.
constexpr char kReply[] =
    R"({"code":0,"data":{"uid":7,"name":"Torvanel","area":"西湖区","areaPower":"3021",)"
    R"("city":"杭州市","cityPower":"4512","province":"浙江省","provincePower":"6120",)"
    R"("guobiao":"9876","stamp":1765432100,"updatetime":"2026-12-11 13:00:00"},"msg":"ok"})";

TEST_F(QueryFaultsTest, ReplyWithNulBytesIsReadUpToTheFirst) {
  const std::string reply(kReply);
  const struct Case {
    std::size_t nulAt;
    int filled;  // labels whose markers lie before the NUL, in reply order
  } cases[] = {
      {0, 0},
      {reply.find(",\"province\""), 3},  // area, areaPower, city
      {reply.find(",\"guobiao\""), 5},   // ... cityPower, province
      {reply.size(), 8},
  };
  // Reply order of the labels.
  const Control order[] = {Control::kBronzeRegion, Control::kBronze,     Control::kSilverRegion,
                           Control::kSilver,       Control::kGoldRegion, Control::kGold,
                           Control::kNational,     Control::kUpdateTime};
  for (const Case& c : cases) {
    std::string body = reply;
    body.insert(c.nulAt, std::string("\0\0x\0", 4));
    service_.FailNextRequest("body:" + Hex(body));
    const FakeWindow window = Query();
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(window.ReadControlText(order[i]).empty(), i >= c.filled)
          << "NUL at " << c.nulAt << ", label " << i;
    }
  }
}

TEST_F(QueryFaultsTest, HeroNameTooLongForTheRequestSendsNothing) {
  const Text names[] = {
      Text(Repeated("a", 10'000)), Text(Repeated("\xD6\xD0", 10'000)),  // 中, ten thousand times
  };
  for (const Text& name : names) {
    FakeWindow window;
    window.Set(Control::kEdit1, name);
    OnQueryClicked(window, service_.BaseUrl());
    EXPECT_TRUE(AllEmpty(window)) << name.size();
    EXPECT_EQ(window.ReadControlText(Control::kGroup1), GbkFromUtf8("安卓 - QQ"));
  }
  EXPECT_EQ(service_.GetCounts().Connections(), 0);
}

TEST_F(QueryFaultsTest, HeroNameWithEveryByteValueGoesOutEscaped) {
  std::string bytes;
  for (int b = 1; b <= 255; ++b) bytes.push_back(static_cast<char>(b));
  const Text hero(bytes);
  FakeWindow window;
  window.Set(Control::kEdit1, hero);
  OnQueryClicked(window, service_.BaseUrl());

  const auto requests = service_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string line = requests[0].bytes.substr(0, requests[0].bytes.find("\r\n"));
  const std::string escaped(UrlEncodeText(hero, true, true).view());
  ASSERT_FALSE(escaped.empty());
  EXPECT_EQ(line, "GET /hero/select.php?hero=" + escaped + "&type=aqq HTTP/1.0");
  // Nothing in the name can end the request line or start another header.
  for (unsigned char c : escaped) EXPECT_TRUE(c > 0x20 && c < 0x7F) << int{c};
  for (const Text& t : Labels(window)) EXPECT_FALSE(t.empty());
}

}  // namespace
}  // namespace zembrolt
