#include "export/xlsx_cells.h"

#include <array>
#include <charconv>

#include "export/xlsx_layout.h"
#include "export/xml_escape.h"
#include "results/format.h"

namespace velquist {
namespace {

void AppendRef(std::string& out, CellRef ref) {
  out.append(ref.letters);
  out.append(ref.row);
}

void AppendStyle(std::string& out, int style) {
  std::array<char, 8> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), style);
  out.append(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
}

}  // namespace

void AppendInlineStringCell(std::string& out, CellRef ref, int style, std::string_view text) {
  out.append("<c r=\"");
  AppendRef(out, ref);
  out.append("\" t=\"inlineStr\" s=\"");
  AppendStyle(out, style);
  out.append("\"><is><t xml:space=\"preserve\">");
  AppendXmlEscaped(out, text);
  out.append("</t></is></c>");
}

void AppendNumberCell(std::string& out, CellRef ref, int style, double value) {
  out.append("<c r=\"");
  AppendRef(out, ref);
  out.append("\" s=\"");
  AppendStyle(out, style);
  out.append("\"><v>");
  AppendNumberText(out, value);
  out.append("</v></c>");
}

void AppendLinkCell(std::string& out, CellRef ref, std::string_view url, std::string_view text) {
  if (!FitsHyperlinkFormula(url, text)) {
    AppendInlineStringCell(out, ref, kStyleText, text);
    return;
  }
  out.append("<c r=\"");
  AppendRef(out, ref);
  out.append("\" t=\"str\" s=\"");
  AppendStyle(out, kStyleLink);
  out.append("\"><f>");
  AppendXmlEscaped(out, HyperlinkFormula(url, text));
  out.append("</f><v>");
  AppendXmlEscaped(out, text);
  out.append("</v></c>");
}

void AppendNumberText(std::string& out, double value) { AppendShortestReal(out, value); }

}  // namespace velquist
