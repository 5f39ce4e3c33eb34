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

// Maps a failed main-frame load from the one error code the browser reports for it:
// a negative code is Chromium's net error, a positive one the HTTP status of the answer
// (Qt WebEngine reports it so, in its HTTP status code domain), 0 is neither.
// A request the program's own filter blocked stands for its 403 refusal.
LoadFailure LoadFailureFromChromium(int errorCode);

// The same from a net error and an HTTP status given apart (0 for none). A positive
// netError is taken as the HTTP status, as above.
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
