#include "lasfile/LasTextForm.h"

#include <algorithm>
#include <cstddef>

#include "platform/File.h"

namespace corvane {
namespace {

// UTF-16 without a byte-order mark: ASCII text in it has a zero byte in every other
// place (the high half of each character), and rarely one elsewhere.
std::optional<std::string> Utf16Order(std::string_view head) {
  if (head.size() < 4) return std::nullopt;
  std::size_t zeros[2] = {0, 0};
  const std::size_t pairs = head.size() / 2;
  for (std::size_t i = 0; i < pairs * 2; ++i)
    if (head[i] == '\0') ++zeros[i % 2];
  if (zeros[1] * 10 >= pairs * 4 && zeros[0] * 20 <= pairs) return std::string("little-endian");
  if (zeros[0] * 10 >= pairs * 4 && zeros[1] * 20 <= pairs) return std::string("big-endian");
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ForeignTextForm(std::string_view head) {
  head = head.substr(0, kTextFormHead);
  const char* advice = "; LAS files are ASCII text: save it as ASCII (or UTF-8) and open it again";
  if (head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
      static_cast<unsigned char>(head[1]) == 0xFE)
    return "the file is UTF-16 text (little-endian, with a byte-order mark)" + std::string(advice);
  if (head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFE &&
      static_cast<unsigned char>(head[1]) == 0xFF)
    return "the file is UTF-16 text (big-endian, with a byte-order mark)" + std::string(advice);
  if (const auto order = Utf16Order(head))
    return "the file is UTF-16 text (" + *order + ", without a byte-order mark)" + std::string(advice);
  if (head.find('\r') != std::string_view::npos && head.find('\n') == std::string_view::npos)
    return std::string(
        "the lines of the file end with CR alone (the line end of old Mac OS), so it reads as one line; "
        "LAS lines end with CR LF: change its line ends and open it again");
  return std::nullopt;
}

std::optional<std::string> ForeignTextFormOf(const std::string& path) {
  CFile file;
  if (!file.OpenForReading(path, CFile::Lock::None).Ok()) return std::nullopt;
  std::string head(kTextFormHead, '\0');
  std::size_t got = 0;
  if (!file.ReadAt(head.data(), head.size(), 0, got).Ok()) return std::nullopt;
  head.resize(got);
  return ForeignTextForm(head);
}

}  // namespace corvane
