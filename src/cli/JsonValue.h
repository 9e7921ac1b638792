#pragma once
// A JSON document read into memory and written back, for the commands that read what
// another run wrote (the merge of batch reports). Members keep their order; numbers
// keep the text they were written with.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/JsonWriter.h"

namespace corvane::cli {

class CJsonValue {
 public:
  enum class Kind { Null, Boolean, Number, String, Array, Object };

  static CJsonValue Null() { return CJsonValue(Kind::Null); }
  static CJsonValue Boolean(bool value);
  // `text` must be a JSON number.
  static CJsonValue Number(std::string text);
  static CJsonValue String(std::string bytes);
  static CJsonValue Array() { return CJsonValue(Kind::Array); }
  static CJsonValue Object() { return CJsonValue(Kind::Object); }

  // The whole of `text` as one value (white space around it allowed); none, with
  // `error` saying where and why, when it is not JSON or nests deeper than 256 levels.
  static std::optional<CJsonValue> Parse(std::string_view text, std::string& error);

  Kind GetKind() const noexcept { return m_kind; }
  bool Is(Kind kind) const noexcept { return m_kind == kind; }
  bool BooleanValue() const noexcept { return m_boolean; }
  // The number as written, or the string's bytes (UTF-8).
  const std::string& Text() const noexcept { return m_text; }
  // The number when it is a whole number that fits; none otherwise.
  std::optional<long long> Integer() const;

  std::vector<CJsonValue>& Items() noexcept { return m_items; }
  const std::vector<CJsonValue>& Items() const noexcept { return m_items; }
  std::vector<std::pair<std::string, CJsonValue>>& Members() noexcept { return m_members; }
  const std::vector<std::pair<std::string, CJsonValue>>& Members() const noexcept { return m_members; }
  // The member named `key`, or null when there is none (or this is not an object).
  const CJsonValue* Find(std::string_view key) const;
  CJsonValue* Find(std::string_view key);
  // Replaces the member's value, or adds the member at the end.
  void Set(const std::string& key, CJsonValue value);

  // Compact JSON, appended to `out`.
  void Write(std::string& out) const;
  void Write(CJsonWriter& json) const;

 private:
  explicit CJsonValue(Kind kind) : m_kind(kind) {}
  friend class CJsonParser;

  Kind m_kind = Kind::Null;
  bool m_boolean = false;
  std::string m_text;
  std::vector<CJsonValue> m_items;
  std::vector<std::pair<std::string, CJsonValue>> m_members;
};

}  // namespace corvane::cli
