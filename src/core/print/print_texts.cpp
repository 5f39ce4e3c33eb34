#include "print/print_texts.h"

#include <charconv>

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

namespace {

// value with at least `width` digits, zeros in front.
void AppendPadded(std::string& out, unsigned value, std::size_t width) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const auto length = static_cast<std::size_t>(end - digits);
  if (length < width) out.append(width - length, '0');
  out.append(digits, end);
}

}  // namespace

std::string PrintedTimeText(unsigned year, unsigned month, unsigned day, unsigned hour,
                            unsigned minute) {
  std::string text;
  AppendPadded(text, year, 4);
  text += '-';
  AppendPadded(text, month, 2);
  text += '-';
  AppendPadded(text, day, 2);
  text += ' ';
  AppendPadded(text, hour, 2);
  text += ':';
  AppendPadded(text, minute, 2);
  return text;
}

}  // namespace velquist
