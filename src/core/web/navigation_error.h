// Why a screener page could not be loaded, in the words the offline page and the status
// line use. The browser reports Chromium's net error codes and HTTP statuses; these are
// first mapped onto one small set of error statuses, which then pick the text.
#pragma once

#include <string>

namespace velquist {

// The error statuses the texts are chosen by.
enum class WebErrorStatus {
  Unknown = 0,
  CertificateCommonNameIsIncorrect = 1,
  CertificateExpired = 2,
  ClientCertificateContainsErrors = 3,
  CertificateRevoked = 4,
  CertificateIsInvalid = 5,
  ServerUnreachable = 6,
  Timeout = 7,
  InvalidServerResponse = 8,
  ConnectionAborted = 9,
  ConnectionReset = 10,
  Disconnected = 11,
  CannotConnect = 12,
  HostNameNotResolved = 13,
  OperationCanceled = 14,
  RedirectFailed = 15,
  UnexpectedError = 16,
};

struct LoadFailure {
  WebErrorStatus status = WebErrorStatus::Unknown;
  int httpStatus = 0;  // 0 when no HTTP answer is known
};

// Maps a failed main-frame load as Chromium reports it: netError is Chromium's net error
// code (negative, 0 for none) and httpStatus the answer's HTTP status (0 when none).
// A request the program's own filter blocked stands for its 403 refusal.
LoadFailure LoadFailureFromChromium(int netError, int httpStatus);

// The text for a failed load: certificate, time-out, interruption, connection and name
// errors have their own words; anything else names the HTTP status when it is 400 or
// more, else the error status number.
std::string NavigationErrorText(const LoadFailure& failure);

enum class LoadOutcome {
  ClearStatus,      // clear "Loading…"
  KeepStatus,       // the offline page itself finished loading; its status stays
  ShowOfflinePage,  // show the offline page with NavigationErrorText
};

// What a finished main-frame load leads to. A cancelled load is no error.
LoadOutcome DecideLoadOutcome(bool success, const LoadFailure& failure, bool offline);

}  // namespace velquist
