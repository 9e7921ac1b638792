#include "cli/PictureCommands.h"

#include <QGuiApplication>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <string_view>

#include "cli/Commands.h"
#include "cli/TerminalProgress.h"
#include "platform/AsciiText.h"
#include "plotmodel/LasHeader.h"

namespace corvane::cli {
namespace {

std::optional<double> Number(std::string_view text) {
  double value = 0;
  const char* begin = text.data();
  if (!text.empty() && text.front() == '+') ++begin;
  const auto result = std::from_chars(begin, text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string DepthText(double depth) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, depth);
  return std::string(text, result.ptr);
}

}  // namespace

std::optional<QSize> ParsePictureSize(const std::string& text) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  int width = 0;
  int height = 0;
  const char* end = text.data() + text.size();
  const auto w = std::from_chars(text.data(), text.data() + x, width);
  const auto h = std::from_chars(text.data() + x + 1, end, height);
  if (w.ec != std::errc() || w.ptr != text.data() + x || h.ec != std::errc() || h.ptr != end)
    return std::nullopt;
  if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return std::nullopt;
  return QSize(width, height);
}

std::optional<std::string> ParseDepthOption(const std::string& text, CDepthOption& depths) {
  if (text.empty()) return std::nullopt;
  const auto colon = text.find(':');
  if (colon == std::string::npos) return "expected TOP:BASE (either may be left out), got \"" + text + "\"";
  const std::string_view all(text);
  const std::string_view topText = all.substr(0, colon);
  const std::string_view baseText = all.substr(colon + 1);
  if (!topText.empty() && !(depths.top = Number(topText)))
    return "\"" + std::string(topText) + "\" is not a depth";
  if (!baseText.empty() && !(depths.base = Number(baseText)))
    return "\"" + std::string(baseText) + "\" is not a depth";
  if (depths.top && depths.base && *depths.top == *depths.base) return "TOP and BASE are the same depth";
  return std::nullopt;
}

std::optional<std::pair<double, double>> DepthsWithin(const CDepthOption& depths, double first, double last,
                                                      const std::string& unit, std::string& refusal) {
  // An end left out reaches as far as the log does.
  double from = depths.top.value_or(-std::numeric_limits<double>::infinity());
  double to = depths.base.value_or(std::numeric_limits<double>::infinity());
  if (from > to) std::swap(from, to);
  if (to < first || from > last) {
    std::string asked;
    if (depths.top) asked += DepthText(*depths.top);
    asked += ":";
    if (depths.base) asked += DepthText(*depths.base);
    refusal = asked + " lies outside the log, which runs from " + DepthText(first) + " to " +
              DepthText(last) + (unit.empty() ? "" : " " + unit);
    return std::nullopt;
  }
  from = std::isfinite(from) ? from : first;
  to = std::isfinite(to) ? to : last;
  if (from == to) to = from + 1;
  return std::make_pair(from, to);
}

std::optional<std::size_t> CurveNamed(const CLasHeader& header, const std::string& name) {
  for (std::size_t c = 0; c < header.curves.size(); ++c)
    if (EqualNoCase(header.curves[c].mnemonic, name)) return c;
  return std::nullopt;
}

std::unique_ptr<QGuiApplication> StartPictureDrawing() {
  // Qt draws text and pictures through a platform plugin; the offscreen one needs no display.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt's notes about the desktop (no runtime folder and the like) are no business of a picture.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toLocal8Bit().constData() << '\n';
  });
  static int argc = 1;
  static char name[] = "corvane-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

bool PictureCancelled() { return CTerminalProgress::Interrupted(); }

int WrittenStatus(const CResult& written, const std::string& output) {
  if (written) return kExitDone;
  if (written.IsCancelled()) {
    std::cerr << "corvane-cli: cancelled; " << output << " is as it was before the run.\n";
    return kExitFailed;
  }
  std::cerr << "corvane-cli: cannot write " << output << ": " << written.Reason() << '\n';
  return kExitFailed;
}

int Usage(const char* command, const std::string& text) {
  std::cerr << "corvane-cli " << command << ": " << text << '\n';
  return kExitUsage;
}

}  // namespace corvane::cli
