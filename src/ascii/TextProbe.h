#pragma once
// Whether a file holds text at all: a spreadsheet, an archive or a program chosen as
// the ASCII file is told as such, before its bytes are shown as lines.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace corvane {

// How much of the start of a file is looked at.
inline constexpr std::size_t kTextProbeBytes = 64 * 1024;

struct CTextProbe {
  bool text = true;
  std::string reason;  // why it is not text, a sentence; empty for text
};

// The verdict on the first bytes of a file: not text when they are UTF-16 (a
// byte-order mark), hold a NUL byte, or are mostly not printable (control characters
// other than white space, bytes that are no UTF-8).
CTextProbe ProbeTextBytes(std::string_view head);

// The verdict on the first kTextProbeBytes of a file. Fails, with the probe saying
// text, when the file cannot be read.
CResult ProbeTextFile(const std::string& path, CTextProbe& probe);

}  // namespace corvane
