// libFuzzer driver of the LAS check: any bytes as a LAS file, read, checked and
// reported in both forms, with the report's own invariants asserted.
//
// Built with clang and -DCORVANE_FUZZ=ON (which instruments the core libraries):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCORVANE_FUZZ=ON \
//       -DCORVANE_BUILD_GUI=OFF -DCORVANE_BUILD_BENCH=OFF
//   cmake --build build-fuzz --target fuzz_lascheck
//   mkdir -p /tmp/las-corpus && cp tests/data/*.las /tmp/las-corpus/
//   build-fuzz/tests/fuzz/fuzz_lascheck /tmp/las-corpus -max_len=65536 -max_total_time=300
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "lasfile/LasChecker.h"
#include "lasfile/LasReportFormat.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// Every byte of `json` that is not ASCII belongs to valid UTF-8 (the writer escapes the
// rest), and no control character stands in it raw.
void RequireCleanJson(const std::string& json) {
  for (std::size_t i = 0; i < json.size(); ++i) {
    const auto c = static_cast<unsigned char>(json[i]);
    Require(c >= 0x20 || c == '\n');
    if (c < 0x80) continue;
    std::size_t length = c >= 0xF0 ? 4 : (c >= 0xE0 ? 3 : 2);
    Require(c >= 0xC2 && c <= 0xF4 && i + length <= json.size());
    for (std::size_t k = 1; k < length; ++k)
      Require((static_cast<unsigned char>(json[i + k]) & 0xC0) == 0x80);
    i += length - 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int fd = memfd_create("fuzz.las", 0);
  Require(fd >= 0);
  Require(ftruncate(fd, 0) == 0);
  Require(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));
  const std::string path = "/proc/self/fd/" + std::to_string(fd);

  const corvane::CLasReport report = corvane::CheckLasFile(path);
  std::size_t listed = 0;
  for (const corvane::CLasFinding& finding : report.Findings()) {
    Require(finding.severity == corvane::LasRule(finding.code).severity);
    Require(finding.line <= report.summary.lines + 1);
    Require(!finding.reason.empty() && finding.reason.size() < 2000);
    Require(finding.text.size() <= corvane::CLasReport::kMaxText);
    ++listed;
  }
  Require(listed <= corvane::kLasCodeCount * corvane::CLasReport::kListedPerCode);
  // A Ctrl-Z ends the text: the bytes after it are not read.
  const void* ctrlZ = std::memchr(data, 0x1A, size);
  const std::size_t textBytes =
      ctrlZ == nullptr ? size : static_cast<std::size_t>(static_cast<const std::uint8_t*>(ctrlZ) - data);
  Require(report.summary.bytes == size || report.summary.bytes == textBytes || !report.complete);
  Require(textBytes == 0 || report.summary.lines > 0 || !report.complete);

  const std::string text = corvane::FormatLasReportText(report, true);
  Require(!text.empty());
  corvane::CLasReportJson json(false);
  std::string document = json.Begin();
  document += json.Add(report);
  document += json.End();
  RequireCleanJson(document);
  return 0;
}
