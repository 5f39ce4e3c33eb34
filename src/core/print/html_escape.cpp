#include "print/html_escape.h"

namespace velquist {

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out.append("&amp;");
        break;
      case '<':
        out.append("&lt;");
        break;
      case '>':
        out.append("&gt;");
        break;
      case '"':
        out.append("&quot;");
        break;
      case '\'':
        out.append("&#39;");
        break;
      default:
        out.push_back(static_cast<unsigned char>(c) < 0x20 && c != '\t' ? ' ' : c);
    }
  }
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendHtmlEscaped(out, text);
  return out;
}

std::string CssString(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('"');
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '<') {
      out.append("\\3C ");
    } else {
      out.push_back(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
    }
  }
  out.push_back('"');
  return out;
}

}  // namespace velquist
