#include "print/report_request.h"

#include "site_constants.h"

namespace velquist {

bool IsPrintReportRequest(std::string_view method, std::string_view uri) {
  return method == "GET" && uri == PrintReportUrl;
}

}  // namespace velquist
