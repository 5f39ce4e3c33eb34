#include "print/html_escape.h"

namespace velquist {

namespace {

// The replacement of a byte that cannot stand as it is, or empty.
std::string_view HtmlReplacement(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return "&#39;";
    case '\t':
      return {};
    default:
      return static_cast<unsigned char>(c) < 0x20 ? " " : std::string_view();
  }
}

}  // namespace

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  // Runs of bytes that pass unchanged are copied whole.
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string_view replacement = HtmlReplacement(text[i]);
    if (replacement.empty()) continue;
    out.append(text.substr(run, i - run));
    out.append(replacement);
    run = i + 1;
  }
  out.append(text.substr(run));
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
