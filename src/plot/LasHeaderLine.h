#pragma once
// One line of the ~V, ~W, ~C or ~P section of a LAS file: "MNEM.UNIT VALUE : DESCRIPTION".
// Every reader of header lines in the plot goes through ParseHeaderLine, so that a
// shared parser can later take its place in one spot.
#include <string>
#include <string_view>

namespace corvane {

struct CHeaderLine {
  std::string mnemonic;
  std::string unit;
  std::string value;  // the data: a value, a name or the API code of a curve
  std::string description;
};

// Cuts a line at its first dot, the first blank after that dot and its last colon;
// the four parts come back trimmed. A line without a dot before its last colon is
// all mnemonic up to that colon; a line without a colon has no description.
CHeaderLine ParseHeaderLine(std::string_view line);

}  // namespace corvane
