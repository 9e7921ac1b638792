#include "plot/LasHeaderLine.h"

namespace corvane {
namespace {

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

CHeaderLine ParseHeaderLine(std::string_view line) {
  CHeaderLine out;
  auto dot = line.find('.');
  const auto colon = line.rfind(':');
  // "MNEM : a note. More": a dot after the last colon belongs to the description.
  if (colon != std::string_view::npos && dot != std::string_view::npos && dot > colon)
    dot = std::string_view::npos;
  const std::string_view fields = line.substr(0, colon);
  if (colon != std::string_view::npos) out.description = Trimmed(line.substr(colon + 1));
  if (dot == std::string_view::npos || dot >= fields.size()) {
    out.mnemonic = Trimmed(fields);
    return out;
  }
  out.mnemonic = Trimmed(fields.substr(0, dot));
  // The unit runs from the dot to the first blank (tab included) after it.
  const auto blank = fields.find_first_of(" \t", dot + 1);
  if (blank == std::string_view::npos) {
    out.unit = Trimmed(fields.substr(dot + 1));
    return out;
  }
  out.unit = std::string(fields.substr(dot + 1, blank - dot - 1));
  out.value = Trimmed(fields.substr(blank));
  return out;
}

}  // namespace corvane
