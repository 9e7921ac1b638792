#include "ascii/TextProbe.h"

#include "platform/AsciiText.h"
#include "platform/File.h"

namespace corvane {
namespace {

// The length of the UTF-8 sequence at `at`, or 0 when the bytes there are no UTF-8. A
// sequence cut by the end of the bytes looked at counts as whole.
std::size_t Utf8Length(std::string_view bytes, std::size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  else
    return 0;
  for (std::size_t i = 1; i < length && at + i < bytes.size(); ++i)
    if ((static_cast<unsigned char>(bytes[at + i]) & 0xC0) != 0x80) return 0;
  return length;
}

}  // namespace

CTextProbe ProbeTextBytes(std::string_view head) {
  CTextProbe probe;
  if (head.size() >= 2 &&
      ((head[0] == '\xFF' && head[1] == '\xFE') || (head[0] == '\xFE' && head[1] == '\xFF'))) {
    probe.text = false;
    probe.reason =
        "It is UTF-16 text, which is read one byte at a time here: save it as UTF-8 or ASCII text.";
    return probe;
  }
  if (head.find('\0') != std::string_view::npos) {
    probe.text = false;
    probe.reason =
        "It holds NUL bytes: a binary file (a spreadsheet, an archive or a program), not a text export of a "
        "log.";
    return probe;
  }
  std::size_t unprintable = 0;
  for (std::size_t i = 0; i < head.size();) {
    const char c = head[i];
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      const std::size_t length = Utf8Length(head, i);
      if (length == 0) {
        ++unprintable;
        ++i;
      } else {
        i += length;
      }
      continue;
    }
    if ((byte < 0x20 && !IsCSpace(c)) || byte == 0x7F) ++unprintable;
    ++i;
  }
  if (2 * unprintable > head.size()) {
    probe.text = false;
    probe.reason =
        "Most of its first bytes are no printable characters: a binary file, not a text export of a log.";
  }
  return probe;
}

CResult ProbeTextFile(const std::string& path, CTextProbe& probe) {
  probe = CTextProbe();
  CFile file;
  if (CResult opened = file.OpenForReading(path, CFile::Lock::None); !opened.Ok()) return opened;
  std::string head(kTextProbeBytes, '\0');
  std::size_t filled = 0;
  while (filled < head.size()) {
    std::size_t got = 0;
    if (CResult read = file.Read(head.data() + filled, head.size() - filled, got); !read.Ok()) return read;
    if (got == 0) break;
    filled += got;
  }
  head.resize(filled);
  probe = ProbeTextBytes(head);
  return CResult::Done();
}

}  // namespace corvane
