// The one JSON writer: every byte a file or a path may hold comes out as valid JSON,
// and the commas of any nesting are where they belong.
#include <gtest/gtest.h>

#include <string>

#include "platform/JsonWriter.h"

namespace corvane {
namespace {

std::string Escaped(const std::string& bytes) {
  std::string out;
  AppendJsonString(out, bytes);
  return out;
}

// Every byte value alone, against the rule written out independently of the writer:
// short escapes for quote, backslash, LF, CR and tab; \u00xx for the other controls,
// DEL and any byte above 127 that starts no valid UTF-8 sequence; itself otherwise.
TEST(JsonWriterTest, EveryByteAloneHasItsEscape) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    std::string expected;
    switch (b) {
      case '"':
        expected = "\\\"";
        break;
      case '\\':
        expected = "\\\\";
        break;
      case '\n':
        expected = "\\n";
        break;
      case '\r':
        expected = "\\r";
        break;
      case '\t':
        expected = "\\t";
        break;
      default:
        if (b < 0x20 || b >= 0x7F)
          expected = std::string("\\u00") + kHex[b >> 4] + kHex[b & 15];
        else
          expected = std::string(1, c);
    }
    EXPECT_EQ(Escaped(std::string(1, c)), "\"" + expected + "\"") << "byte " << b;
  }
}

TEST(JsonWriterTest, ValidUtf8StaysAndBrokenSequencesAreEscapedByteByByte) {
  const struct {
    std::string bytes;
    const char* json;
  } cases[] = {
      {"plain ~!", "\"plain ~!\""},
      {"q\"b\\s/", "\"q\\\"b\\\\s/\""},
      {std::string("\0\x01\t\n\r\x1F\x7F", 7), "\"\\u0000\\u0001\\t\\n\\r\\u001f\\u007f\""},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF",
       "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF\""},  // 2, 3 and 4 bytes stay
      {"\xB0 \xC3 \xC3\x28", "\"\\u00b0 \\u00c3 \\u00c3(\""},              // stray bytes
      {"\xED\xA0\x80 \xC0\xAF \xF5\x80\x80\x80",                           // surrogate, overlong, too high
       "\"\\u00ed\\u00a0\\u0080 \\u00c0\\u00af \\u00f5\\u0080\\u0080\\u0080\""},
      {"\xE0\x9F\xBF \xF0\x8F\xBF\xBF \xF4\x90\x80\x80",  // overlong 3 and 4 bytes, above U+10FFFF
       "\"\\u00e0\\u009f\\u00bf \\u00f0\\u008f\\u00bf\\u00bf \\u00f4\\u0090\\u0080\\u0080\""},
      {"\xE2\x82", "\"\\u00e2\\u0082\""},  // cut short
  };
  for (const auto& c : cases) EXPECT_EQ(Escaped(c.bytes), c.json);
}

TEST(JsonWriterTest, CommasFollowTheNestingAndPiecesJoinToOneDocument) {
  CJsonWriter json;
  json.BeginObject().Key("a").Integer(-12).Key("b").BeginArray();
  const std::string head = json.Take();
  json.BeginObject().EndObject().BeginArray().EndArray().Null().Boolean(true).Boolean(false);
  json.StringOrNull("").StringOrNull("x").Number("1.500");
  const std::string middle = json.Take();
  json.EndArray().Key("k\"ey").BeginObject().Key("n").String("v").EndObject().EndObject();
  EXPECT_EQ(head, "{\"a\":-12,\"b\":[");
  EXPECT_EQ(middle, "{},[],null,true,false,null,\"x\",1.500");
  EXPECT_EQ(json.Text(), "],\"k\\\"ey\":{\"n\":\"v\"}}");
}

}  // namespace
}  // namespace corvane
