#include "data/json.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace velquist {
namespace {

using namespace std::string_literals;

JsonValue Parse(std::string_view text) {
  JsonValue value;
  std::string error;
  EXPECT_TRUE(ParseJson(text, value, &error)) << "text: " << text << "\nerror: " << error;
  return value;
}

double ParseNumber(std::string_view text) {
  const JsonValue value = Parse(text);
  EXPECT_EQ(value.Kind(), JsonKind::Number) << text;
  return value.Number();
}

std::string ParseString(std::string_view text) {
  const JsonValue value = Parse(text);
  EXPECT_EQ(value.Kind(), JsonKind::String) << text;
  return value.Text();
}

std::string ParseError(std::string_view text) {
  JsonValue value;
  std::string error;
  EXPECT_FALSE(ParseJson(text, value, &error)) << text;
  return error;
}

std::string Nested(int depth, std::string_view inner) {
  return std::string(static_cast<std::size_t>(depth), '[') + std::string(inner) +
         std::string(static_cast<std::size_t>(depth), ']');
}

struct ErrorCase {
  std::string text;
  std::string expected;
};

// One or more rows for every failure the reader reports, with the cursor's offset.
const ErrorCase kErrorCases[] = {
    {"tru", "syntax error at offset 0"},
    {"nul", "syntax error at offset 0"},
    {"[1,fals]", "syntax error at offset 3"},
    {"{\"a\":nulL}", "syntax error at offset 5"},
    {"nullx", "trailing characters at offset 4"},
    {"1 2", "trailing characters at offset 2"},
    {"{}}", "trailing characters at offset 2"},
    {"\"a\" \"b\"", "trailing characters at offset 4"},
    {Nested(257, "1"), "nesting too deep at offset 257"},
    {Nested(258, ""), "nesting too deep at offset 257"},
    {"", "unexpected end at offset 0"},
    {" ", "unexpected end at offset 1"},
    {" \t\r\n", "unexpected end at offset 4"},
    {"[", "unexpected end at offset 1"},
    {"{\"a\": ", "unexpected end at offset 6"},
    {"[1,", "unexpected end at offset 3"},
    {"-", "bad number at offset 1"},
    {"-x", "bad number at offset 1"},
    {"[1,]", "bad number at offset 3"},
    {"+1", "bad number at offset 0"},
    {".5", "bad number at offset 0"},
    {"True", "bad number at offset 0"},
    {"\xEF\xBB\xBF{}", "bad number at offset 0"},
    {"\f1", "bad number at offset 0"},
    {"]", "bad number at offset 0"},
    {"\"\\u12\"", "bad \\u escape at offset 5"},
    {"\"\\u12", "bad \\u escape at offset 5"},
    {"\"\\uZ000\"", "bad \\u escape at offset 3"},
    {"\"\\u", "bad \\u escape at offset 3"},
    {"\"\\ud83d\\u00\"", "bad \\u escape at offset 11"},
    {"\"\\ud83d\\u12x4\"", "bad surrogate at offset 11"},
    {"\"\\ud83d\\uqqqq\"", "bad surrogate at offset 9"},
    {"\"\\ud83d\\ude0\"", "bad surrogate at offset 12"},
    {"\"\\ud83d\\ude0", "bad \\u escape at offset 12"},
    {"\"\\ud83d\\ude00", "unterminated string at offset 13"},
    {"\"\\q\"", "bad escape at offset 3"},
    {"\"ab\\x", "bad escape at offset 5"},
    {"\"\\U0041\"", "bad escape at offset 3"},
    {"\"abc", "unterminated string at offset 4"},
    {"\"ab\\", "unterminated string at offset 4"},
    {"\"", "unterminated string at offset 1"},
    {"{\"ab", "unterminated string at offset 4"},
    {"[1 2]", "expected , or ] at offset 3"},
    {"[1", "expected , or ] at offset 2"},
    {"[1 ", "expected , or ] at offset 3"},
    {"[1}", "expected , or ] at offset 2"},
    {"{\"a\":1,}", "expected key at offset 7"},
    {"{1:2}", "expected key at offset 1"},
    {"{", "expected key at offset 1"},
    {"{ ,}", "expected key at offset 2"},
    {"{'a':1}", "expected key at offset 1"},
    {"{\"a\" 1}", "expected : at offset 5"},
    {"{\"a\"", "expected : at offset 4"},
    {"{\"a\"=1}", "expected : at offset 4"},
    {"{\"a\":1 \"b\":2}", "expected , or } at offset 7"},
    {"{\"a\":1", "expected , or } at offset 6"},
    {"{\"a\":1]", "expected , or } at offset 6"},
};

TEST(JsonTest, ReportsEachFailureWithMessageAndOffset) {
  for (const ErrorCase& row : kErrorCases) {
    EXPECT_EQ(ParseError(row.text), row.expected) << "text: " << row.text;
  }
}

TEST(JsonTest, ParsesWithSurroundingWhitespace) {
  const JsonValue value = Parse(" [1, 2 ]\r\n");
  ASSERT_EQ(value.Kind(), JsonKind::Array);
  ASSERT_EQ(value.Count(), 2u);
  EXPECT_EQ(value.At(0).Number(), 1.0);
  EXPECT_EQ(value.At(1).Number(), 2.0);
}

TEST(JsonTest, AcceptsAnyTopLevelValue) {
  EXPECT_EQ(Parse("null").Kind(), JsonKind::Null);
  EXPECT_TRUE(Parse("true").Bool());
  EXPECT_EQ(Parse("false").Kind(), JsonKind::Bool);
  EXPECT_FALSE(Parse("false").Bool());
  EXPECT_EQ(Parse("\"s\"").Text(), "s");
  EXPECT_EQ(Parse("\t3").Number(), 3.0);
}

TEST(JsonTest, LiteralEndIsJudgedByTheCaller) {
  EXPECT_EQ(Parse("[true,false,null]").Count(), 3u);
  EXPECT_EQ(ParseError("[truex]"), "expected , or ] at offset 5");
}

TEST(JsonTest, ParsesNestedDocument) {
  const JsonValue value = Parse(R"({"a":[1,"x",null,true],"b":{"c":-2.5},"e":{},"f":[]})");
  ASSERT_EQ(value.Kind(), JsonKind::Object);
  EXPECT_EQ(value.Count(), 4u);
  EXPECT_EQ(value.Member("a").Count(), 4u);
  EXPECT_EQ(value.Member("a").At(1).Text(), "x");
  EXPECT_EQ(value.Member("a").At(2).Kind(), JsonKind::Null);
  EXPECT_TRUE(value.Member("a").At(3).Bool());
  EXPECT_EQ(value.Member("b").Member("c").Number(), -2.5);
  EXPECT_EQ(value.Member("e").Kind(), JsonKind::Object);
  EXPECT_EQ(value.Member("e").Count(), 0u);
  EXPECT_EQ(value.Member("f").Kind(), JsonKind::Array);
  EXPECT_EQ(value.Member("f").Count(), 0u);
}

std::string FormatNumberForTest(double v) {
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

// Writes a parsed value back as compact JSON, so that a whole tree can be compared.
std::string Compact(const JsonValue& v) {
  switch (v.Kind()) {
    case JsonKind::Null:
      return "null";
    case JsonKind::Bool:
      return v.Bool() ? "true" : "false";
    case JsonKind::Number:
      return FormatNumberForTest(v.Number());
    case JsonKind::String:
      return QuoteJsonString(v.Text());
    case JsonKind::Array: {
      std::string out = "[";
      for (std::size_t i = 0; i < v.Count(); ++i) out += (i ? "," : "") + Compact(v.At(i));
      return out + "]";
    }
    case JsonKind::Object: {
      std::string out = "{";
      for (const auto& [key, member] : v.Members()) {
        out += (out.size() > 1 ? "," : "") + QuoteJsonString(key) + ":" + Compact(member);
      }
      return out + "}";
    }
  }
  return "?";
}

TEST(JsonTest, ArraysAtEveryDepthKeepTheirElements) {
  const char* cases[] = {
      "[]",
      "[[]]",
      "[1,[2,[3,[4]],5],6]",
      "[[1,2],[],[3],[[4,5],[6]],7]",
      "[{\"a\":[1,[2]],\"b\":[]},[{\"c\":[3]}],\"x\"]",
      "[[[[[[[[1]]]]]]],[[[[2]]]],3]",
  };
  for (const char* text : cases) EXPECT_EQ(Compact(Parse(text)), text);
  // Wide arrays after narrow ones at the same depth, and the other way round.
  std::string wide = "[[1],[";
  for (int i = 0; i < 300; ++i) wide += (i ? "," : "") + std::to_string(i);
  wide += "],[2]]";
  EXPECT_EQ(Compact(Parse(wide)), wide);
  const JsonValue value = Parse(wide);
  EXPECT_EQ(value.At(0).Count(), 1u);
  EXPECT_EQ(value.At(1).Count(), 300u);
  EXPECT_EQ(value.At(2).Count(), 1u);
}

TEST(JsonTest, MutableAccessAndTakingText) {
  JsonValue value = Parse("{\"rows\":[[\"abc\",1]],\"s\":\"text\",\"n\":2}");
  EXPECT_EQ(value.MutableMember("missing"), nullptr);
  ASSERT_NE(value.MutableMember("s"), nullptr);
  EXPECT_EQ(value.MutableMember("s")->TakeText(), "text");
  EXPECT_EQ(value.Member("s").Text(), "");              // taken
  EXPECT_EQ(value.MutableMember("n")->TakeText(), "");  // not a string
  EXPECT_EQ(value.Member("n").Number(), 2);
  EXPECT_EQ(value.MutableMember("n")->MutableElements(), nullptr);
  EXPECT_EQ(value.MutableElements(), nullptr);  // an object
  JsonValue::Array* rows = value.MutableMember("rows")->MutableElements();
  ASSERT_NE(rows, nullptr);
  ASSERT_EQ(rows->size(), 1u);
  EXPECT_EQ((*rows)[0].At(0).Text(), "abc");
  (*rows)[0].SetNull();
  EXPECT_TRUE(value.Member("rows").At(0).IsNull());
  JsonValue array = Parse("[1]");
  EXPECT_EQ(array.MutableMember("rows"), nullptr);
}

TEST(JsonTest, KeysAreCaseSensitiveAndMayHoldEscapes) {
  const JsonValue value = Parse(R"({"Key":1,"key":2,"a\u0062":3,"n\u0000":4})");
  EXPECT_EQ(value.Count(), 4u);
  EXPECT_EQ(value.Member("Key").Number(), 1.0);
  EXPECT_EQ(value.Member("key").Number(), 2.0);
  EXPECT_EQ(value.Member("ab").Number(), 3.0);
  EXPECT_EQ(value.Member("n\0"s).Number(), 4.0);
  EXPECT_EQ(value.Member("n").Kind(), JsonKind::Null);
}

TEST(JsonTest, RepeatedKeyReplacesTheMember) {
  const JsonValue scalar = Parse(R"({"a":1,"b":2,"a":"x"})");
  EXPECT_EQ(scalar.Count(), 2u);
  EXPECT_EQ(scalar.Member("a").Kind(), JsonKind::String);
  EXPECT_EQ(scalar.Member("a").Text(), "x");

  const JsonValue arrays = Parse(R"({"a":[1,2,3],"a":[4]})");
  ASSERT_EQ(arrays.Member("a").Count(), 1u);
  EXPECT_EQ(arrays.Member("a").At(0).Number(), 4.0);

  const JsonValue objects = Parse(R"({"a":{"b":1},"a":{"c":2}})");
  EXPECT_EQ(objects.Member("a").Count(), 1u);
  EXPECT_EQ(objects.Member("a").Member("b").Kind(), JsonKind::Null);
  EXPECT_EQ(objects.Member("a").Member("c").Number(), 2.0);

  const JsonValue toNull = Parse(R"({"a":{"b":1},"a":null})");
  EXPECT_EQ(toNull.Member("a").Kind(), JsonKind::Null);
}

// Writes down what the parser hands it: "open" with the root's members so far (the
// streamed one already an empty array), then each
// element in compact form, taking a string element's text apart as a reader would.
class RecordingSink : public JsonElementSink {
 public:
  void Open(const JsonValue& root) override { events.push_back("open " + Compact(root)); }
  void Take(JsonValue& element) override {
    events.push_back(Compact(element));
    element.TakeText();
  }
  std::vector<std::string> events;
};

TEST(JsonTest, StreamedMembersGoElementByElementToTheSink) {
  const struct {
    std::string text;
    std::vector<std::string> events;
    std::string tree;
  } cases[] = {
      {R"({"a":1,"rows":[[1,"x"],[2],"s"],"b":2})",
       {R"(open {"a":1,"rows":[]})", R"([1,"x"])", "[2]", R"("s")"},
       R"({"a":1,"b":2,"rows":[]})"},
      {R"({"rows":[ ]})", {R"(open {"rows":[]})"}, R"({"rows":[]})"},
      // Only arrays are streamed, only under the top-level object, and the key is read
      // with its escapes.
      {R"({"rows":5})", {}, R"({"rows":5})"},
      {R"({"x":{"rows":[1]},"r\u006fws":[2]})",
       {R"(open {"rows":[],"x":{"rows":[1]}})", "2"},
       R"({"rows":[],"x":{"rows":[1]}})"},
      {R"([{"rows":[1]}])", {}, R"([{"rows":[1]}])"},
      {R"({"Rows":[1]})", {}, R"({"Rows":[1]})"},
      // A repeated member opens again, or replaces the streamed array as it would any value.
      {R"({"rows":[1],"rows":[2,3]})",
       {R"(open {"rows":[]})", "1", R"(open {"rows":[]})", "2", "3"},
       R"({"rows":[]})"},
      {R"({"rows":[1],"rows":"no"})", {R"(open {"rows":[]})", "1"}, R"({"rows":"no"})"},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    JsonValue value;
    std::string error;
    ASSERT_TRUE(ParseJson(c.text, value, &error, "rows", sink)) << c.text << ": " << error;
    EXPECT_EQ(sink.events, c.events) << c.text;
    EXPECT_EQ(Compact(value), c.tree) << c.text;
  }
}

TEST(JsonTest, StreamedMembersFailAsTheWholeTreeFails) {
  std::vector<std::string> texts = {
      R"({"rows":[1,2)",     R"({"rows":[1 2]})", R"({"rows":[1,]})", R"({"rows":[)",
      R"({"rows":[[1],{]})", R"({"rows":[1]}x)",  R"({"rows":[1],})", R"({"rows":[tru]})",
      R"({"rows":["a\q"]})", R"({"rows":[1]] })", R"({"rows":[-]})",  R"({"rows":)",
  };
  texts.push_back("{\"rows\":[" + Nested(JsonMaxDepth - 1, "1") + "]}");  // deep enough
  texts.push_back("{\"rows\":[" + Nested(JsonMaxDepth, "1") + "]}");      // one too deep
  for (const ErrorCase& c : kErrorCases) texts.push_back("{\"rows\":[" + c.text + "]}");
  for (const std::string& text : texts) {
    JsonValue whole;
    std::string wholeError;
    const bool wholeOk = ParseJson(text, whole, &wholeError);
    RecordingSink sink;
    JsonValue streamed;
    std::string streamedError;
    EXPECT_EQ(ParseJson(text, streamed, &streamedError, "rows", sink), wholeOk) << text;
    EXPECT_EQ(streamedError, wholeError) << text;
  }
}

TEST(JsonTest, DepthLimit) {
  const JsonValue deepest = Parse(Nested(256, "1"));
  const JsonValue* inner = &deepest;
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(inner->Kind(), JsonKind::Array);
    inner = &inner->At(0);
  }
  EXPECT_EQ(inner->Number(), 1.0);

  EXPECT_EQ(ParseError(Nested(257, "1")), "nesting too deep at offset 257");
  // The innermost empty array is itself enclosed by only 256 containers.
  EXPECT_EQ(Parse(Nested(257, "")).Kind(), JsonKind::Array);
  EXPECT_EQ(ParseError(Nested(258, "")), "nesting too deep at offset 257");
}

TEST(JsonTest, DepthLimitCountsObjectsToo) {
  std::string text;
  for (int i = 0; i < 257; ++i) text += "{\"k\":";
  const std::size_t valueOffset = text.size();
  text += '1';
  text.append(257, '}');
  EXPECT_EQ(ParseError(text), "nesting too deep at offset "s.append(std::to_string(valueOffset)));
  EXPECT_EQ(Parse(text.substr(5, text.size() - 6)).Kind(), JsonKind::Object);
}

TEST(JsonTest, VeryDeepInputFailsWithoutExhaustingTheStack) {
  EXPECT_EQ(ParseError(std::string(1000000, '[')), "nesting too deep at offset 257");
}

TEST(JsonTest, NumbersReadTheirLongestDecimalPrefix) {
  EXPECT_EQ(ParseNumber("007"), 7.0);
  EXPECT_EQ(ParseNumber("1."), 1.0);
  EXPECT_EQ(ParseNumber("1.2.3"), 1.2);
  EXPECT_EQ(ParseNumber("1-2"), 1.0);
  EXPECT_EQ(ParseNumber("1e"), 1.0);
  EXPECT_EQ(ParseNumber("1e+"), 1.0);
  EXPECT_EQ(ParseNumber("2.5e"), 2.5);
  EXPECT_EQ(ParseNumber("1e5e5"), 100000.0);
  EXPECT_EQ(ParseNumber("-1.5+3"), -1.5);
  EXPECT_EQ(ParseNumber("0.5.5e3"), 0.5);
  // The token ends at the first byte that cannot belong to a number.
  EXPECT_EQ(ParseError("12a"), "trailing characters at offset 2");
  const JsonValue list = Parse("[1.2.3,1-2]");
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.At(0).Number(), 1.2);
  EXPECT_EQ(list.At(1).Number(), 1.0);
}

TEST(JsonTest, NumbersConvertExactly) {
  EXPECT_EQ(ParseNumber("0"), 0.0);
  EXPECT_EQ(ParseNumber("42"), 42.0);
  EXPECT_EQ(ParseNumber("-17"), -17.0);
  EXPECT_EQ(ParseNumber("0.1"), 0.1);
  EXPECT_EQ(ParseNumber("-123.456"), -123.456);
  EXPECT_EQ(ParseNumber("1e5"), 1e5);
  EXPECT_EQ(ParseNumber("1E+2"), 100.0);
  EXPECT_EQ(ParseNumber("25e-1"), 2.5);
  EXPECT_EQ(ParseNumber("123456789012345"), 123456789012345.0);
  EXPECT_EQ(ParseNumber("9007199254740993"), 9007199254740992.0);
  EXPECT_EQ(ParseNumber("12345678901234567890"), 12345678901234567890.0);
  EXPECT_EQ(ParseNumber("3.141592653589793238462643383279"), 3.141592653589793);
  EXPECT_EQ(ParseNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
  EXPECT_EQ(ParseNumber("4.9e-324"), std::numeric_limits<double>::denorm_min());
}

// Random decimals of every length read exactly as the library conversion reads them.
TEST(JsonTest, NumbersMatchTheLibraryConversion) {
  std::mt19937_64 random(7);
  auto digits = [&random](std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text.push_back(static_cast<char>('0' + random() % 10));
    return text;
  };
  for (int i = 0; i < 20000; ++i) {
    std::string text = random() % 2 == 0 ? "-" : "";
    text += digits(1 + random() % 20);
    if (random() % 4 != 0) text.append(".").append(digits(1 + random() % 24));
    if (random() % 5 == 0) {
      text.append("e").append(std::to_string(static_cast<int>(random() % 60) - 30));
    }
    double expected = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), expected);
    ASSERT_EQ(result.ptr, text.data() + text.size()) << text;
    const double actual = ParseNumber(text);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected)) << text;
  }
}

TEST(JsonTest, NegativeZeroKeepsItsSign) {
  for (const char* text : {"-0", "-0.0", "-0e5"}) {
    const double value = ParseNumber(text);
    EXPECT_EQ(value, 0.0) << text;
    EXPECT_TRUE(std::signbit(value)) << text;
  }
  EXPECT_FALSE(std::signbit(ParseNumber("0")));
}

TEST(JsonTest, OutOfRangeMagnitudesGiveInfinityOrZero) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(ParseNumber("1e999"), inf);
  EXPECT_EQ(ParseNumber("-1e999"), -inf);
  EXPECT_EQ(ParseNumber("1.8e308"), inf);
  EXPECT_EQ(ParseNumber("123.45e307"), inf);
  EXPECT_EQ(ParseNumber("1e99999999999999999999"), inf);
  EXPECT_EQ(ParseNumber("1e999.5"), inf);
  EXPECT_EQ(ParseNumber("1e-999"), 0.0);
  EXPECT_EQ(ParseNumber("0.0000001e-400"), 0.0);
  EXPECT_EQ(ParseNumber("1e-99999999999999999999"), 0.0);
  const double negativeTiny = ParseNumber("-1e-999");
  EXPECT_EQ(negativeTiny, 0.0);
  EXPECT_TRUE(std::signbit(negativeTiny));
  EXPECT_EQ(ParseNumber("0e99999"), 0.0);
}

// Number text must read the same under a locale whose decimal separator is a comma.
TEST(JsonTest, NumbersIgnoreTheLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  const char* chosen = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8",
                           "ru_RU.UTF-8", "de_DE", "fr_FR"}) {
    chosen = std::setlocale(LC_ALL, name);
    if (chosen != nullptr) break;
  }
  if (chosen == nullptr) GTEST_SKIP() << "no comma-decimal locale is installed";
  const bool commaDecimal = std::string(std::localeconv()->decimal_point) == ",";
  const JsonValue value = Parse("[1.5,-2.25e2,1,5,0.1]");
  const std::string error = ParseError("1,5");
  std::setlocale(LC_ALL, previous.c_str());

  ASSERT_TRUE(commaDecimal) << chosen;
  ASSERT_EQ(value.Count(), 5u);
  EXPECT_EQ(value.At(0).Number(), 1.5);
  EXPECT_EQ(value.At(1).Number(), -225.0);
  EXPECT_EQ(value.At(2).Number(), 1.0);
  EXPECT_EQ(value.At(3).Number(), 5.0);
  EXPECT_EQ(value.At(4).Number(), 0.1);
  EXPECT_EQ(error, "trailing characters at offset 1");
}

TEST(JsonTest, StringEscapes) {
  EXPECT_EQ(ParseString(R"("a\"b\\c\/d")"), "a\"b\\c/d");
  EXPECT_EQ(ParseString(R"("\b\f\n\r\t")"), "\b\f\n\r\t");
  EXPECT_EQ(ParseString(R"("\u0041\u00e9\u20AC")"), "A\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(ParseString(R"("x\u0000y")"), "x\0y"s);
  EXPECT_EQ(ParseString(R"("")"), "");
}

TEST(JsonTest, StringBytesPassUnchecked) {
  EXPECT_EQ(ParseString("\"\x01\t\n\x7F\""), "\x01\t\n\x7F");
  EXPECT_EQ(ParseString("\"\xFF\xC3\""), "\xFF\xC3");
  EXPECT_EQ(ParseString("\"a\0b\""s), "a\0b"s);
  EXPECT_EQ(ParseString("\"/\""), "/");
}

TEST(JsonTest, SurrogatePairs) {
  EXPECT_EQ(ParseString(R"("\ud83d\ude00")"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(ParseString(R"("\uD83D\uDE00")"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(ParseString(R"("\udbff\udfff")"), "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(ParseString(R"("\ud800\udc00")"), "\xF0\x90\x80\x80");
}

TEST(JsonTest, UnpairedSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(ParseString(R"("\ud83dx")"), "\xEF\xBF\xBDx");
  EXPECT_EQ(ParseString(R"("\ud83d\u0041")"),
            "\xEF\xBF\xBD"
            "A");
  EXPECT_EQ(ParseString(R"("\ude00")"), "\xEF\xBF\xBD");
  EXPECT_EQ(ParseString(R"("\ud83d\ud83d")"), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(ParseString(R"("\ud83d\ud83d\ude00")"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(ParseString(R"("\ud83d")"), "\xEF\xBF\xBD");
  EXPECT_EQ(ParseString(R"("\ud83d\n")"), "\xEF\xBF\xBD\n");
}

TEST(JsonTest, FreshValueIsNull) {
  const JsonValue value;
  EXPECT_EQ(value.Kind(), JsonKind::Null);
  EXPECT_TRUE(value.IsNull());
  EXPECT_EQ(value.Text(), "");
  EXPECT_EQ(value.Count(), 0u);
  EXPECT_TRUE(value.Elements().empty());
  EXPECT_TRUE(value.Members().empty());
}

TEST(JsonTest, AccessorsOnOtherKindsReadAsEmpty) {
  const JsonValue document = Parse(R"({"n":2.5,"s":"text","b":true,"a":[1],"o":{"k":1}})");
  const JsonValue& number = document.Member("n");
  const JsonValue& text = document.Member("s");
  const JsonValue& array = document.Member("a");
  const JsonValue& object = document.Member("o");

  EXPECT_EQ(number.Text(), "");
  EXPECT_FALSE(number.Bool());
  EXPECT_EQ(text.Number(), 0.0);
  EXPECT_FALSE(text.Bool());
  EXPECT_EQ(text.Count(), 0u);
  EXPECT_EQ(document.Member("b").Number(), 0.0);
  EXPECT_EQ(array.Text(), "");
  EXPECT_EQ(object.Text(), "");

  EXPECT_TRUE(array.Member("k").IsNull());
  EXPECT_EQ(array.Member("k").Text(), "");
  EXPECT_TRUE(object.At(0).IsNull());
  EXPECT_TRUE(array.At(1).IsNull());
  EXPECT_TRUE(text.At(0).IsNull());
  EXPECT_TRUE(document.Member("missing").IsNull());
  EXPECT_EQ(document.Member("missing").Text(), "");
  EXPECT_EQ(document.Member("missing").Member("deeper").At(3).Text(), "");

  EXPECT_TRUE(object.Elements().empty());
  EXPECT_TRUE(array.Members().empty());
  EXPECT_EQ(array.Elements().size(), 1u);
  EXPECT_EQ(object.Members().size(), 1u);
  EXPECT_EQ(object.Members().begin()->first, "k");
}

TEST(JsonTest, CopyingCopiesTheWholeTree) {
  JsonValue original = Parse(R"({"a":[1,{"b":"x"}]})");
  const JsonValue copy = original;
  original.MakeObject();
  EXPECT_EQ(original.Count(), 0u);
  EXPECT_EQ(copy.Member("a").At(1).Member("b").Text(), "x");
}

TEST(JsonTest, CopiesAndMovesOfObjectsKeepTheirMembers) {
  JsonValue source = Parse(R"({"k":{"n":1},"s":"v"})");
  JsonValue assigned;
  assigned = source;
  assigned.MakeObject()["other"].SetNumber(2);
  EXPECT_EQ(source.Member("k").Member("n").Number(), 1.0);
  EXPECT_EQ(source.Member("other").Kind(), JsonKind::Null);

  const JsonValue moved = std::move(source);
  EXPECT_EQ(moved.Count(), 2u);
  EXPECT_EQ(moved.Member("s").Text(), "v");

  JsonValue list;
  list.MakeArray().push_back(moved);
  list.MakeArray();
  list.MakeArray().push_back(moved);
  const JsonValue copy = list;
  EXPECT_EQ(copy.Count(), 1u);
  EXPECT_EQ(copy.At(0).Member("k").Member("n").Number(), 1.0);
}

TEST(JsonTest, SettersChangeTheKind) {
  JsonValue value;
  value.SetNumber(3.5);
  EXPECT_EQ(value.Kind(), JsonKind::Number);
  value.SetString("s");
  EXPECT_EQ(value.Text(), "s");
  value.MakeArray().emplace_back().SetBool(true);
  EXPECT_EQ(value.Kind(), JsonKind::Array);
  EXPECT_TRUE(value.At(0).Bool());
  value.MakeObject()["k"].SetNumber(1);
  EXPECT_EQ(value.Member("k").Number(), 1.0);
  value.SetNull();
  EXPECT_TRUE(value.IsNull());
}

TEST(JsonTest, ParseResetsTheOutValueAndKeepsErrorOnSuccess) {
  JsonValue value = Parse(R"({"old":1})");
  std::string error = "untouched";
  ASSERT_TRUE(ParseJson("[]", value, &error));
  EXPECT_EQ(error, "untouched");
  EXPECT_EQ(value.Kind(), JsonKind::Array);
  EXPECT_TRUE(value.Member("old").IsNull());

  ASSERT_TRUE(ParseJson("5", value));
  EXPECT_EQ(value.Number(), 5.0);
  EXPECT_FALSE(ParseJson("[1,", value));
}

TEST(JsonTest, QuoteJsonStringEscapesOnlyWhatItMust) {
  EXPECT_EQ(QuoteJsonString("\"\\\t\x01\xC3\xA9"), "\"\\\"\\\\\\t\\u0001\xC3\xA9\"");
  EXPECT_EQ(QuoteJsonString(""), "\"\"");
  EXPECT_EQ(QuoteJsonString("a/b\x7F"), "\"a/b\x7F\"");
  EXPECT_EQ(QuoteJsonString("\n\r\b\f\x1F"), "\"\\n\\r\\u0008\\u000c\\u001f\"");
  EXPECT_EQ(QuoteJsonString("x\0y"s), "\"x\\u0000y\"");
  EXPECT_EQ(QuoteJsonString("\xF0\x9F\x98\x80\xFF"), "\"\xF0\x9F\x98\x80\xFF\"");
}

TEST(JsonTest, QuotedStringsReadBackUnchanged) {
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  EXPECT_EQ(ParseString(QuoteJsonString(everyByte)), everyByte);
}

}  // namespace
}  // namespace velquist
