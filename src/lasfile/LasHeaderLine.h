#pragma once
// One line of a delimited LAS header section (~V, ~W, ~C, ~P), cut the way LAS 2.0
// defines it: at the first dot, at the first blank after that dot and at the last
// colon of the line:
//
//   MNEM .UNIT   VALUE, which may hold dots, blanks and colons   : DESCRIPTION
//
// The cut never fails: a line that lacks a delimiter still gives its parts (as a
// lenient reader would take them) and the positions tell what was missing, so that
// a checker can report it and a loader can go on.
#include <cstddef>
#include <string_view>

namespace corvane {

struct CLasHeaderLine {
  static constexpr std::size_t npos = std::string_view::npos;

  // Views into the text given to ParseLasHeaderLine. Blanks around the mnemonic, the
  // value and the description are trimmed; the unit is what stands between the dot and
  // the first blank (or the colon, when that comes first).
  std::string_view mnemonic;
  std::string_view unit;
  std::string_view value;
  std::string_view description;

  // 0-based positions of the delimiters in the line, npos when absent.
  std::size_t dot = npos;    // the first '.'
  std::size_t blank = npos;  // the first blank after the dot (a tab counts as a blank)
  std::size_t colon = npos;  // the last ':' of the line, wherever it stands

  bool HasDot() const noexcept { return dot != npos; }
  // The last colon stands after the dot, so the line has a description part.
  bool HasColonAfterDot() const noexcept { return dot != npos && colon != npos && colon > dot; }
  // A blank separates the unit from the value, before the colon.
  bool HasBlankBeforeColon() const noexcept {
    return blank != npos && (!HasColonAfterDot() || blank < colon);
  }
  // All three delimiters, in their order.
  bool HasAllDelimiters() const noexcept { return HasDot() && HasColonAfterDot() && HasBlankBeforeColon(); }
};

// Cuts one line (its line end may be included; it is ignored).
CLasHeaderLine ParseLasHeaderLine(std::string_view line) noexcept;

}  // namespace corvane
