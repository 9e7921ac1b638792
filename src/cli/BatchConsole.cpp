#include "cli/BatchConsole.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "lasfile/LasReportFormat.h"
#include "platform/NumberFormat.h"

namespace corvane::cli {
namespace {

constexpr int kBarWidth = 30;
constexpr long kRedrawIntervalMs = 200;

long NowMs() {
  using namespace std::chrono;
  return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Write(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

std::string Plural(std::size_t n, const char* one, const char* many) {
  return FormatInt(static_cast<long long>(n)) + " " + (n == 1 ? one : many);
}

std::string Megabytes(std::uint64_t bytes) { return FormatFixed(static_cast<double>(bytes) / 1e6, 1); }

// "0:42", "1:02:03"
std::string Duration(double seconds) {
  const long total = seconds < 0 ? 0 : std::lround(seconds);
  const long hours = total / 3600;
  const long minutes = total / 60 % 60;
  const long rest = total % 60;
  std::string out;
  if (hours > 0) out = FormatInt(hours) + ":" + (minutes < 10 ? "0" : "");
  out += FormatInt(minutes) + ":" + (rest < 10 ? "0" : "") + FormatInt(rest);
  return out;
}

}  // namespace

CBatchConsole::CBatchConsole(std::size_t files, bool strict)
    : m_files(files), m_strict(strict), m_tty(::isatty(STDERR_FILENO) == 1) {}

std::string CBatchConsole::OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F)
      out += PrintableText(std::string_view(&c, 1));
    else
      out += c;
  }
  return out;
}

std::string CBatchConsole::FileLine(const CBatchItem& item, const CBatchOutcome& outcome, bool strict) {
  std::string out = BatchStatusName(outcome.status);
  out.append(10 - out.size(), ' ');
  AppendFixed(out, outcome.seconds, 2, 6);
  out += " s  ";
  out += OneLine(item.input);
  if (outcome.status == BatchStatus::Succeeded) {
    out += " -> " + OneLine(item.output) + ": " + Plural(outcome.facts.rows, "row", "rows");
    if (outcome.check) {
      const CLasReport& report = *outcome.check;
      out += "; check: " + Plural(report.Count(LasSeverity::Error), "error", "errors") + ", " +
             Plural(report.Count(LasSeverity::Warning), "warning", "warnings");
      if (strict && report.Fails(true) && report.Count(LasSeverity::Error) == 0) out += " (fails: --strict)";
    }
    if (outcome.facts.read && outcome.facts.reading.HasDoubts()) {
      const CReadingSummary& reading = outcome.facts.reading;
      std::string kinds;
      for (std::size_t k = 0; k < kReadingKindCount; ++k) {
        const auto kind = static_cast<ReadingKind>(k);
        if (!IsReadingDoubt(kind) || reading.Total(kind).count == 0) continue;
        kinds += kinds.empty() ? " " : ", ";
        kinds += std::string(ReadingKindName(kind)) + " " +
                 FormatInt(static_cast<long long>(reading.Total(kind).count));
      }
      out += "; reading:" + kinds;
      if (strict && reading.FailsStrict()) out += " (fails: --strict)";
    }
  } else if (!outcome.message.empty() && outcome.message != outcome.reason) {
    out += ": " + OneLine(outcome.message) + " (" + OneLine(outcome.reason) + ")";
  } else {
    out += ": " + OneLine(outcome.reason);
  }
  return out;
}

void CBatchConsole::Finished(const CBatchItem& item, const CBatchOutcome& outcome) {
  ++m_done;
  const std::string total = FormatInt(static_cast<long long>(m_files));
  std::string line = "[";
  AppendRightAligned(line, FormatInt(static_cast<long long>(m_done)), static_cast<int>(total.size()));
  line += "/" + total + "] " + FileLine(item, outcome, m_strict) + "\n";
  ClearBar();
  Write(stdout, line);
  DrawBar();
}

void CBatchConsole::Progress(const CBatchProgress& progress) {
  if (!m_tty) return;
  const long now = NowMs();
  if (now - m_lastDraw < kRedrawIntervalMs) return;
  m_lastDraw = now;
  const std::uint64_t done = std::min(progress.bytesDone, progress.bytes);
  const double share = progress.bytes > 0 ? static_cast<double>(done) / static_cast<double>(progress.bytes)
                                          : static_cast<double>(progress.filesDone) /
                                                static_cast<double>(progress.files > 0 ? progress.files : 1);
  const int filled = static_cast<int>(share * kBarWidth);
  m_bar = "[";
  m_bar.append(static_cast<std::size_t>(filled), '#');
  m_bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
  m_bar += "] " + FormatInt(static_cast<long long>(progress.filesDone)) + "/" +
           FormatInt(static_cast<long long>(progress.files)) + " files, " + Megabytes(done) + "/" +
           Megabytes(progress.bytes) + " MB";
  if (share > 0.01 && progress.seconds > 1)
    m_bar += ", " + Duration(progress.seconds * (1 - share) / share) + " left";
  DrawBar();
}

void CBatchConsole::Summary(const CBatchTotals& totals, double seconds, bool check) {
  ClearBar();
  m_bar.clear();
  std::string line = Plural(totals.files, "file", "files") + ": " +
                     FormatInt(static_cast<long long>(totals.succeeded)) + " succeeded, " +
                     FormatInt(static_cast<long long>(totals.failed)) + " failed, " +
                     FormatInt(static_cast<long long>(totals.cancelled)) + " cancelled; " +
                     Plural(totals.rows, "row", "rows") + " in " + FormatFixed(seconds, 1) + " s";
  if (check) {
    line += "; " + FormatInt(static_cast<long long>(totals.checkFailed)) +
            (m_strict ? " with check errors or warnings" : " with check errors");
  }
  if (m_strict && totals.readingFailed > 0)
    line +=
        "; " + FormatInt(static_cast<long long>(totals.readingFailed)) + " with reading doubts (--strict)";
  Write(stdout, line + "\n");
}

void CBatchConsole::ClearBar() {
  if (m_tty && !m_bar.empty()) Write(stderr, "\r\x1b[K");
}

void CBatchConsole::DrawBar() {
  if (m_tty && !m_bar.empty()) Write(stderr, "\r" + m_bar + "\x1b[K");
}

}  // namespace corvane::cli
