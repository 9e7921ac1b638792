#include "cli/JsonValue.h"

#include <charconv>

namespace corvane::cli {

class CJsonParser {
 public:
  explicit CJsonParser(std::string_view text) : m_text(text) {}

  std::optional<CJsonValue> Document(std::string& error) {
    std::optional<CJsonValue> value = Value(0);
    if (value) {
      SkipSpace();
      if (m_at != m_text.size()) Fail("text after the end of the document");
    }
    if (!m_error.empty()) {
      error = "at byte " + std::to_string(m_at) + ": " + m_error;
      return std::nullopt;
    }
    return value;
  }

 private:
  static constexpr int kMaxDepth = 256;

  std::optional<CJsonValue> Fail(const std::string& why) {
    if (m_error.empty()) m_error = why;
    return std::nullopt;
  }

  void SkipSpace() {
    while (m_at < m_text.size() &&
           (m_text[m_at] == ' ' || m_text[m_at] == '\t' || m_text[m_at] == '\n' || m_text[m_at] == '\r'))
      ++m_at;
  }

  bool Literal(std::string_view word) {
    if (m_text.substr(m_at, word.size()) != word) return false;
    m_at += word.size();
    return true;
  }

  std::optional<CJsonValue> Value(int depth) {
    if (depth > kMaxDepth) return Fail("nested too deeply");
    SkipSpace();
    if (m_at >= m_text.size()) return Fail("unexpected end");
    const char c = m_text[m_at];
    if (c == '{') return ObjectValue(depth);
    if (c == '[') return ArrayValue(depth);
    if (c == '"') {
      std::string bytes;
      if (!StringText(bytes)) return std::nullopt;
      return CJsonValue::String(std::move(bytes));
    }
    if (Literal("null")) return CJsonValue::Null();
    if (Literal("true")) return CJsonValue::Boolean(true);
    if (Literal("false")) return CJsonValue::Boolean(false);
    if (c == '-' || (c >= '0' && c <= '9')) return NumberValue();
    return Fail("unexpected character");
  }

  std::optional<CJsonValue> ObjectValue(int depth) {
    ++m_at;  // {
    CJsonValue object = CJsonValue::Object();
    SkipSpace();
    if (m_at < m_text.size() && m_text[m_at] == '}') {
      ++m_at;
      return object;
    }
    for (;;) {
      SkipSpace();
      std::string key;
      if (m_at >= m_text.size() || m_text[m_at] != '"') return Fail("expected a member name");
      if (!StringText(key)) return std::nullopt;
      SkipSpace();
      if (m_at >= m_text.size() || m_text[m_at] != ':') return Fail("expected ':'");
      ++m_at;
      std::optional<CJsonValue> value = Value(depth + 1);
      if (!value) return std::nullopt;
      object.m_members.emplace_back(std::move(key), std::move(*value));
      SkipSpace();
      if (m_at < m_text.size() && m_text[m_at] == ',') {
        ++m_at;
        continue;
      }
      if (m_at < m_text.size() && m_text[m_at] == '}') {
        ++m_at;
        return object;
      }
      return Fail("expected ',' or '}'");
    }
  }

  std::optional<CJsonValue> ArrayValue(int depth) {
    ++m_at;  // [
    CJsonValue array = CJsonValue::Array();
    SkipSpace();
    if (m_at < m_text.size() && m_text[m_at] == ']') {
      ++m_at;
      return array;
    }
    for (;;) {
      std::optional<CJsonValue> value = Value(depth + 1);
      if (!value) return std::nullopt;
      array.m_items.push_back(std::move(*value));
      SkipSpace();
      if (m_at < m_text.size() && m_text[m_at] == ',') {
        ++m_at;
        continue;
      }
      if (m_at < m_text.size() && m_text[m_at] == ']') {
        ++m_at;
        return array;
      }
      return Fail("expected ',' or ']'");
    }
  }

  std::optional<CJsonValue> NumberValue() {
    const std::size_t start = m_at;
    auto digits = [this] {
      const std::size_t from = m_at;
      while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9') ++m_at;
      return m_at > from;
    };
    if (m_text[m_at] == '-') ++m_at;
    if (m_at < m_text.size() && m_text[m_at] == '0') {
      ++m_at;
    } else if (!digits()) {
      return Fail("bad number");
    }
    if (m_at < m_text.size() && m_text[m_at] == '.') {
      ++m_at;
      if (!digits()) return Fail("bad number");
    }
    if (m_at < m_text.size() && (m_text[m_at] == 'e' || m_text[m_at] == 'E')) {
      ++m_at;
      if (m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-')) ++m_at;
      if (!digits()) return Fail("bad number");
    }
    return CJsonValue::Number(std::string(m_text.substr(start, m_at - start)));
  }

  bool Hex4(unsigned& value) {
    if (m_at + 4 > m_text.size()) return false;
    value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = m_text[m_at++];
      value <<= 4;
      if (c >= '0' && c <= '9')
        value |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        value |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        value |= static_cast<unsigned>(c - 'A' + 10);
      else
        return false;
    }
    return true;
  }

  static void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  bool StringText(std::string& out) {
    ++m_at;  // "
    while (m_at < m_text.size()) {
      const auto c = static_cast<unsigned char>(m_text[m_at]);
      if (c == '"') {
        ++m_at;
        return true;
      }
      if (c < 0x20) return Fail("control character in a string"), false;
      if (c != '\\') {
        out += static_cast<char>(c);
        ++m_at;
        continue;
      }
      if (++m_at >= m_text.size()) break;
      const char escape = m_text[m_at++];
      switch (escape) {
        case '"':
        case '\\':
        case '/':
          out += escape;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          unsigned code = 0;
          if (!Hex4(code)) return Fail("bad \\u escape"), false;
          if (code >= 0xDC00 && code <= 0xDFFF) return Fail("lone surrogate"), false;
          if (code >= 0xD800 && code <= 0xDBFF) {
            unsigned low = 0;
            if (!Literal("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF)
              return Fail("lone surrogate"), false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          return Fail("bad escape"), false;
      }
    }
    return Fail("unterminated string"), false;
  }

  std::string_view m_text;
  std::size_t m_at = 0;
  std::string m_error;
};

CJsonValue CJsonValue::Boolean(bool value) {
  CJsonValue result(Kind::Boolean);
  result.m_boolean = value;
  return result;
}

CJsonValue CJsonValue::Number(std::string text) {
  CJsonValue result(Kind::Number);
  result.m_text = std::move(text);
  return result;
}

CJsonValue CJsonValue::String(std::string bytes) {
  CJsonValue result(Kind::String);
  result.m_text = std::move(bytes);
  return result;
}

std::optional<CJsonValue> CJsonValue::Parse(std::string_view text, std::string& error) {
  return CJsonParser(text).Document(error);
}

std::optional<long long> CJsonValue::Integer() const {
  if (m_kind != Kind::Number) return std::nullopt;
  long long value = 0;
  const char* end = m_text.data() + m_text.size();
  const auto [stop, code] = std::from_chars(m_text.data(), end, value);
  if (code != std::errc() || stop != end) return std::nullopt;
  return value;
}

const CJsonValue* CJsonValue::Find(std::string_view key) const {
  for (const auto& [name, value] : m_members)
    if (name == key) return &value;
  return nullptr;
}

CJsonValue* CJsonValue::Find(std::string_view key) {
  for (auto& [name, value] : m_members)
    if (name == key) return &value;
  return nullptr;
}

void CJsonValue::Set(const std::string& key, CJsonValue value) {
  if (CJsonValue* member = Find(key)) {
    *member = std::move(value);
    return;
  }
  m_members.emplace_back(key, std::move(value));
}

void CJsonValue::Write(std::string& out) const {
  CJsonWriter json;
  Write(json);
  out += json.Text();
}

void CJsonValue::Write(CJsonWriter& json) const {
  switch (m_kind) {
    case Kind::Null:
      json.Null();
      break;
    case Kind::Boolean:
      json.Boolean(m_boolean);
      break;
    case Kind::Number:
      json.Number(m_text);
      break;
    case Kind::String:
      json.String(m_text);
      break;
    case Kind::Array:
      json.BeginArray();
      for (const CJsonValue& item : m_items) item.Write(json);
      json.EndArray();
      break;
    case Kind::Object:
      json.BeginObject();
      for (const auto& [name, value] : m_members) {
        json.Key(name);
        value.Write(json);
      }
      json.EndObject();
      break;
  }
}

}  // namespace corvane::cli
