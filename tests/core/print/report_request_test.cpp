#include "print/report_request.h"

#include <gtest/gtest.h>

#include "site_constants.h"

namespace velquist {
namespace {

TEST(IsPrintReportRequest, OnlyAGetOfTheExactAddress) {
  const std::string url(PrintReportUrl);
  const std::string base = url.substr(0, url.rfind('/'));
  const struct {
    std::string method;
    std::string uri;
    bool served;
  } cases[] = {
      {"GET", url, true},
      {"POST", url, false},
      {"get", url, false},
      {"HEAD", url, false},
      {"GET", url + "?a=1", false},
      {"GET", url + "?", false},
      {"GET", url + "#top", false},
      {"GET", base + "/other.html", false},
      {"GET", base + "/report.htm", false},
      {"GET", base + "/", false},
      {"GET", url + "/", false},
      {"GET", std::string(SiteOrigin) + "/report.html", false},
      {"GET", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsPrintReportRequest(c.method, c.uri), c.served) << c.method << " " << c.uri;
  }
}

}  // namespace
}  // namespace velquist
