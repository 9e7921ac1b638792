#pragma once
// What `plot` and `crossplot` share: the picture's size, the depth range asked for and
// its refusal when it lies outside the log, curves named by mnemonic, and Qt's drawing
// without a display.
#include <QGuiApplication>
#include <QSize>

#include <memory>
#include <optional>
#include <string>

#include "platform/Result.h"

namespace corvane {
struct CLasHeader;
}

namespace corvane::cli {

inline constexpr int kMaxPictureSide = 10000;

// "WIDTHxHEIGHT" in pixels, each 1 to kMaxPictureSide; none otherwise.
std::optional<QSize> ParsePictureSize(const std::string& text);

// --depth TOP:BASE, either end may be left out.
struct CDepthOption {
  std::optional<double> top;
  std::optional<double> base;
  bool Given() const { return top || base; }
};
// The depths of `text` into `depths`; the reason why not (for "--depth: ...") when they
// are not depths.
std::optional<std::string> ParseDepthOption(const std::string& text, CDepthOption& depths);
// The depths asked for within the log's, first..last (first <= last), top above base;
// none when they lie wholly outside it, with `refusal` saying so and naming the log's
// depths.
std::optional<std::pair<double, double>> DepthsWithin(const CDepthOption& depths, double first, double last,
                                                      const std::string& unit, std::string& refusal);

// The curve of the header whose mnemonic is `name` (letter case aside).
std::optional<std::size_t> CurveNamed(const CLasHeader& header, const std::string& name);

// Qt set up to draw pictures through its offscreen platform, its notes about the
// desktop silenced; lives as long as the result.
std::unique_ptr<QGuiApplication> StartPictureDrawing();

// "corvane-cli COMMAND: TEXT" on stderr; the exit status of bad usage.
int Usage(const char* command, const std::string& text);

// Whether Ctrl-C, a closed terminal or kill asked to stop: asked while the picture is drawn
// and written.
bool PictureCancelled();

// The exit status of a picture written into `output`: done, or failed or cancelled with
// its reason on stderr.
int WrittenStatus(const CResult& written, const std::string& output);

}  // namespace corvane::cli
