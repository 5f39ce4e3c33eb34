// A document of empty pages that carry only the report's margin texts, one page for each
// page of the printed report and of the same size. Printed by the browser engine with no
// margins, its pages are laid under the report's pages, so that the margin texts come out
// in the report's own fonts and as real text.
#pragma once

#include <string>

#include "print/page_margins.h"

namespace velquist {

struct OverlayPageSize {
  double widthMm = 0;
  double heightMm = 0;
};

// pages is the report's page count (at least 1 page is written).
std::string BuildMarginOverlay(const PageMarginTexts& texts, int pages, OverlayPageSize size);

}  // namespace velquist
