// corvane-cli crossplot: two curves of a LAS file against each other as a PNG, SVG or
// PDF picture, drawn as the LAS window's crossplot draws, without a display.
#include <CLI/CLI.hpp>
#include <QString>

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/PictureCommands.h"
#include "cli/TerminalProgress.h"
#include "lasfile/LasReader.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "plot/CrossplotPainter.h"
#include "plot/PlotExport.h"
#include "plotmodel/Crossplot.h"
#include "plotmodel/CurveStyle.h"
#include "plotmodel/LasLoader.h"

namespace corvane::cli {
namespace {

struct CCrossplotOptions {
  std::string las;
  std::string output;
  std::string x;
  std::string y;
  std::string color;
  bool noColor = false;
  std::string depth;
  std::string size = "800x800";
  bool quiet = false;
};

int Usage(const std::string& text) { return cli::Usage("crossplot", text); }

// The first curve of a family (after the index); none when the file has none.
std::optional<std::size_t> FirstOf(const std::vector<CurveFamily>& families, CurveFamily family) {
  for (std::size_t c = 1; c < families.size(); ++c)
    if (families[c] == family) return c;
  return std::nullopt;
}

int RunCrossplot(const CCrossplotOptions& options) {
  const std::optional<QSize> size = ParsePictureSize(options.size);
  if (!size)
    return Usage("--size: expected WIDTHxHEIGHT in pixels, each 1 to " + std::to_string(kMaxPictureSide) +
                 ", got \"" + options.size + "\"");
  CDepthOption depths;
  if (const auto wrong = ParseDepthOption(options.depth, depths)) return Usage("--depth: " + *wrong);
  const QString output = QString::fromLocal8Bit(options.output.c_str());
  if (SameFile(options.las, options.output))
    return Usage("-o: the picture cannot be written over the LAS file");
  if (!PlotFormatOf(output)) return Usage("-o: the picture must be a .png, .svg or .pdf file");
  if (options.noColor && !options.color.empty()) return Usage("--color and --no-color exclude each other");

  // The header first: the curves named, and whether their axes need the readings.
  CLasHeader header;
  try {
    CLasReader reader;
    reader.Open(options.las);
    header = ReadLasHeader(reader);
  } catch (const CFileError& error) {
    std::cerr << "Failed to open LAS file.\ncorvane-cli: " << error.what() << '\n';
    return kExitFailed;
  }
  if (header.curves.size() < 2) {
    std::cerr << "Failed to open LAS file.\ncorvane-cli: "
              << (header.curves.empty() ? "The ~C section names no curves."
                                        : "The file has no curve but its index.")
              << '\n';
    return kExitFailed;
  }
  const std::vector<CurveFamily> families = FamiliesOf(header);
  auto curve = [&](const std::string& name, CurveFamily family, const char* option,
                   std::optional<std::size_t>& found) -> std::optional<std::string> {
    if (!name.empty()) {
      found = CurveNamed(header, name);
      if (!found) return std::string(option) + ": the file has no curve " + name;
      return std::nullopt;
    }
    found = FirstOf(families, family);
    if (!found && family != CurveFamily::GammaRay)
      return std::string(option) + ": the file has no " + std::string(FamilyName(family)) +
             " curve; name one";
    return std::nullopt;
  };
  std::optional<std::size_t> x;
  std::optional<std::size_t> y;
  std::optional<std::size_t> color;
  for (const auto& wrong :
       {curve(options.x, CurveFamily::NeutronPorosity, "-x", x),
        curve(options.y, CurveFamily::Density, "-y", y),
        options.noColor ? std::nullopt : curve(options.color, CurveFamily::GammaRay, "--color", color)})
    if (wrong) return Usage(*wrong);

  const auto application = StartPictureDrawing();
  CTerminalProgress::InstallInterruptHandler();
  CTerminalProgress progress(options.quiet);
  // Curves without standard ends take round ends around their readings: those are
  // read first, in a pass of their own.
  auto standard = [&](std::size_t c, bool log) {
    return StandardEnds(families[c], header.curves[c].unit, log).has_value();
  };
  auto logAxis = [&](std::size_t c) { return IsResistivity(families[c]); };
  const bool needReadings =
      !standard(*x, logAxis(*x)) || !standard(*y, logAxis(*y)) || (color && !standard(*color, false));
  CLasData data(options.las);
  if (needReadings) {
    switch (LoadLasFile(data, progress)) {
      case LoadState::Done:
        break;
      case LoadState::Cancelled:
        std::cerr << "corvane-cli: crossplot cancelled; nothing was written.\n";
        return kExitFailed;
      default:
        std::cerr << "Failed to open LAS file.\ncorvane-cli: " << data.Error() << '\n';
        return kExitFailed;
    }
  }
  CCrossplotSetup setup;
  {
    auto lock = data.Lock();
    const CValueSample none;
    auto sample = [&](std::size_t c) -> const CValueSample& { return needReadings ? data.Sample(c) : none; };
    setup.x = *x;
    setup.y = *y;
    setup.color = color;
    setup.xAxis = CrossplotAxis(sample(*x), families[*x], header.curves[*x].unit, false);
    setup.yAxis = CrossplotAxis(sample(*y), families[*y], header.curves[*y].unit, true);
    if (color)
      setup.colorScale =
          CTrackScale::Proposed(sample(*color), false, families[*color], header.curves[*color].unit);
  }
  setup.top = depths.top.value_or(-std::numeric_limits<double>::infinity());
  setup.base = depths.base.value_or(std::numeric_limits<double>::infinity());
  CCrossplot plot(setup);
  CLasHeader read;
  const CCrossplotRead outcome = ReadCrossplot(options.las, read, plot, progress);
  if (outcome.state == LoadState::Cancelled) {
    std::cerr << "corvane-cli: crossplot cancelled; nothing was written.\n";
    return kExitFailed;
  }
  if (outcome.state != LoadState::Done) {
    std::cerr << "Failed to open LAS file.\ncorvane-cli: " << outcome.error << '\n';
    return kExitFailed;
  }
  const auto extent = plot.Extent();
  if (!extent) {
    std::cerr << "corvane-cli: " << options.las << " has no data rows to plot.\n";
    return kExitFailed;
  }
  std::string refusal;
  if (!DepthsWithin(depths, extent->first, extent->second, header.curves.front().unit, refusal))
    return Usage("--depth: " + refusal);

  const CCrossplotPainter painter(plot, read, QString::fromLocal8Bit(BaseNameOf(options.las).c_str()));
  return WrittenStatus(ExportPicture(
                           *size, output, [&](QPainter& on, const QRectF& area) { painter.Paint(on, area); },
                           PictureCancelled),
                       options.output);
}

}  // namespace

void AddCrossplotCommand(CLI::App& app, CommandRunner& run) {
  auto options = std::make_shared<CCrossplotOptions>();
  CLI::App* sub = app.add_subcommand(
      "crossplot", "Draw two curves of a LAS file against each other (a crossplot) into a picture.");
  sub->add_option("FILE", options->las, "LAS file (wrapped or not)")->required();
  sub->add_option("-o,--output", options->output,
                  "Picture to write: .png, .svg or .pdf (replaced when it exists)")
      ->required()
      ->type_name("OUT");
  sub->add_option("-x", options->x, "Curve across (default: the first neutron porosity curve)")
      ->type_name("CURVE");
  sub->add_option("-y", options->y, "Curve up (default: the first density curve)")->type_name("CURVE");
  sub->add_option("--color", options->color,
                  "Curve that colours the points (default: the first gamma ray curve, when there is one)")
      ->type_name("CURVE");
  sub->add_flag("--no-color", options->noColor, "Points in one colour");
  sub->add_option("--depth", options->depth, "Depths to take (default: all); either end may be left out")
      ->type_name("TOP:BASE");
  sub->add_option("--size", options->size, "Picture size in pixels (a PDF page at 96 per inch)")
      ->type_name("WxH")
      ->capture_default_str();
  sub->add_flag("--quiet", options->quiet, "No progress bar");
  sub->footer(
      "Curves are named by their mnemonics (letter case aside). The axes take the curves' standard\n"
      "scales (NPHI -0.15 to 0.45 V/V, RHOB 1.95 to 2.95 G/C3 running down, resistivities on log\n"
      "axes) or round ends around their readings. Up to 20000 readings are drawn as points,\n"
      "coloured by the colour curve; more as their density, 128 by 128 bins, coloured by count.\n"
      "Exit status: 0 written; 1 the LAS file cannot be read, has no rows, the picture cannot be\n"
      "written, or Ctrl-C; 2 usage, a curve the file lacks, or --depth outside the log (the log's\n"
      "depths are named).\n"
      "\n"
      "Examples:\n"
      "  corvane-cli crossplot well-7.las -o nd.png\n"
      "  corvane-cli crossplot well-7.las -x NPHI -y RHOB --color GR --depth 1600:1700 -o nd.pdf");
  sub->callback([options, &run] { run = [options] { return RunCrossplot(*options); }; });
}

}  // namespace corvane::cli
