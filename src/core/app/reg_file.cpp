#include "app/reg_file.h"

#include <algorithm>
#include <charconv>

#include "text/utf16.h"

namespace velquist {
namespace {

constexpr std::string_view Header = "Windows Registry Editor Version 5.00";

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Nothing but blanks and perhaps a comment may follow a value.
bool IsEndOfLine(std::string_view rest) {
  rest = TrimLeft(rest);
  return rest.empty() || rest.front() == ';';
}

// A quoted string at the start of s (which begins with '"'); s is advanced past it.
bool ReadQuoted(std::string_view& s, std::string& out) {
  out.clear();
  for (std::size_t i = 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      s.remove_prefix(i + 1);
      return true;
    }
    if (c == '\\') {
      if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) return false;
      c = s[++i];
    }
    out += c;
  }
  return false;  // no closing quote
}

bool ReadHexNumber(std::string_view text, std::uint32_t& value) {
  if (text.empty() || text.size() > 8) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ReadHexBytes(std::string_view list, std::string& out) {
  list = TrimRight(TrimLeft(list));
  if (list.empty()) return true;
  while (true) {
    std::size_t comma = list.find(',');
    std::string_view item = TrimRight(TrimLeft(list.substr(0, comma)));
    std::uint32_t byte = 0;
    if (item.size() > 2 || !ReadHexNumber(item, byte)) return false;
    out += static_cast<char>(byte);
    if (comma == std::string_view::npos) return true;
    list = list.substr(comma + 1);
    // regedit ends a wrapped line with a comma; a trailing comma is harmless.
    if (TrimRight(TrimLeft(list)).empty()) return true;
  }
}

std::string StringData(std::string_view text) {
  std::string data = Utf8ToUtf16Le(text);
  data.append(2, '\0');
  return data;
}

bool ReadValueData(std::string_view s, RegValue& value, std::string& problem) {
  if (!s.empty() && s.front() == '"') {
    std::string text;
    if (!ReadQuoted(s, text) || !IsEndOfLine(s)) {
      problem = "bad string";
      return false;
    }
    value.type = RegStringType;
    value.data = StringData(text);
    return true;
  }
  if (s.starts_with("dword:")) {
    std::uint32_t number = 0;
    std::string_view digits = s.substr(6);
    std::size_t end = std::min(digits.find_first_of(" \t;"), digits.size());
    if (!ReadHexNumber(digits.substr(0, end), number) || !IsEndOfLine(digits.substr(end))) {
      problem = "bad dword";
      return false;
    }
    value.type = RegDwordType;
    value.data.clear();
    for (int shift = 0; shift < 32; shift += 8) value.data += static_cast<char>(number >> shift);
    return true;
  }
  if (s.starts_with("hex")) {
    std::size_t colon = s.find(':');
    std::string_view kind = s.substr(3, colon == std::string_view::npos ? 0 : colon - 3);
    value.type = RegBinaryType;
    bool kindOk = kind.empty() || (kind.size() > 2 && kind.front() == '(' && kind.back() == ')' &&
                                   ReadHexNumber(kind.substr(1, kind.size() - 2), value.type));
    std::string_view list = colon == std::string_view::npos ? "" : s.substr(colon + 1);
    list = list.substr(0, std::min(list.find(';'), list.size()));
    value.data.clear();
    if (colon == std::string_view::npos || !kindOk || !ReadHexBytes(list, value.data)) {
      problem = "bad hex data";
      return false;
    }
    return true;
  }
  problem = s.starts_with("-") ? "value deletions are not supported" : "unknown value type";
  return false;
}

// The value's name and "=" at the start of line; line is left at the data.
bool ReadValueName(std::string_view& line, std::string& name, std::string& problem) {
  if (line.front() == '@') {
    name.clear();
    line.remove_prefix(1);
  } else if (!ReadQuoted(line, name)) {
    problem = "bad value name";
    return false;
  }
  line = TrimLeft(line);
  if (line.empty() || line.front() != '=') {
    problem = "expected =";
    return false;
  }
  line = TrimLeft(line.substr(1));
  return true;
}

bool ReadKeyLine(std::string_view line, std::string& path, std::string& problem) {
  std::size_t close = line.rfind(']');
  if (close == std::string_view::npos || !IsEndOfLine(line.substr(close + 1))) {
    problem = "bad key line";
    return false;
  }
  path = std::string(line.substr(1, close - 1));
  if (path.empty() || path.front() == '-') {
    problem = path.empty() ? "empty key name" : "key deletions are not supported";
    return false;
  }
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string QuoteRegString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

// The text of a string value when it can be written between quotes: well-formed,
// terminated once, and free of control characters that would break the line.
bool QuotableText(const RegValue& value, std::string& text) {
  const std::string& data = value.data;
  if (data.size() < 2 || data.size() % 2 != 0 || data.compare(data.size() - 2, 2, "\0\0", 2) != 0) {
    return false;
  }
  text = Utf16LeToUtf8(std::string_view(data).substr(0, data.size() - 2));
  bool clean = std::none_of(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  return clean && StringData(text) == data;
}

std::string HexDigits(std::uint32_t number, int width) {
  char buffer[8];
  auto [end, ec] = std::to_chars(buffer, buffer + 8, number, 16);
  std::string digits(buffer, end);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

std::string ValueDataText(const RegValue& value) {
  std::string text;
  if (value.type == RegStringType && QuotableText(value, text)) return QuoteRegString(text);
  if (value.type == RegDwordType && value.data.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value.data[i]);
    return "dword:" + HexDigits(number, 8);
  }
  std::string out = value.type == RegBinaryType ? "hex:" : "hex(" + HexDigits(value.type, 1) + "):";
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    if (i > 0) out += ',';
    out += HexDigits(static_cast<unsigned char>(value.data[i]), 2);
  }
  return out;
}

}  // namespace

bool ParseRegFile(std::string_view text, RegFile& out, std::string* error) {
  out.keys.clear();
  std::string converted;
  if (text.starts_with("\xFF\xFE")) {
    converted = Utf16LeToUtf8(text.substr(2));
    text = converted;
  } else if (text.starts_with("\xEF\xBB\xBF")) {
    text.remove_prefix(3);
  }
  std::vector<std::string_view> lines = SplitLines(text);
  bool headerSeen = false;
  RegKey* key = nullptr;
  std::string problem;
  for (std::size_t i = 0; i < lines.size() && problem.empty(); ++i) {
    const std::size_t lineNumber = i + 1;
    std::string_view line = TrimLeft(lines[i]);
    if (line.empty() || line.front() == ';') continue;
    if (!headerSeen) {
      headerSeen = TrimRight(line) == Header;
      if (!headerSeen) problem = "missing header";
    } else if (line.front() == '[') {
      std::string path;
      if (ReadKeyLine(line, path, problem)) {
        key = FindRegKey(out, path);
        if (key == nullptr) key = &out.keys.emplace_back(RegKey{path, {}});
      }
    } else if (line.front() == '"' || line.front() == '@') {
      RegValue value;
      if (key == nullptr) {
        problem = "value outside a key";
      } else if (ReadValueName(line, value.name, problem)) {
        std::string data(TrimRight(line));
        // hex data goes on over lines that end in a backslash
        while (data.starts_with("hex") && data.back() == '\\' && i + 1 < lines.size()) {
          data.pop_back();
          data += TrimRight(TrimLeft(lines[++i]));
        }
        if (ReadValueData(data, value, problem)) SetRegValue(*key, std::move(value));
      }
    } else {
      problem = "unexpected text";
    }
    if (!problem.empty() && error != nullptr) {
      *error = problem + " at line " + std::to_string(lineNumber);
    }
  }
  if (problem.empty() && !headerSeen) {
    problem = "missing header";
    if (error != nullptr) *error = problem;
  }
  if (!problem.empty()) out.keys.clear();
  return problem.empty();
}

std::string RegFileText(const RegFile& file) {
  std::string text(Header);
  text += "\r\n\r\n";
  for (const RegKey& key : file.keys) {
    text.append("[").append(key.path).append("]\r\n");
    for (const RegValue& value : key.values) {
      text += value.name.empty() ? "@" : QuoteRegString(value.name);
      text.append("=").append(ValueDataText(value)).append("\r\n");
    }
    text += "\r\n";
  }
  return text;
}

RegKey* FindRegKey(RegFile& file, std::string_view path) {
  for (RegKey& key : file.keys) {
    if (SameName(key.path, path)) return &key;
  }
  return nullptr;
}

const RegValue* FindRegValue(const RegKey& key, std::string_view name) {
  for (const RegValue& value : key.values) {
    if (SameName(value.name, name)) return &value;
  }
  return nullptr;
}

void SetRegValue(RegKey& key, RegValue value) {
  for (RegValue& existing : key.values) {
    if (SameName(existing.name, value.name)) {
      existing = std::move(value);
      return;
    }
  }
  key.values.push_back(std::move(value));
}

}  // namespace velquist
