// Which requests of the print window's view the report answers: exactly one, a GET of the
// report's own address. Everything else (another path, a query, another method) is refused.
#pragma once

#include <string_view>

namespace velquist {

// uri is the request's URL as the browser encodes it; it is compared byte for byte.
bool IsPrintReportRequest(std::string_view method, std::string_view uri);

}  // namespace velquist
