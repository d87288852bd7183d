#include "query/http_steps.h"

#include <gtest/gtest.h>

#include <string>

#include "encoding/testing.h"

namespace zembrolt {
namespace {

TEST(HttpStepsTest, CanonicalForm) {
  const struct Case {
    const char* url;
    const char* canonical;
  } cases[] = {
      {"https://h/hero/select.php?hero=a&type=aqq", "https://h/hero/select.php?hero=a&type=aqq"},
      {"HTTPS://Host/P", "https://Host/P"},
      {"https://h", "https://h/"},
      {"https://h?x=1", "https://h/?x=1"},
      {"https://h/a/./b/../c", "https://h/a/c"},
      {"https://h/../../a", "https://h/a"},
      {"https://h/a/..", "https://h/"},
      // Escapes are neither added nor decoded, and the query keeps its dots.
      {"https://h/%2E%2E/a b?hero=%E4%B8%AD+../x", "https://h/%2E%2E/a b?hero=%E4%B8%AD+../x"},
      {"https://h/\xD6\xD0", "https://h/\xD6\xD0"},
      {"mailto:a@b", "mailto:a@b"},
      {"", ""},
      {"no scheme", ""},
      {"//h/p", ""},
      {"1http://h/", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CanonicalizeUrl(c.url), Text(c.canonical)) << c.url;
  }
}

TEST(HttpStepsTest, CutAtFragment) {
  EXPECT_EQ(CutAtFragment("https://h/p?a=1#frag#2"), Text("https://h/p?a=1"));
  EXPECT_EQ(CutAtFragment("https://h/p"), Text("https://h/p"));
  EXPECT_EQ(CutAtFragment("#"), Text());
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

TEST(HttpStepsTest, TakesTheUrlApart) {
  const std::string host255 = Repeat('h', 255);
  const std::string path2047 = "/" + Repeat('p', 2046);
  const std::string user127 = Repeat('u', 127);
  const struct Case {
    std::string url;
    bool ok;
    bool secure = false;
    std::string host = "";
    int port = 0;
    std::string path = "";
    std::string user = "";
    std::string password = "";
  } cases[] = {
      {"https://svc.example/hero/select.php?hero=x&type=iwx", true, true, "svc.example", 443,
       "/hero/select.php?hero=x&type=iwx", "", ""},
      {"http://svc.example/p", true, false, "svc.example", 80, "/p", "", ""},
      {"HTTP://svc.example/p", true, false, "svc.example", 80, "/p", "", ""},
      {"https://127.0.0.1:47315/p", true, true, "127.0.0.1", 47315, "/p", "", ""},
      {"https://h:/p", true, true, "h", 443, "/p", "", ""},
      {"https://[::1]:8443/p", true, true, "[::1]", 8443, "/p", "", ""},
      {"https://u:pw@h/p", true, true, "h", 443, "/p", "u", "pw"},
      {"https://h?q", true, true, "h", 443, "/?q", "", ""},
      {"https://" + host255 + "/", true, true, host255, 443, "/", "", ""},
      {"https://h" + path2047, true, true, "h", 443, path2047, "", ""},
      {"https://" + user127 + ":" + user127 + "@h/", true, true, "h", 443, "/", user127, user127},
      // Each buffer is one character too small.
      {"https://" + host255 + "h/", false},
      {"https://h" + path2047 + "p", false},
      {"https://" + user127 + "u@h/", false},
      {"https://u:" + user127 + "p@h/", false},
      {"ftp://h/p", false},
      {"file:///etc/passwd", false},
      {"https:h/p", false},
      {"https:///p", false},
      {"https://h:0/p", false},
      {"https://h:65536/p", false},
      {"https://h:44x/p", false},
      {"https://[::1/p", false},
      {"https://[::1]x/p", false},
      // A blank or control byte would split the request line or add a header.
      {"https://h/a b", false},
      {"https://h/p?hero=a\r\nX-Injected: 1", false},
      {"https://h/p\t", false},
      {"https://h/p\x7F", false},
      {"https://h\r\nX: 1/p", false},
      {"https://h\\x/p", false},
  };
  for (const Case& c : cases) {
    const std::optional<UrlParts> parts = CrackUrl(Text(c.url));
    ASSERT_EQ(parts.has_value(), c.ok) << c.url;
    if (!parts) continue;
    EXPECT_EQ(parts->secure, c.secure) << c.url;
    EXPECT_EQ(parts->host, Text(c.host)) << c.url;
    EXPECT_EQ(parts->port, c.port) << c.url;
    EXPECT_EQ(parts->pathWithQuery, Text(c.path)) << c.url;
    EXPECT_EQ(parts->userName, Text(c.user)) << c.url;
    EXPECT_EQ(parts->password, Text(c.password)) << c.url;
  }
}

// The whole preparation: cut, canonical form, then the limits on what is left.
TEST(HttpStepsTest, PrepareRequestUrl) {
  const std::string path2047 = "/" + std::string(2046, 'p');
  std::optional<UrlParts> parts = PrepareRequestUrl(Text("https://h/a/../p?x=1#" + path2047));
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->pathWithQuery, Text("/p?x=1"));
  // Dot segments count after they are resolved.
  parts = PrepareRequestUrl(Text("https://h/x/.." + path2047));
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->pathWithQuery, Text(path2047));
  EXPECT_FALSE(PrepareRequestUrl(Text()));
  EXPECT_FALSE(PrepareRequestUrl(Text("#https://h/")));
}

TEST(HttpStepsTest, ReadSize) {
  const struct Case {
    std::optional<std::string_view> contentLength;
    std::size_t readSize;
  } cases[] = {
      {std::nullopt, 10240},
      {"250", 251},
      {"0", 10240},
      {"-5", 10240},
      {"+7", 8},
      {"  \t42", 43},
      {"12abc", 13},
      {"abc", 10240},
      {"", 10240},
      {"102398", 102399},
      {"102399", 102400},
      {"102400", 102400},
      {"200000", 102400},
      {"99999999999999999999999999999", 102400},
      {"0000000000000000000000000000250", 251},     // 31 characters: read
      {"00000000000000000000000000000250", 10240},  // 32: the query fails
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadSizeFor(c.contentLength), c.readSize)
        << (c.contentLength ? *c.contentLength : "(absent)");
  }
}

}  // namespace
}  // namespace zembrolt
