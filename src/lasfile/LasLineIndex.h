#pragma once
// Where the lines of a LAS file start, every kStride-th line, noted by a pass that
// reads the whole file anyway (the check's), so that a few lines anywhere in it can be
// read again at once without holding the file: a finding's line and those around it.
// A 1 GB file of 4 million lines needs about 64 KB.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/File.h"

namespace corvane {

struct CLasLineInfo;
struct CLasRecord;

class CLasLineIndex {
 public:
  static constexpr std::uint64_t kStride = 512;

  // Notes the lines of a record of CLasReader; records may come out of line order (a
  // wrapped row after the lines that interrupted it).
  void Note(const CLasRecord& record);
  void Note(const CLasLineInfo& line);
  // The last line noted so far.
  std::uint64_t LinesNoted() const noexcept { return m_lines; }

  // Lines first..last (1-based, numbered as CLasReader numbers them) of the file at
  // `path`, each without its line end and cut to `maxLength` characters; fewer when the
  // file ends before. Lines past those noted are found by reading on from the last one
  // noted. Throws CFileError; with `expected`, one of cause ESTALE when the file opened
  // is not that one (replaced or changed since the pass that noted the lines).
  std::vector<std::string> ReadLines(const std::string& path, std::uint64_t first, std::uint64_t last,
                                     std::size_t maxLength, const CFileIdentity* expected = nullptr) const;

 private:
  static constexpr std::uint64_t kUnknown = ~std::uint64_t{0};
  std::vector<std::uint64_t> m_offsets{0};  // [k]: the offset of line k * kStride + 1
  std::uint64_t m_lines = 0;
};

}  // namespace corvane
