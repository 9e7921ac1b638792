// corvane-cli plot: the LAS window's log plot as a PNG, SVG or PDF file, drawn
// without a display.
#include <CLI/CLI.hpp>
#include <QString>

#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/PictureCommands.h"
#include "cli/TerminalProgress.h"
#include "platform/FileSystem.h"
#include "plot/PlotExport.h"
#include "plot/PlotSettings.h"
#include "plotmodel/DepthScale.h"
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
  std::string scale;
  std::string settings;
  bool quiet = false;
};

// The tallest picture drawn at a depth scale.
constexpr int kMostScaledHeight = 32000;

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

int Usage(const std::string& text) { return cli::Usage("plot", text); }

int RunPlot(const CPlotOptions& options) {
  std::optional<QSize> size = ParsePictureSize(options.size);
  if (!size)
    return Usage("--size: expected WIDTHxHEIGHT in pixels, each 1 to " + std::to_string(kMaxPictureSide) +
                 ", got \"" + options.size + "\"");
  CDepthOption depths;
  if (const auto wrong = ParseDepthOption(options.depth, depths)) return Usage("--depth: " + *wrong);
  std::optional<double> ratio;
  if (!options.scale.empty() && !(ratio = ParseRatio(options.scale)))
    return Usage("--scale: expected 1:N (1:500, say), got \"" + options.scale + "\"");
  const QString output = QString::fromLocal8Bit(options.output.c_str());
  if (SameFile(options.las, options.output))
    return Usage("-o: the picture cannot be written over the LAS file");
  if (!PlotFormatOf(output)) return Usage("-o: the picture must be a .png, .svg or .pdf file");

  const auto application = StartPictureDrawing();
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
      layout = CPlotLayout::Standard(header);
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
  std::string refusal;
  const std::string depthUnit = header.curves.front().unit;
  const auto range = DepthsWithin(depths, extent->first, extent->second, depthUnit, refusal);
  if (!range) return Usage("--depth: " + refusal);
  const auto [from, to] = *range;

  CRowReader rows(data);
  const CPlotScales scales = ComputeScales(data, layout);
  const CPlotPainter painter(data, &rows, layout, scales);
  // As wide as the tracks need; at a depth scale as high as the depths need.
  size->setWidth(painter.NeededPixels(size->width()));
  if (ratio) {
    const double height =
        painter.HeaderHeight() + (to - from) * PixelsPerDepthUnit(*ratio, depthUnit, kPictureDpi);
    if (height > kMostScaledHeight)
      return Usage("--scale: at " + options.scale + " the depths " + std::to_string(from) + " to " +
                   std::to_string(to) + " make a picture " +
                   std::to_string(static_cast<long>(std::ceil(height))) + " pixels high; the most is " +
                   std::to_string(kMostScaledHeight) +
                   " (draw fewer depths with --depth, or take a scale of more depth: 1:N with a greater N)");
    size->setHeight(static_cast<int>(std::ceil(height)));
  }
  // Ctrl-C, a closed terminal or kill while the picture is drawn: no picture replaces the old one.
  return WrittenStatus(ExportPlot(painter, from, to, *size, output, PictureCancelled), options.output);
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
  sub->add_option("--size", options->size,
                  "Picture size in pixels (a PDF page at 96 per inch); wider when the tracks need it")
      ->type_name("WxH")
      ->capture_default_str();
  sub->add_option("--scale", options->scale,
                  "Depth scale (1:200, 1:500, 1:1000, ...): the picture's height follows the depths drawn, "
                  "at 96 pixels per inch; --size gives its width only")
      ->type_name("1:N");
  sub->add_option("--settings", options->settings, "Plot settings or template file (.plot.json) to draw with")
      ->type_name("FILE");
  sub->add_flag("--quiet", options->quiet, "No progress bar");
  sub->footer(
      "Tracks, log scales, scale ends and fills come from FILE's plot settings (<name>.plot.json\n"
      "beside it, saved from the LAS window) or from a template for the same mnemonics; without\n"
      "them the standard layout by curve family: gamma ray, SP and caliper, the depth track,\n"
      "resistivities on a log scale, neutron with density, sonic, PE, then the other curves, each\n"
      "with its standard scale (GR 0-150 GAPI, ...) or round ends around its readings.\n"
      "Exit status: 0 written; 1 the LAS file cannot be read, has no rows, the picture cannot be\n"
      "written, or Ctrl-C; 2 usage, --depth outside the log (the log's depths are named) or a\n"
      "--scale picture too high.\n"
      "\n"
      "Example:\n"
      "  corvane-cli plot well-7.las -o well-7.png --curves GR,NPHI,RHOB,ILD --depth 1500:1600\n"
      "  corvane-cli plot well-7.las -o well-7.pdf --scale 1:500");
  sub->callback([options, &run] { run = [options] { return RunPlot(*options); }; });
}

}  // namespace corvane::cli
