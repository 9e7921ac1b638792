#include "platform/AsciiText.h"

#include <algorithm>

namespace corvane {

std::string ToUpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ToUpperAscii(c);
  return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) noexcept {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) noexcept {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (ToLowerAscii(text[i]) != ToLowerAscii(prefix[i])) return false;
  return true;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) noexcept {
  return text.size() >= suffix.size() && EqualNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool ContainsNoCase(std::string_view text, std::string_view part) noexcept {
  if (part.empty()) return true;
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i)
    if (StartsWithNoCase(text.substr(i), part)) return true;
  return false;
}

std::string_view TrimCSpace(std::string_view text) noexcept {
  while (!text.empty() && IsCSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsCSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimBlanks(std::string_view text) noexcept {
  while (!text.empty() && IsBlankOrTab(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrTab(text.back())) text.remove_suffix(1);
  return text;
}

bool IsBlankText(std::string_view text) noexcept {
  return std::all_of(text.begin(), text.end(), [](char c) { return IsCSpace(c); });
}

}  // namespace corvane
