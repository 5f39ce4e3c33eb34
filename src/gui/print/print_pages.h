// Sends pages of a PDF document to a printer, one page at a time: each page is rendered
// for the paper, drawn and dropped before the next, so a long printout never holds more
// than one rendered page.
#pragma once

class QPdfDocument;
class QPrinter;

namespace velquist {

// Pages are counted from 1; first and last are clamped to the document. The printer's
// orientation follows the first page. False when nothing could be printed.
bool PrintPdfPages(QPdfDocument& document, QPrinter& printer, int first, int last);

// The resolution pages are rendered at for a printer: its own, but at most 300 dots per
// inch, which keeps one A4 page under 36 MB of pixels.
int PrintRenderDpi(int printerDpi);

}  // namespace velquist
