// Row context requests as the page bridge hands them on, for the row menu's tests.
#pragma once

#include <string>

#include "web/page_message.h"

namespace velquist::test {

// The row of symbol, whose page is path, with items tabs: "<tabTitle> 1" at
// "<tabPathStem>-1.html", and so on; no tabs means the page's tabs are not known.
inline RowMenuRequest RowRequest(const std::string& symbol, const std::string& path,
                                 const std::string& tabTitle, const std::string& tabPathStem,
                                 int items) {
  RowMenuRequest r;
  r.symbol = symbol;
  r.path = path;
  for (int i = 1; i <= items; ++i) {
    r.tabs.push_back(
        {tabTitle + " " + std::to_string(i), tabPathStem + "-" + std::to_string(i) + ".html"});
  }
  r.UseItems = items > 0;
  return r;
}

}  // namespace velquist::test
