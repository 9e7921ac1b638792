#include "platform/JsonWriter.h"

#include <cstddef>
#include <utility>

#include "platform/NumberFormat.h"

namespace corvane {
namespace {

constexpr char kHex[] = "0123456789abcdef";

// Length of the valid UTF-8 sequence at `p` (2 to 4), or 0 when there is none.
std::size_t Utf8Length(const unsigned char* p, std::size_t available) {
  const unsigned char c = p[0];
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;   // no overlong forms
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (available < length) return 0;
  if (p[1] < low || p[1] > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (p[i] < 0x80 || p[i] > 0xBF) return 0;
  return length;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view bytes) {
  out += '"';
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    if (c >= 0x80) {
      const std::size_t length = Utf8Length(p + i, n - i);
      if (length > 0) {
        out.append(bytes.substr(i, length));
        i += length;
        continue;
      }
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
}

void CJsonWriter::Separate() {
  if (m_afterKey) {
    m_afterKey = false;
    return;
  }
  if (m_hasItems.empty()) return;
  if (m_hasItems.back())
    m_out += ',';
  else
    m_hasItems.back() = true;
}

CJsonWriter& CJsonWriter::BeginObject() {
  Separate();
  m_out += '{';
  m_hasItems.push_back(false);
  return *this;
}

CJsonWriter& CJsonWriter::EndObject() {
  m_out += '}';
  if (!m_hasItems.empty()) m_hasItems.pop_back();
  return *this;
}

CJsonWriter& CJsonWriter::BeginArray() {
  Separate();
  m_out += '[';
  m_hasItems.push_back(false);
  return *this;
}

CJsonWriter& CJsonWriter::EndArray() {
  m_out += ']';
  if (!m_hasItems.empty()) m_hasItems.pop_back();
  return *this;
}

CJsonWriter& CJsonWriter::Key(std::string_view name) {
  Separate();
  AppendJsonString(m_out, name);
  m_out += ':';
  m_afterKey = true;
  return *this;
}

CJsonWriter& CJsonWriter::String(std::string_view bytes) {
  Separate();
  AppendJsonString(m_out, bytes);
  return *this;
}

CJsonWriter& CJsonWriter::StringOrNull(std::string_view bytes) {
  return bytes.empty() ? Null() : String(bytes);
}

CJsonWriter& CJsonWriter::Integer(long long value) {
  Separate();
  AppendInt(m_out, value);
  return *this;
}

CJsonWriter& CJsonWriter::Number(std::string_view text) {
  Separate();
  m_out += text;
  return *this;
}

CJsonWriter& CJsonWriter::Boolean(bool value) {
  Separate();
  m_out += value ? "true" : "false";
  return *this;
}

CJsonWriter& CJsonWriter::Null() {
  Separate();
  m_out += "null";
  return *this;
}

std::string CJsonWriter::Take() { return std::exchange(m_out, std::string()); }

}  // namespace corvane
