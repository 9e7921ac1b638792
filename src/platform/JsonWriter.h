#pragma once
// JSON written as it goes: values, arrays and objects appended in order, the commas
// put in by the writer, no white space. Every document the program writes (the check
// report, the batch report, inspect and preview) goes through it, so that any bytes a
// file or a path holds give the same valid JSON everywhere.
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// `bytes` as a JSON string, quotes included. Valid UTF-8 stays as it is; every other
// byte above 127 becomes the code point of the same number (\u00XX); quote, backslash,
// LF, CR and tab get their short escapes, the other control characters and DEL \u00XX.
void AppendJsonString(std::string& out, std::string_view bytes);

class CJsonWriter {
 public:
  CJsonWriter& BeginObject();
  CJsonWriter& EndObject();
  CJsonWriter& BeginArray();
  CJsonWriter& EndArray();
  // The name of the next member of the open object.
  CJsonWriter& Key(std::string_view name);

  CJsonWriter& String(std::string_view bytes);
  // null for an empty text.
  CJsonWriter& StringOrNull(std::string_view bytes);
  CJsonWriter& Integer(long long value);
  // `text` must be a JSON number; it is written as it stands.
  CJsonWriter& Number(std::string_view text);
  CJsonWriter& Boolean(bool value);
  CJsonWriter& Null();

  // What was written so far.
  const std::string& Text() const noexcept { return m_out; }
  // Hands over what was written so far and goes on from there with the nesting kept,
  // for a document that is written out in pieces.
  std::string Take();

 private:
  // Before a value or a key: the comma after an earlier item of the open array or object.
  void Separate();

  std::string m_out;
  std::vector<bool> m_hasItems;  // per open array or object, innermost last
  bool m_afterKey = false;
};

}  // namespace corvane
