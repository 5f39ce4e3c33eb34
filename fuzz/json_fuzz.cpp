// ParseJson on any bytes: it must never crash, must report a failure with an offset inside
// the text, must keep its nesting limit, and the quoter must write a literal that reads
// back as the very bytes it was given.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/json.h"
#include "fuzz_check.h"

namespace {

using velquist::JsonKind;
using velquist::JsonValue;

// Depth of the deepest value, counting the top value as 0. Iterates over a stack of its
// own so that checking a deep tree cannot itself overflow the stack.
int Depth(const JsonValue& root) {
  struct Item {
    const JsonValue* value;
    int depth;
  };
  std::vector<Item> todo{{&root, 0}};
  int deepest = 0;
  while (!todo.empty()) {
    Item item = todo.back();
    todo.pop_back();
    if (item.depth > deepest) deepest = item.depth;
    for (const JsonValue& element : item.value->Elements())
      todo.push_back({&element, item.depth + 1});
    for (const auto& [key, member] : item.value->Members())
      todo.push_back({&member, item.depth + 1});
  }
  return deepest;
}

// The offset at the end of "<message> at offset <n>".
bool ErrorOffset(const std::string& error, std::size_t& offset) {
  constexpr std::string_view marker = " at offset ";
  const std::size_t at = error.rfind(marker);
  if (at == std::string::npos || at == 0) return false;
  const char* first = error.data() + at + marker.size();
  const char* last = error.data() + error.size();
  auto [end, ec] = std::from_chars(first, last, offset);
  return ec == std::errc() && end == last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  JsonValue value;
  std::string error = "untouched";
  if (velquist::ParseJson(text, value, &error)) {
    FUZZ_CHECK(error == "untouched");
    FUZZ_CHECK(Depth(value) <= velquist::JsonMaxDepth);
    // The accessors never fail, whatever the kind.
    FUZZ_CHECK(value.Member("t").IsNull() || value.Kind() == JsonKind::Object);
    FUZZ_CHECK(value.At(value.Count()).IsNull());
    FUZZ_CHECK(value.Kind() == JsonKind::String || value.Text().empty());
    // Copies are deep and equal in shape.
    JsonValue copy = value;
    FUZZ_CHECK(copy.Kind() == value.Kind() && copy.Count() == value.Count());
  } else {
    std::size_t offset = 0;
    FUZZ_CHECK(ErrorOffset(error, offset));
    FUZZ_CHECK(offset <= size);
  }

  // Any bytes survive quoting and reading back unchanged.
  JsonValue quoted;
  FUZZ_CHECK(velquist::ParseJson(velquist::QuoteJsonString(text), quoted));
  FUZZ_CHECK(quoted.Kind() == JsonKind::String && quoted.Text() == text);
  return 0;
}
