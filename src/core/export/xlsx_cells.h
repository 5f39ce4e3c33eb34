// The three cell forms of the workbook's sheets, appended to a part under construction.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

// A cell reference in two pieces, column letters and row number, so that the sheet
// writer can keep both as text instead of building "B12" for every cell.
struct CellRef {
  std::string_view letters;
  std::string_view row;
};

// <c r="ref" t="inlineStr" s="style"><is><t xml:space="preserve">text</t></is></c>
void AppendInlineStringCell(std::string& out, CellRef ref, int style, std::string_view text);

// <c r="ref" s="style"><v>shortest text of value</v></c>
void AppendNumberCell(std::string& out, CellRef ref, int style, double value);

// A HYPERLINK formula cell showing text, or an inline string of the text when the link
// does not fit a formula.
void AppendLinkCell(std::string& out, CellRef ref, std::string_view url, std::string_view text);

// The text of a number in a <v> element: the shortest text that reads back exactly.
void AppendNumberText(std::string& out, double value);

}  // namespace velquist
