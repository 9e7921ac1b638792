#pragma once
// Character and text helpers for the single-byte text the files hold. They look at
// ASCII only and ignore the locale (the GUI sets the user's), so a byte of 128 and
// above is never a letter, a digit or white space.
#include <string>
#include <string_view>

namespace corvane {

constexpr bool IsAsciiDigit(char c) noexcept { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The C locale's white space: blank, tab, LF, VT, FF, CR.
constexpr bool IsCSpace(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
// Blank or tab: the white space of a profile line.
constexpr bool IsBlankOrTab(char c) noexcept { return c == ' ' || c == '\t'; }

constexpr char ToUpperAscii(char c) noexcept {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char ToLowerAscii(char c) noexcept {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string ToUpperAscii(std::string_view text);

bool EqualNoCase(std::string_view a, std::string_view b) noexcept;
// True when `text` begins with `prefix`, letter case aside.
bool StartsWithNoCase(std::string_view text, std::string_view prefix) noexcept;
// True when `text` ends with `suffix`, letter case aside.
bool EndsWithNoCase(std::string_view text, std::string_view suffix) noexcept;
// True when `text` contains `part`, letter case aside.
bool ContainsNoCase(std::string_view text, std::string_view part) noexcept;

// `text` without the C-locale white space at either end.
std::string_view TrimCSpace(std::string_view text) noexcept;
// `text` without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text) noexcept;
// True when the text is empty or holds only C-locale white space.
bool IsBlankText(std::string_view text) noexcept;

}  // namespace corvane
