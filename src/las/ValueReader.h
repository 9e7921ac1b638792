#pragma once
// Takes the values of a wrapped LAS data section one at a time, across line ends.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class CTextReader;

class CValueReader {
 public:
  // Forgets what is left of the last line; called at the start of every conversion.
  void Reset();

  // The next value: the text in front of its number (the blanks before it, a sign,
  // any text without digits), the number with every character up to the next white
  // space, and that one white-space character. Lines without a digit give no value,
  // and a comment line (first non-blank character "#") is skipped whole. None at the
  // end of the source. The view stays valid until the next call.
  std::optional<std::string_view> TakeValue(CTextReader& source);

  // True once TakeValue has met the end of the source.
  bool AtEnd() const noexcept { return m_atEnd; }

 private:
  std::string m_pending;    // the last line read, with one blank for its line end
  std::size_t m_start = 0;  // what is left of m_pending begins here
  bool m_atEnd = false;
};

}  // namespace corvane
