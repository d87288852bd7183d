#include "query/query_flow.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "encoding/code_page.h"
#include "encoding/testing.h"
#include "query/fake_window.h"
#include "query/http_get.h"
#include "query/standin.h"

namespace zembrolt {
namespace {

class QueryFlowTest : public ::testing::Test {
 protected:
  void SetUp() override { LocalCodePage = kCodePageGbk; }
};

// Nothing listens on port 1, so the fetch gives nothing at once.
constexpr char kDeadService[] = "http://127.0.0.1:1";

TEST_F(QueryFlowTest, DeadServiceEmptiesEveryLabelAndRestoresTheFrame) {
  const std::pair<const char*, const char*> platforms[] = {
      {"安卓 - QQ", "aqq"}, {"安卓 - WX", "awx"}, {"苹果 - QQ", "iqq"}, {"苹果 - WX", "iwx"}};
  for (const auto& [display, code] : platforms) {
    FakeWindow window;
    window.Set(Control::kCombo1, GbkFromUtf8(display));
    OnQueryClicked(window, kDeadService);

    // The frame shows the code first, then each label is emptied in the
    // order of the reply's fields, then the frame gets its display text back.
    const auto& writes = window.writes();
    ASSERT_EQ(writes.size(), 10u) << display;
    EXPECT_EQ(writes.front(), std::make_pair(Control::kGroup1, Text(code)));
    for (std::size_t i = 0; i < 8; ++i) {
      EXPECT_EQ(writes[i + 1].first, kValueLabels[i]);
      EXPECT_EQ(writes[i + 1].second, Text());
    }
    EXPECT_EQ(writes.back(), std::make_pair(Control::kGroup1, GbkFromUtf8(display)));
  }
}

TEST_F(QueryFlowTest, UnknownPlatformChangesNothing) {
  for (const Text& combo : {Text(), Text("aqq"), GbkFromUtf8("安卓 - QQ ") /* trailing blank */,
                            GbkFromUtf8("安卓-QQ")}) {
    FakeWindow window;
    window.Set(Control::kCombo1, combo);
    OnQueryClicked(window, kDeadService);
    EXPECT_TRUE(window.writes().empty()) << ToHex(combo.view());
  }
}

// A reply as the service writes it, every member where the markers expect it.
constexpr char kReply[] =
    R"({"code":0,"data":{"uid":7,"name":"Torvanel","area":"西湖区","areaPower":"3021",)"
    R"("city":"杭州市","cityPower":"4512","province":"浙江省","provincePower":"6120",)"
    R"("guobiao":"9876","stamp":1765432100,"updatetime":"2026-12-11 13:00:00"},"msg":"ok"})";

std::string Hex(std::string_view bytes) {
  std::string hex = ToHex(bytes);
  std::erase(hex, ' ');
  return hex;
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class QueryFlowServiceTest : public QueryFlowTest {
 protected:
  // The request line of the one request the last query sent.
  std::string OnlyRequestLine() {
    const auto requests = service_.Requests();
    if (requests.size() != 1) return "requests: " + std::to_string(requests.size());
    return requests[0].bytes.substr(0, requests[0].bytes.find("\r\n"));
  }

  // Runs one query that the service answers with exactly `body`.
  FakeWindow QueryAnsweredWith(std::string_view body) {
    service_.FailNextRequest("body:" + Hex(body));
    FakeWindow window;
    OnQueryClicked(window, service_.BaseUrl());
    return window;
  }

  StandinService service_;
};

TEST_F(QueryFlowServiceTest, EachPlatformSendsItsCode) {
  const std::pair<const char*, const char*> platforms[] = {
      {"安卓 - QQ", "aqq"}, {"安卓 - WX", "awx"}, {"苹果 - QQ", "iqq"}, {"苹果 - WX", "iwx"}};
  for (const auto& [display, code] : platforms) {
    service_.Reset();
    FakeWindow window;
    window.Set(Control::kCombo1, GbkFromUtf8(display));
    OnQueryClicked(window, service_.BaseUrl());
    EXPECT_EQ(OnlyRequestLine(),
              std::string("GET /hero/select.php?hero=Torvanel&type=") + code + " HTTP/1.0");
    EXPECT_EQ(window.ReadControlText(Control::kGroup1), GbkFromUtf8(display));
  }
}

TEST_F(QueryFlowServiceTest, TheWindowAsItOpensQueriesTorvanelOnAndroidQq) {
  FakeWindow window;
  OnQueryClicked(window, service_.BaseUrl());
  const auto requests = service_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string host = std::string(service_.BaseUrl().view().substr(8));
  EXPECT_EQ(requests[0].bytes,
            "GET /hero/select.php?hero=Torvanel&type=aqq HTTP/1.0\r\n"
            "Host: " +
                host +
                "\r\n"
                "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
                "Accept: */*\r\n\r\n");
  // The stand-in's own reply fills every label.
  for (Control label : kValueLabels) EXPECT_FALSE(window.ReadControlText(label).empty());
  EXPECT_EQ(window.ReadControlText(Control::kGroup1), GbkFromUtf8("安卓 - QQ"));
}

TEST_F(QueryFlowServiceTest, HeroNamesGoOutAsEscapedUtf8) {
  const std::pair<const char*, const char*> names[] = {
      {"中文", "%E4%B8%AD%E6%96%87"}, {"", ""}, {"a b&c=d", "a+b%26c%3Dd"}};
  for (const auto& [name, escaped] : names) {
    service_.Reset();
    FakeWindow window;
    window.Set(Control::kEdit1, GbkFromUtf8(name));
    OnQueryClicked(window, service_.BaseUrl());
    EXPECT_EQ(OnlyRequestLine(),
              std::string("GET /hero/select.php?hero=") + escaped + "&type=aqq HTTP/1.0");
  }
}

TEST_F(QueryFlowServiceTest, FullReplyFillsEveryLabelInGb18030) {
  const FakeWindow window = QueryAnsweredWith(kReply);
  EXPECT_EQ(window.ReadControlText(Control::kGoldRegion),
            Text("\xD5\xE3\xBD\xAD\xCA\xA1"));  // 浙江省
  const std::pair<Control, const char*> want[] = {
      {Control::kNational, "9876"},
      {Control::kGold, "6120"},
      {Control::kSilver, "4512"},
      {Control::kBronze, "3021"},
      {Control::kUpdateTime, "2026-12-11 13:00:00"},
      {Control::kGoldRegion, "浙江省"},
      {Control::kSilverRegion, "杭州市"},
      {Control::kBronzeRegion, "西湖区"},
  };
  for (const auto& [label, value] : want) {
    EXPECT_EQ(window.ReadControlText(label), GbkFromUtf8(value)) << value;
  }
  EXPECT_EQ(window.ReadControlText(Control::kGroup1), GbkFromUtf8("安卓 - QQ"));
}

TEST_F(QueryFlowServiceTest, ValuesShowAsTheyStandInTheReply) {
  // Another member before the one the end marker names is shown with the value.
  FakeWindow window = QueryAnsweredWith(
      Replaced(kReply, R"("guobiao":"9876",)", R"("guobiao":"9876","rank":"12",)"));
  EXPECT_EQ(window.ReadControlText(Control::kNational), Text(R"(9876","rank":"12)"));
  EXPECT_EQ(window.ReadControlText(Control::kGold), GbkFromUtf8("6120"));
  EXPECT_EQ(window.ReadControlText(Control::kSilver), Text("4512"));

  // A JSON escape is not undone.
  window = QueryAnsweredWith(Replaced(kReply, "西湖区", R"(\u897f\u6e56\u533a)"));
  EXPECT_EQ(window.ReadControlText(Control::kBronzeRegion), Text(R"(\u897f\u6e56\u533a)"));
  EXPECT_EQ(window.ReadControlText(Control::kSilverRegion), GbkFromUtf8("杭州市"));

  // Pretty-printed JSON matches no marker.
  window = QueryAnsweredWith(Replaced(kReply, R"("guobiao":"9876")", R"("guobiao": "9876")"));
  EXPECT_EQ(window.ReadControlText(Control::kNational), Text());
  EXPECT_EQ(window.ReadControlText(Control::kGold), GbkFromUtf8("6120"));
}

TEST_F(QueryFlowServiceTest, MissingMembersEmptyOnlyTheirLabels) {
  // Without "city" the city name is gone; the district threshold's follower
  // is matched by its leading letters, which "cityPower" still has.
  FakeWindow window = QueryAnsweredWith(Replaced(kReply, R"("city":"杭州市",)", ""));
  EXPECT_EQ(window.ReadControlText(Control::kSilverRegion), Text());
  EXPECT_EQ(window.ReadControlText(Control::kBronze), GbkFromUtf8("3021"));
  EXPECT_EQ(window.ReadControlText(Control::kBronzeRegion), GbkFromUtf8("西湖区"));
  EXPECT_EQ(window.ReadControlText(Control::kSilver), GbkFromUtf8("4512"));
  EXPECT_EQ(window.ReadControlText(Control::kNational), GbkFromUtf8("9876"));
  EXPECT_EQ(window.ReadControlText(Control::kUpdateTime), GbkFromUtf8("2026-12-11 13:00:00"));

  // Without the "msg" member after the data object the update time has no end.
  window = QueryAnsweredWith(Replaced(kReply, R"(,"msg":"ok")", ""));
  EXPECT_EQ(window.ReadControlText(Control::kUpdateTime), Text());
  EXPECT_EQ(window.ReadControlText(Control::kGoldRegion), GbkFromUtf8("浙江省"));
}

TEST_F(QueryFlowServiceTest, UnusableRepliesEmptyEveryLabel) {
  for (const char* mode : {"badutf8", "status:404", "status:500", "length:250"}) {
    service_.FailNextRequest(mode);
    FakeWindow window;
    OnQueryClicked(window, service_.BaseUrl());
    for (Control label : kValueLabels) EXPECT_EQ(window.ReadControlText(label), Text()) << mode;
    EXPECT_EQ(window.ReadControlText(Control::kGroup1), GbkFromUtf8("安卓 - QQ")) << mode;
  }
  // A body cut inside a character does not convert at all.
  const std::string cut(
      std::string_view(kReply).substr(0, std::string_view(kReply).find("西") + 1));
  const FakeWindow window = QueryAnsweredWith(cut);
  for (Control label : kValueLabels) EXPECT_EQ(window.ReadControlText(label), Text());
}

TEST_F(QueryFlowServiceTest, PartialBodyFillsTheRowsThatArrived) {
  const Bytes whole = HttpGetBytes(service_.SelectUrl("Torvanel", "aqq"));
  const std::size_t cut = whole.view().find("\"cityPower\"");
  ASSERT_NE(cut, std::string_view::npos);
  service_.FailNextRequest("drop:" + std::to_string(cut));
  FakeWindow window;
  OnQueryClicked(window, service_.BaseUrl());
  EXPECT_FALSE(window.ReadControlText(Control::kBronzeRegion).empty());
  EXPECT_FALSE(window.ReadControlText(Control::kBronze).empty());
  for (Control label : {Control::kNational, Control::kGold, Control::kSilver, Control::kUpdateTime,
                        Control::kGoldRegion, Control::kSilverRegion}) {
    EXPECT_EQ(window.ReadControlText(label), Text());
  }
}

TEST_F(QueryFlowServiceTest, UnknownPlatformSendsNothing) {
  FakeWindow window;
  window.Set(Control::kCombo1, Text());
  OnQueryClicked(window, service_.BaseUrl());
  EXPECT_EQ(service_.GetCounts().Connections(), 0);
  EXPECT_TRUE(window.writes().empty());
}

}  // namespace
}  // namespace zembrolt
