#include "print/print_texts.h"

namespace velquist {

bool IsLongPrintout(std::size_t rows) { return rows > LongPrintoutRows; }

std::string LongPrintoutQuestion(std::string_view countText) {
  std::string text = "Print all ";
  text += countText;
  text +=
      "?\n\nThat is a long printout. The print preview shows the number of pages, and you can "
      "print a page range or save a PDF there.";
  return text;
}

std::string PrintWindowCaption(std::string_view displayTitle, std::string_view countText) {
  std::string text = "Print \xE2\x80\x94 ";
  text += displayTitle;
  text += " (";
  text += countText;
  text += ")";
  return text;
}

std::string PrintPreviewStatusText(std::string_view countText) {
  return "Print preview: " + std::string(countText);
}

}  // namespace velquist
