#include "web/navigation_error.h"

#include <array>
#include <charconv>
#include <utility>

#include "site/filter.h"
#include "site_constants.h"

namespace velquist {
namespace {

using S = WebErrorStatus;

// Chromium net errors with a status of their own; see Chromium's net_error_list.h.
// ERR_INTERNET_DISCONNECTED is what a failed name look-up becomes when the machine has no
// network at all, so it gets the text that asks about the connection.
constexpr std::array<std::pair<int, WebErrorStatus>, 25> NetErrorStatuses = {{
    {-3, S::OperationCanceled},                   // ERR_ABORTED
    {-7, S::Timeout},                             // ERR_TIMED_OUT
    {-15, S::Disconnected},                       // ERR_SOCKET_NOT_CONNECTED
    {-21, S::Disconnected},                       // ERR_NETWORK_CHANGED
    {-100, S::Disconnected},                      // ERR_CONNECTION_CLOSED
    {-101, S::ConnectionReset},                   // ERR_CONNECTION_RESET
    {-102, S::CannotConnect},                     // ERR_CONNECTION_REFUSED
    {-103, S::ConnectionAborted},                 // ERR_CONNECTION_ABORTED
    {-104, S::CannotConnect},                     // ERR_CONNECTION_FAILED
    {-105, S::HostNameNotResolved},               // ERR_NAME_NOT_RESOLVED
    {-106, S::HostNameNotResolved},               // ERR_INTERNET_DISCONNECTED
    {-107, S::CertificateIsInvalid},              // ERR_SSL_PROTOCOL_ERROR
    {-109, S::ServerUnreachable},                 // ERR_ADDRESS_UNREACHABLE
    {-110, S::ClientCertificateContainsErrors},   // ERR_SSL_CLIENT_AUTH_CERT_NEEDED
    {-117, S::ClientCertificateContainsErrors},   // ERR_BAD_SSL_CLIENT_AUTH_CERT
    {-118, S::Timeout},                           // ERR_CONNECTION_TIMED_OUT
    {-137, S::HostNameNotResolved},               // ERR_NAME_RESOLUTION_FAILED
    {-200, S::CertificateCommonNameIsIncorrect},  // ERR_CERT_COMMON_NAME_INVALID
    {-201, S::CertificateExpired},                // ERR_CERT_DATE_INVALID
    {-206, S::CertificateRevoked},                // ERR_CERT_REVOKED
    {-210, S::CertificateCommonNameIsIncorrect},  // ERR_CERT_NON_UNIQUE_NAME
    {-310, S::RedirectFailed},                    // ERR_TOO_MANY_REDIRECTS
    {-320, S::InvalidServerResponse},             // ERR_INVALID_RESPONSE
    {-324, S::InvalidServerResponse},             // ERR_EMPTY_RESPONSE
    {-501, S::CertificateIsInvalid},              // ERR_INSECURE_RESPONSE
}};

constexpr int BlockedByClient = -20;  // ERR_BLOCKED_BY_CLIENT

WebErrorStatus StatusForNetError(int netError) {
  for (const auto& [code, status] : NetErrorStatuses) {
    if (code == netError) return status;
  }
  // The rest of Chromium's certificate block (-200 to -299).
  if (netError <= -200 && netError >= -299) return S::CertificateIsInvalid;
  // Chromium's DNS block (-800 to -899).
  if (netError <= -800 && netError >= -899) return S::HostNameNotResolved;
  return S::Unknown;
}

std::string Number(int value) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return std::string(digits, end);
}

}  // namespace

LoadFailure LoadFailureFromChromium(int errorCode) {
  if (errorCode > 0) return {S::Unknown, errorCode};
  if (errorCode == BlockedByClient) return {S::Unknown, RefusalStatus};
  return {StatusForNetError(errorCode), 0};
}

LoadFailure LoadFailureFromChromium(int netError, int httpStatus) {
  LoadFailure failure = LoadFailureFromChromium(netError);
  if (httpStatus > 0) failure.httpStatus = httpStatus;
  return failure;
}

std::string NavigationErrorText(const LoadFailure& failure) {
  switch (failure.status) {
    case S::CertificateCommonNameIsIncorrect:
    case S::CertificateExpired:
    case S::ClientCertificateContainsErrors:
    case S::CertificateRevoked:
    case S::CertificateIsInvalid:
      return "The secure connection could not be verified.";
    case S::Timeout:
      return "The server did not respond in time.";
    case S::ConnectionAborted:
    case S::ConnectionReset:
    case S::Disconnected:
      return "The connection was interrupted.";
    case S::CannotConnect:
      return "Could not connect to " + std::string(SiteHost) + ".";
    case S::HostNameNotResolved:
      return std::string(SiteHost) + " could not be found (no Internet connection?).";
    default:
      break;
  }
  if (failure.httpStatus >= 400) {
    return "The server answered HTTP " + Number(failure.httpStatus) + ".";
  }
  return "Navigation error " + Number(static_cast<int>(failure.status)) + ".";
}

LoadOutcome DecideLoadOutcome(bool success, const LoadFailure& failure, bool offline) {
  if (success) return offline ? LoadOutcome::KeepStatus : LoadOutcome::ClearStatus;
  if (failure.status == S::OperationCanceled) return LoadOutcome::ClearStatus;
  return LoadOutcome::ShowOfflinePage;
}

}  // namespace velquist
