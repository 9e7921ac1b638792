#include "lasfile/LasHeaderLine.h"

#include "platform/AsciiText.h"

namespace corvane {

CLasHeaderLine ParseLasHeaderLine(std::string_view line) noexcept {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);

  CLasHeaderLine out;
  out.dot = line.find('.');
  out.colon = line.rfind(':');
  if (!out.HasDot()) {
    // No unit part: what stands before the colon is taken as the mnemonic.
    if (out.colon == CLasHeaderLine::npos) {
      out.mnemonic = TrimBlanks(line);
    } else {
      out.mnemonic = TrimBlanks(line.substr(0, out.colon));
      out.description = TrimBlanks(line.substr(out.colon + 1));
    }
    return out;
  }

  out.mnemonic = TrimBlanks(line.substr(0, out.dot));
  for (std::size_t i = out.dot + 1; i < line.size(); ++i) {
    if (IsBlankOrTab(line[i])) {
      out.blank = i;
      break;
    }
  }
  const bool colonAfterDot = out.HasColonAfterDot();
  std::size_t unitEnd = line.size();
  if (out.blank != CLasHeaderLine::npos) unitEnd = out.blank;
  if (colonAfterDot && out.colon < unitEnd) unitEnd = out.colon;
  out.unit = line.substr(out.dot + 1, unitEnd - out.dot - 1);
  if (colonAfterDot) {
    out.value = TrimBlanks(line.substr(unitEnd, out.colon - unitEnd));
    out.description = TrimBlanks(line.substr(out.colon + 1));
  } else {
    out.value = TrimBlanks(line.substr(unitEnd));
  }
  return out;
}

}  // namespace corvane
