// corvane-cli plot: the LAS window's log plot as a PNG, SVG or PDF file, drawn
// without a display.
#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <QString>

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/TerminalProgress.h"
#include "platform/FileSystem.h"
#include "plot/PlotExport.h"
#include "plot/PlotSettings.h"
#include "plotmodel/LasLoader.h"
#include "plotmodel/RowReader.h"

namespace corvane::cli {
namespace {

struct CPlotOptions {
  std::string las;
  std::string output;
  std::string curves;
  std::string depth;
  std::string size = "800x1200";
  std::string settings;
  bool quiet = false;
};

constexpr int kMaxPictureSide = 10000;

std::optional<double> Number(std::string_view text) {
  double value = 0;
  const char* begin = text.data();
  if (!text.empty() && text.front() == '+') ++begin;
  const auto result = std::from_chars(begin, text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<QSize> ParseSize(const std::string& text) {
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

std::vector<std::string> SplitCurves(const std::string& text) {
  std::vector<std::string> names;
  std::string name;
  for (char c : text + ",") {
    if (c != ',') {
      if (c != ' ') name += c;
      continue;
    }
    if (!name.empty()) names.push_back(name);
    name.clear();
  }
  return names;
}

int Usage(const std::string& text) {
  std::cerr << "corvane-cli plot: " << text << '\n';
  return kExitUsage;
}

int RunPlot(const CPlotOptions& options) {
  const std::optional<QSize> size = ParseSize(options.size);
  if (!size)
    return Usage("--size: expected WIDTHxHEIGHT in pixels, each 1 to " + std::to_string(kMaxPictureSide) +
                 ", got \"" + options.size + "\"");
  std::optional<double> top;
  std::optional<double> base;
  if (!options.depth.empty()) {
    const auto colon = options.depth.find(':');
    const std::string_view text(options.depth);
    if (colon == std::string::npos)
      return Usage("--depth: expected TOP:BASE (either may be left out), got \"" + options.depth + "\"");
    const std::string_view topText = text.substr(0, colon);
    const std::string_view baseText = text.substr(colon + 1);
    if (!topText.empty() && !(top = Number(topText)))
      return Usage("--depth: \"" + std::string(topText) + "\" is not a depth");
    if (!baseText.empty() && !(base = Number(baseText)))
      return Usage("--depth: \"" + std::string(baseText) + "\" is not a depth");
    if (top && base && *top == *base) return Usage("--depth: TOP and BASE are the same depth");
  }
  const QString output = QString::fromLocal8Bit(options.output.c_str());
  if (SameFile(options.las, options.output))
    return Usage("-o: the picture cannot be written over the LAS file");
  if (!PlotFormatOf(output)) return Usage("-o: the picture must be a .png, .svg or .pdf file");

  // Qt draws text and pictures through a platform plugin; the offscreen one needs no display.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt's notes about the desktop (no runtime folder and the like) are no business of a picture.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toLocal8Bit().constData() << '\n';
  });
  static int argc = 1;
  static char name[] = "corvane-cli";
  static char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);

  CLasData data(options.las);
  CTerminalProgress::InstallInterruptHandler();
  CTerminalProgress progress(options.quiet);
  switch (LoadLasFile(data, progress)) {
    case LoadState::Done:
      break;
    case LoadState::Cancelled:
      std::cerr << "corvane-cli: plot cancelled; nothing was written.\n";
      return kExitFailed;
    case LoadState::Failed:
    case LoadState::Loading:
      std::cerr << "Failed to open LAS file.\ncorvane-cli: " << data.Error() << '\n';
      return kExitFailed;
  }

  auto lock = data.Lock();
  const CLasHeader& header = data.Header();
  const QString lasPath = QString::fromLocal8Bit(options.las.c_str());
  CPlotLayout layout;
  if (!options.curves.empty()) {
    std::vector<std::string> missing;
    layout = CPlotLayout::ForCurves(header, SplitCurves(options.curves), &missing);
    if (!missing.empty()) {
      std::string list;
      for (const std::string& name : missing) list += (list.empty() ? "" : ", ") + name;
      return Usage("--curves: the file has no curve " + list);
    }
  } else {
    const QString settings = options.settings.empty()
                                 ? FindPlotSettings(lasPath, DefaultTemplateFolder(), header)
                                 : QString::fromLocal8Bit(options.settings.c_str());
    if (settings.isEmpty()) {
      layout = CPlotLayout::Default(header);
    } else if (const CResult loaded = LoadPlotSettings(settings, header, layout); !loaded) {
      std::cerr << "corvane-cli: " << settings.toLocal8Bit().constData() << ": " << loaded.Reason() << '\n';
      return kExitFailed;
    }
  }

  const auto extent = data.DepthExtent();
  if (!extent) {
    std::cerr << "corvane-cli: " << options.las << " has no data rows to plot.\n";
    return kExitFailed;
  }
  double from = top.value_or(extent->first);
  double to = base.value_or(extent->second);
  if (from > to) std::swap(from, to);
  if (from == to) to = from + 1;

  CRowReader rows(data);
  const CPlotScales scales = ComputeScales(data, layout);
  const CPlotPainter painter(data, &rows, layout, scales);
  // Ctrl-C, a closed terminal or kill while the picture is drawn: no picture replaces the old one.
  const CResult written =
      ExportPlot(painter, from, to, *size, output, [] { return CTerminalProgress::Interrupted(); });
  if (written.IsCancelled()) {
    std::cerr << "corvane-cli: plot cancelled; " << options.output << " is as it was before the run.\n";
    return kExitFailed;
  }
  if (!written) {
    std::cerr << "corvane-cli: cannot write " << options.output << ": " << written.Reason() << '\n';
    return kExitFailed;
  }
  return kExitDone;
}

}  // namespace

void AddPlotCommand(CLI::App& app, CommandRunner& run) {
  auto options = std::make_shared<CPlotOptions>();
  CLI::App* sub = app.add_subcommand(
      "plot", "Draw the log plot of a LAS file (depth down the page, one track per curve) into a picture.");
  sub->add_option("FILE", options->las, "LAS file (wrapped or not)")->required();
  sub->add_option("-o,--output", options->output,
                  "Picture to write: .png, .svg or .pdf (replaced when it exists)")
      ->required()
      ->type_name("OUT");
  sub->add_option("--curves", options->curves,
                  "Curves to draw, one track each, in this order (default: the plot settings beside the "
                  "file or a matching template, else every curve)")
      ->type_name("GR,RHOB,...");
  sub->add_option("--depth", options->depth, "Depths to draw (default: all); either end may be left out")
      ->type_name("TOP:BASE");
  sub->add_option("--size", options->size, "Picture size in pixels (a PDF page at 96 per inch)")
      ->type_name("WxH")
      ->capture_default_str();
  sub->add_option("--settings", options->settings, "Plot settings or template file (.plot.json) to draw with")
      ->type_name("FILE");
  sub->add_flag("--quiet", options->quiet, "No progress bar");
  sub->footer(
      "Tracks, log scales and scale ends come from FILE's plot settings (<name>.plot.json beside it,\n"
      "saved from the LAS window) or from a template for the same mnemonics; without them every\n"
      "curve gets a track, resistivities on a log scale, scale ends at the 1st and 99th percentiles.\n"
      "Exit status: 0 written; 1 the LAS file cannot be read, has no rows, the picture cannot be\n"
      "written, or Ctrl-C; 2 usage.\n"
      "\n"
      "Example:\n"
      "  corvane-cli plot well-7.las -o well-7.png --curves GR,NPHI,RHOB,ILD --depth 1500:1600");
  sub->callback([options, &run] { run = [options] { return RunPlot(*options); }; });
}

}  // namespace corvane::cli
