#include "query/http_get.h"

#include <gtest/gtest.h>

#include <string>

#include "encoding/convert_encoding.h"
#include "encoding/testing.h"
#include "query/standin.h"

namespace zembrolt {
namespace {

constexpr char kUserAgentLine[] =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";

class HttpGetTest : public ::testing::Test {
 protected:
  std::string Port() const { return std::string(standin.BaseUrl().view().substr(18)); }
  Text Url(const std::string& pathWithQuery) const {
    return standin.BaseUrl() + Text(pathWithQuery);
  }

  StandinService standin;
};

TEST_F(HttpGetTest, SendsExactlyTheRequestAndReturnsTheBody) {
  const Bytes body = HttpGetBytes(standin.SelectUrl("%E4%B8%AD%E6%96%87", "aqq"));

  const std::vector<StandinService::RawRequest> requests = standin.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].listener, "https");
  EXPECT_EQ(requests[0].bytes,
            "GET /hero/select.php?hero=%E4%B8%AD%E6%96%87&type=aqq HTTP/1.0\r\n"
            "Host: 127.0.0.1:" +
                Port() + "\r\n" + kUserAgentLine +
                "Accept: */*\r\n"
                "\r\n");
  // The service read the escaped name back as 中文.
  EXPECT_NE(body.view().find("\"name\":\"\xE4\xB8\xAD\xE6\x96\x87\",\"platform\":\"aqq\""),
            std::string_view::npos)
      << body.view();
}

enum class Expect {
  kEmpty,
  kNormalReply,   // the whole reply for Torvanel on aqq
  kNormalPrefix,  // its first `size` bytes
  kFiller,        // StandinFiller(size)
  kContains,      // a body that holds `text`
};

TEST_F(HttpGetTest, Exchange) {
  const Text base = standin.BaseUrl();
  const std::string select = "/hero/select.php?hero=Torvanel&type=aqq";
  const std::string hostPort = std::string(base.view().substr(8));
  // Path and query of exactly the length that still fits, and one more.
  const std::string fits = "/hero/select.php?hero=" + std::string(2047 - 31, 'x') + "&type=aqq";
  const std::string tooLong = "/hero/select.php?hero=" + std::string(2048 - 31, 'x') + "&type=aqq";
  ASSERT_EQ(fits.size(), 2047u);

  const struct Case {
    const char* name;
    Text url;
    Expect expect;
    std::size_t size = 0;
    const char* text = "";
    int connections = -1;          // connections the stand-in saw; -1: not checked
    const char* target = nullptr;  // the request target of the last request
  } cases[] = {
      {"empty URL", Text(), Expect::kEmpty, 0, "", 0},
      {"cut at #", Url(select + "#&fault=status:500"), Expect::kNormalReply, 0, "", 1,
       "/hero/select.php?hero=Torvanel&type=aqq"},
      {"dot segments", Url("/hero/x/../select.php?hero=Torvanel&type=aqq"), Expect::kNormalReply, 0,
       "", 1, "/hero/select.php?hero=Torvanel&type=aqq"},
      {"length 250", Url(select + "&fault=length:250"), Expect::kFiller, 250},
      {"length 200000", Url(select + "&fault=length:200000"), Expect::kFiller, 200000},
      {"no length, ended by closing", Url(select + "&fault=nolength:30000"), Expect::kFiller,
       30000},
      {"status 404", Url(select + "&fault=status:404"), Expect::kContains, 0,
       "<title>404 Not Found</title>"},
      {"status 500", Url(select + "&fault=status:500"), Expect::kContains, 0,
       "<title>500 Internal Server Error</title>"},
      {"dropped after 40 body bytes", Url(select + "&fault=drop:40"), Expect::kNormalPrefix, 40},
      {"dropped before the body", Url(select + "&fault=drop:0"), Expect::kEmpty, 0, "", 1},
      {"stalled after 40 body bytes", Url(select + "&fault=stall:40"), Expect::kNormalPrefix, 40},
      {"certificate of another CA", standin.UntrustedBaseUrl() + Text(select), Expect::kEmpty, 0,
       "", 1},
      {"certificate for another name", standin.WrongNameBaseUrl() + Text(select), Expect::kEmpty, 0,
       "", 1},
      {"path with query of 2047", Url(fits), Expect::kContains, 0, "\"name\":\"xxxxxxxx", 1},
      {"path with query of 2048", Url(tooLong), Expect::kEmpty, 0, "", 0},
      {"blank in the path", Url("/hero/select.php?hero=a b&type=aqq"), Expect::kEmpty, 0, "", 0},
      {"header injection", Url("/hero/select.php?hero=a\r\nX-Injected: 1&type=aqq"), Expect::kEmpty,
       0, "", 0},
      {"other scheme", Text("ftp://" + hostPort + select), Expect::kEmpty, 0, "", 0},
      {"no scheme", Text(hostPort + select), Expect::kEmpty, 0, "", 0},
      {"plain http", standin.PlainBaseUrl() + Text(select), Expect::kNormalReply, 0, "", 1},
      {"redirect to https", Url(select + "&fault=redirect:https"), Expect::kNormalReply, 0, "", 2,
       "/hero/select.php?hero=Torvanel&type=aqq"},
      {"relative redirect", Url(select + "&fault=redirect:relative"), Expect::kNormalReply, 0, "",
       2, "/hero/select.php?hero=Torvanel&type=aqq"},
      {"redirect from http to https",
       standin.PlainBaseUrl() + Text(select + "&fault=redirect:https"), Expect::kNormalReply, 0, "",
       2},
      // Nothing asked over TLS is answered in the clear. How far the layer
      // gets, and how many redirects it follows, are its own: see
      // http_get_posix_test.cpp.
      {"redirect from https to http", Url(select + "&fault=redirect:http"), Expect::kEmpty},
      {"10 redirects", Url(select + "&fault=hops:10"), Expect::kNormalReply, 0, "", 11},
  };

  const Bytes normal = HttpGetBytes(Url(select));
  ASSERT_GT(normal.size(), 40u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    standin.Reset();
    const Bytes body = HttpGetBytes(c.url);
    switch (c.expect) {
      case Expect::kEmpty:
        EXPECT_EQ(body, Bytes());
        break;
      case Expect::kNormalReply:
        EXPECT_EQ(body, normal);
        break;
      case Expect::kNormalPrefix:
        EXPECT_EQ(body, Bytes(normal.view().substr(0, c.size)));
        break;
      case Expect::kFiller:
        EXPECT_EQ(body.size(), c.size);
        EXPECT_TRUE(body.view() == StandinFiller(c.size)) << "the body is not the filler";
        break;
      case Expect::kContains:
        EXPECT_NE(body.view().find(c.text), std::string_view::npos) << body.view();
        break;
    }
    const StandinService::Counts counts = standin.GetCounts();
    if (c.connections >= 0) {
      EXPECT_EQ(counts.Connections(), c.connections);
    }
    if (c.target != nullptr) {
      const std::vector<StandinService::RawRequest> requests = standin.Requests();
      ASSERT_FALSE(requests.empty());
      const std::string& last = requests.back().bytes;
      EXPECT_EQ(last.substr(0, last.find("\r\n")), "GET " + std::string(c.target) + " HTTP/1.0");
    }
  }
}

// The process-wide state is opened by the first request and kept: the second
// request finds it.
TEST_F(HttpGetTest, TwoRequestsOpenTheClientOnce) {
  EXPECT_FALSE(HttpGetBytes(standin.SelectUrl("Torvanel", "aqq")).empty());
  EXPECT_EQ(HttpClientOpenCount(), 1);
  EXPECT_FALSE(HttpGetBytes(standin.SelectUrl("Torvanel", "iwx")).empty());
  EXPECT_EQ(HttpClientOpenCount(), 1);
  const StandinService::Counts counts = standin.GetCounts();
  EXPECT_EQ(counts.https, 2);
  EXPECT_EQ(counts.handshakes, 2);
}

// A cookie the service sets goes back with later requests it applies to, and
// adds nothing else to them. The stand-in sets it for /cookie/ only, so that it
// reaches no other test of this process.
TEST_F(HttpGetTest, KeepsTheServicesCookiesInMemory) {
  HttpGetBytes(Url("/cookie/?fault=setcookie"));
  HttpGetBytes(Url("/cookie/"));
  const std::vector<StandinService::RawRequest> requests = standin.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].bytes.find("Cookie"), std::string::npos) << requests[0].bytes;
  const std::string& second = requests[1].bytes;
  const std::size_t cookie = second.find("Cookie: standin_session=");
  ASSERT_NE(cookie, std::string::npos) << second;
  const std::size_t cookieEnd = second.find("\r\n", cookie) + 2;
  // Without that line, the request is the usual one.
  EXPECT_EQ(second.substr(0, cookie) + second.substr(cookieEnd),
            "GET /cookie/ HTTP/1.0\r\nHost: 127.0.0.1:" + Port() + "\r\n" + kUserAgentLine +
                "Accept: */*\r\n\r\n");
}

// What later tests of the query rely on: the stand-in's reply holds the eight
// values between the markers the window cuts them out by, and its fault modes
// each break that layout the way they claim.
TEST_F(HttpGetTest, StandinReplyLayout) {
  const char* const markers[][2] = {
      {"\"guobiao\":\"", "\",\"stamp"},      {"\"provincePower\":\"", "\",\"guobiao"},
      {"\"cityPower\":\"", "\",\"province"}, {"\"areaPower\":\"", "\",\"city"},
      {"\"updatetime\":\"", "\"},\"msg"},    {"\"province\":\"", "\",\"provincePower"},
      {"\"city\":\"", "\",\"cityPower"},     {"\"area\":\"", "\",\"areaPower"},
  };
  // How many values stand directly between their markers, as one JSON string.
  const auto cleanValues = [&](std::string_view body) {
    int clean = 0;
    for (const auto& [start, end] : markers) {
      const std::size_t at = body.find(start);
      if (at == std::string_view::npos) continue;
      const std::size_t from = at + std::string_view(start).size();
      if (body.find('"', from) == body.find(end, from) && body.find(end, from) > from) ++clean;
    }
    return clean;
  };
  const Bytes normal = HttpGetBytes(standin.SelectUrl("Torvanel", "aqq"));
  EXPECT_EQ(cleanValues(normal.view()), 8) << normal.view();
  EXPECT_EQ(HttpGetBytes(standin.SelectUrl("Torvanel", "aqq")), normal);
  EXPECT_NE(HttpGetBytes(standin.SelectUrl("Torvanel", "awx")), normal);
  EXPECT_FALSE(ConvertEncoding(normal, "UTF-8", "GB18030").empty());

  const Bytes pretty = HttpGetBytes(standin.SelectUrl("Torvanel", "aqq&fault=pretty"));
  EXPECT_EQ(cleanValues(pretty.view()), 0) << pretty.view();
  const Bytes reordered = HttpGetBytes(standin.SelectUrl("Torvanel", "aqq&fault=reordered"));
  EXPECT_LT(cleanValues(reordered.view()), 8) << reordered.view();
  const Bytes escaped = HttpGetBytes(standin.SelectUrl("Torvanel", "aqq&fault=escape"));
  EXPECT_EQ(cleanValues(escaped.view()), 8);
  EXPECT_NE(escaped.view().find("\"area\":\"\\u"), std::string_view::npos) << escaped.view();
  const Bytes notUtf8 = HttpGetBytes(standin.SelectUrl("Torvanel", "aqq&fault=badutf8"));
  EXPECT_FALSE(notUtf8.empty());
  EXPECT_TRUE(ConvertEncoding(notUtf8, "UTF-8", "GB18030").empty());

  // A queued fault applies to the next request that names none, then lapses.
  standin.FailNextRequest("status:500");
  EXPECT_NE(HttpGetBytes(standin.SelectUrl("Torvanel", "aqq")).view().find("500"),
            std::string_view::npos);
  EXPECT_EQ(HttpGetBytes(standin.SelectUrl("Torvanel", "aqq")), normal);
}

}  // namespace
}  // namespace zembrolt
