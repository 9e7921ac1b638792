#pragma once
// The plot settings a user makes (tracks, curves in them, log scales, typed scale
// ends, hidden tracks) as a small JSON file. Saved beside a LAS file
// ("<name>.plot.json") they come back when that file is opened again; saved as a
// template they are applied to any file with the same set of mnemonics.
#include <QString>
#include <optional>

#include "plot/PlotLayout.h"

namespace corvane {

struct CLasHeader;

inline constexpr const char* kPlotSettingsSuffix = ".plot.json";

// Where templates are kept: "Corvane/plot-templates" in the user's configuration
// folder (~/.config on Linux).
QString DefaultTemplateFolder();

// "<folder>/<name without its extension>.plot.json" for a LAS file.
QString SettingsPathBeside(const QString& lasPath);

// The layout that a settings file gives a file of `header`: its tracks with the curves
// the file has, matched by mnemonic (without regard to case); curves that the file
// lacks are left out, and so are tracks left empty. None, with the reason in `error`,
// when the file cannot be read or holds no plot settings.
std::optional<CPlotLayout> LoadPlotSettings(const QString& path, const CLasHeader& header, QString* error);

// Writes the settings of `layout` (whole or not at all); false with the reason.
bool SavePlotSettings(const QString& path, const CPlotLayout& layout, const CLasHeader& header,
                      QString* error);

// The settings for a LAS file: the file beside it when there is one, else the first
// template of `templateDir` (by name) made for the same set of mnemonics; empty when
// there is neither.
QString FindPlotSettings(const QString& lasPath, const QString& templateDir, const CLasHeader& header);

}  // namespace corvane
