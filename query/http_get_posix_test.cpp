// What the libcurl layer does where the HTTP layer's own defaults decide.
#include <gtest/gtest.h>

#include "query/http_get.h"
#include "query/standin.h"

namespace zembrolt {
namespace {

class HttpGetPosixTest : public ::testing::Test {
 protected:
  Text Select(const std::string& fault) const {
    return standin.SelectUrl("Torvanel", "aqq&fault=" + fault);
  }

  StandinService standin;
};

// The redirect to http is never followed: the http listener sees nothing.
TEST_F(HttpGetPosixTest, NeverFollowsHttpsToHttp) {
  EXPECT_EQ(HttpGetBytes(Select("redirect:http")), Bytes());
  const StandinService::Counts counts = standin.GetCounts();
  EXPECT_EQ(counts.http, 0);
  EXPECT_EQ(counts.Connections(), 1);
}

TEST_F(HttpGetPosixTest, FollowsAtMostTenRedirects) {
  EXPECT_EQ(HttpGetBytes(Select("hops:11")), Bytes());
  EXPECT_EQ(standin.GetCounts().Connections(), 11);
}

TEST_F(HttpGetPosixTest, SecondRequestResumesTheTlsSession) {
  EXPECT_FALSE(HttpGetBytes(standin.SelectUrl("Torvanel", "aqq")).empty());
  EXPECT_FALSE(HttpGetBytes(standin.SelectUrl("Torvanel", "iwx")).empty());
  const StandinService::Counts counts = standin.GetCounts();
  EXPECT_EQ(counts.handshakes, 2);
  EXPECT_EQ(counts.resumed, 1);
}

}  // namespace
}  // namespace zembrolt
