// The report's margin texts (title, "Data as of …", site and program, "Page N of M") drawn
// by the program itself, one page for each page of the printed report and of its size,
// as a vector PDF with the fonts embedded. Laid under the report's pages, they give
// every page its texts as real, selectable text.
#pragma once

#include <QByteArray>
#include <QPageLayout>

#include "print/page_margins.h"

namespace velquist {

// pages is the report's page count; empty when it is below 1 or nothing could be drawn.
QByteArray DrawMarginPages(const PageMarginTexts& texts, int pages, const QPageLayout& layout);

}  // namespace velquist
