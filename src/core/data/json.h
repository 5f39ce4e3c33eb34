// A small strict JSON reader with its own depth limit and short error texts, and the
// string quoter the screens file is written with. All text is UTF-8 bytes.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velquist {

enum class JsonKind { Null, Bool, Number, String, Array, Object };

inline constexpr int JsonMaxDepth = 256;

class JsonValue {
 public:
  using Array = std::vector<JsonValue>;
  using Object = std::map<std::string, JsonValue, std::less<>>;

  JsonValue() = default;

  JsonKind Kind() const { return static_cast<JsonKind>(m_payload.index()); }
  bool IsNull() const { return Kind() == JsonKind::Null; }

  // Readers never fail: another kind reads as false, 0, "", or no elements.
  bool Bool() const;
  double Number() const;
  const std::string& Text() const;
  // The member, or a shared Null when this is not an Object or has no such key.
  const JsonValue& Member(std::string_view key) const;
  // The element, or a shared Null when this is not an Array or i is out of range.
  const JsonValue& At(std::size_t i) const;
  // Elements of an Array, members of an Object, 0 otherwise.
  std::size_t Count() const;
  // Empty unless this is an Array / Object.
  const Array& Elements() const;
  const Object& Members() const;

  // For a reader that takes the tree apart as it reads it: the member or the elements
  // (nullptr when there is no such member or this is not an Object / Array), and the text
  // of a String moved out of it (empty for every other kind).
  JsonValue* MutableMember(std::string_view key);
  Array* MutableElements();
  std::string TakeText();

  void SetNull() { m_payload = std::monostate{}; }
  void SetBool(bool v) { m_payload = v; }
  void SetNumber(double v) { m_payload = v; }
  void SetString(std::string v) { m_payload = std::move(v); }
  // Turn this value into an empty Array / Object and return it for filling.
  Array& MakeArray();
  Object& MakeObject();

 private:
  // Objects are few and a map is large; keeping the map behind a pointer keeps every value,
  // and so every array of values, small. Copies are deep; a moved-from box is empty.
  class ObjectBox {
   public:
    ObjectBox();
    ObjectBox(const ObjectBox& other);
    ObjectBox(ObjectBox&&) noexcept = default;
    ObjectBox& operator=(const ObjectBox& other);
    ObjectBox& operator=(ObjectBox&&) noexcept = default;
    ~ObjectBox();
    Object* Get() const { return m_object.get(); }

   private:
    std::unique_ptr<Object> m_object;
  };

  const Object* ObjectOrNull() const;

  // The index of each alternative is its JsonKind.
  std::variant<std::monostate, bool, double, std::string, Array, ObjectBox> m_payload;
};

// Parses the whole text into out (reset to Null first). On failure returns false and sets
// *error to "<message> at offset <byte offset>".
bool ParseJson(std::string_view text, JsonValue& out, std::string* error = nullptr);

// Takes the elements of a long array one by one as they are parsed, so that they need
// not all be held in the tree at once.
class JsonElementSink {
 public:
  virtual ~JsonElementSink() = default;
  // An array opens as the value of the member; root holds the members read before it.
  // A repeated member opens again, and its elements replace the earlier ones.
  virtual void Open(const JsonValue& root) = 0;
  // The next element, which the sink may take apart: it is not read again.
  virtual void Take(JsonValue& element) = 0;
};

// As above, but every array that is the value of the top-level object's member `key` goes
// element by element to the sink and stays in the tree as an empty array. Errors, their
// offsets and the rest of the tree are the same as without the sink.
bool ParseJson(std::string_view text, JsonValue& out, std::string* error, std::string_view key,
               JsonElementSink& sink);

// The text as a JSON string literal, quotes included; bytes from 0x80 pass unchanged.
std::string QuoteJsonString(std::string_view text);

}  // namespace velquist
