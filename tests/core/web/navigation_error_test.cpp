#include "web/navigation_error.h"

#include <gtest/gtest.h>

#include <string>

#include "site_constants.h"

namespace velquist {
namespace {

const std::string Host(SiteHost);
using S = WebErrorStatus;

TEST(NavigationErrorTextTest, TextPerStatus) {
  struct Case {
    int status;
    int http;
    std::string text;
  };
  const std::string verify = "The secure connection could not be verified.";
  const std::string interrupted = "The connection was interrupted.";
  const Case cases[] = {
      {1, 0, verify},
      {2, 0, verify},
      {3, 0, verify},
      {4, 0, verify},
      {5, 503, verify},
      {7, 0, "The server did not respond in time."},
      {9, 0, interrupted},
      {10, 0, interrupted},
      {11, 0, interrupted},
      {12, 0, "Could not connect to " + Host + "."},
      {13, 0, Host + " could not be found (no Internet connection?)."},
      {0, 503, "The server answered HTTP 503."},
      {0, 400, "The server answered HTTP 400."},
      {0, 399, "Navigation error 0."},
      {0, 0, "Navigation error 0."},
      {6, 0, "Navigation error 6."},
      {6, 404, "The server answered HTTP 404."},
      {8, 0, "Navigation error 8."},
      {15, 0, "Navigation error 15."},
      {16, 500, "The server answered HTTP 500."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NavigationErrorText({static_cast<S>(c.status), c.http}), c.text) << c.status;
  }
}

TEST(LoadFailureFromChromiumTest, NetErrorTable) {
  struct Case {
    int netError;
    S status;
  };
  const Case cases[] = {
      {0, S::Unknown},
      {-3, S::OperationCanceled},
      {-7, S::Timeout},
      {-118, S::Timeout},
      {-100, S::Disconnected},
      {-106, S::HostNameNotResolved},
      {-21, S::Disconnected},
      {-101, S::ConnectionReset},
      {-103, S::ConnectionAborted},
      {-102, S::CannotConnect},
      {-104, S::CannotConnect},
      {-105, S::HostNameNotResolved},
      {-137, S::HostNameNotResolved},
      {-803, S::HostNameNotResolved},
      {-109, S::ServerUnreachable},
      {-200, S::CertificateCommonNameIsIncorrect},
      {-201, S::CertificateExpired},
      {-206, S::CertificateRevoked},
      {-202, S::CertificateIsInvalid},
      {-299, S::CertificateIsInvalid},
      {-107, S::CertificateIsInvalid},
      {-117, S::ClientCertificateContainsErrors},
      {-310, S::RedirectFailed},
      {-324, S::InvalidServerResponse},
      {-2, S::Unknown},
      {-300, S::Unknown},
      {-900, S::Unknown},
  };
  for (const Case& c : cases) {
    const LoadFailure failure = LoadFailureFromChromium(c.netError);
    EXPECT_EQ(failure.status, c.status) << c.netError;
    EXPECT_EQ(failure.httpStatus, 0) << c.netError;
  }
}

TEST(LoadFailureFromChromiumTest, HttpStatusesAndBlockedRequests) {
  // The browser reports a failed HTTP answer as a positive code.
  const LoadFailure http = LoadFailureFromChromium(503);
  EXPECT_EQ(http.status, S::Unknown);
  EXPECT_EQ(http.httpStatus, 503);
  EXPECT_EQ(NavigationErrorText(http), "The server answered HTTP 503.");
  EXPECT_EQ(NavigationErrorText(LoadFailureFromChromium(0, 503)), "The server answered HTTP 503.");
  EXPECT_EQ(NavigationErrorText(LoadFailureFromChromium(404, 0)), "The server answered HTTP 404.");
  EXPECT_EQ(NavigationErrorText(LoadFailureFromChromium(-324, 502)),
            "The server answered HTTP 502.");
  EXPECT_EQ(NavigationErrorText(LoadFailureFromChromium(-324, 0)), "Navigation error 8.");
  EXPECT_EQ(NavigationErrorText(LoadFailureFromChromium(-2)), "Navigation error 0.");
  // The program's own filter refused the page: that stands for its 403 answer.
  const LoadFailure blocked = LoadFailureFromChromium(-20);
  EXPECT_EQ(NavigationErrorText(blocked), "The server answered HTTP 403.");
  EXPECT_EQ(NavigationErrorText(LoadFailureFromChromium(-102)),
            "Could not connect to " + Host + ".");
  EXPECT_EQ(NavigationErrorText(LoadFailureFromChromium(-105)),
            Host + " could not be found (no Internet connection?).");
}

TEST(LoadFailureFromChromiumTest, NoNetworkAsksAboutTheConnection) {
  // Without any network the browser reports its failed name look-up as "internet
  // disconnected"; the user must see the text that asks about the connection.
  EXPECT_EQ(NavigationErrorText(LoadFailureFromChromium(-106)),
            Host + " could not be found (no Internet connection?).");
}

TEST(DecideLoadOutcomeTest, Table) {
  const LoadFailure none;
  const LoadFailure canceled{S::OperationCanceled, 0};
  const LoadFailure refused{S::CannotConnect, 0};
  EXPECT_EQ(DecideLoadOutcome(true, none, false), LoadOutcome::ClearStatus);
  EXPECT_EQ(DecideLoadOutcome(true, none, true), LoadOutcome::KeepStatus);
  EXPECT_EQ(DecideLoadOutcome(false, canceled, false), LoadOutcome::ClearStatus);
  EXPECT_EQ(DecideLoadOutcome(false, canceled, true), LoadOutcome::ClearStatus);
  EXPECT_EQ(DecideLoadOutcome(false, refused, false), LoadOutcome::ShowOfflinePage);
  EXPECT_EQ(DecideLoadOutcome(false, refused, true), LoadOutcome::ShowOfflinePage);
  EXPECT_EQ(DecideLoadOutcome(false, {S::Unknown, 503}, false), LoadOutcome::ShowOfflinePage);
}

}  // namespace
}  // namespace velquist
