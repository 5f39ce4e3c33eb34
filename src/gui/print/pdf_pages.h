// The few PDF operations the print preview needs, on whole documents held in memory:
// counting pages and laying the pages of one document under those of another.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

// The number of pages of a PDF document, or -1 when it cannot be read.
int PdfPageCount(std::string_view pdf, std::string* error = nullptr);

// Lays page i of `under` beneath page i of `pdf`, for every page both have, and writes the
// result into out. The pages keep their own contents as vector graphics and text; a page
// of `under` is scaled into the page it goes beneath. False (with the reason) when
// either document cannot be read or the result cannot be written.
bool UnderlayPages(std::string_view pdf, std::string_view under, std::string& out,
                   std::string* error = nullptr);

}  // namespace velquist
