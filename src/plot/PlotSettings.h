#pragma once
// The plot settings a user makes (tracks, curves in them, log scales, typed scale
// ends, hidden tracks, track widths, fills, the depth track's place) as a small JSON
// file. Keys that a file lacks keep the meaning they had before they were known: the
// depth track first, every track a share of the width, the fills its curves call for. Saved beside a LAS file
// ("<name>.plot.json") they come back when that file is opened again; saved as a
// template they are applied to any file with the same set of mnemonics.
#include <QString>

#include "platform/Result.h"
#include "plotmodel/PlotLayout.h"

namespace corvane {

struct CLasHeader;

inline constexpr const char* kPlotSettingsSuffix = ".plot.json";

// Where templates are kept: "Corvane/plot-templates" in the user's configuration
// folder (~/.config on Linux).
QString DefaultTemplateFolder();

// "<folder>/<name without its extension>.plot.json" for a LAS file.
QString SettingsPathBeside(const QString& lasPath);

// The layout that a settings file gives a file of `header`, into `layout`: its tracks
// with the curves the file has, matched by mnemonic (without regard to case); curves
// that the file lacks are left out, and so are tracks left empty. Failed, with the
// reason alone (the caller names the file), when the file cannot be read or holds no
// plot settings; `layout` is then untouched.
CResult LoadPlotSettings(const QString& path, const CLasHeader& header, CPlotLayout& layout);

// Writes the settings of `layout` (whole or not at all); failed with the reason alone.
CResult SavePlotSettings(const QString& path, const CPlotLayout& layout, const CLasHeader& header);

// The settings for a LAS file: the file beside it when there is one, else the first
// template of `templateDir` (by name) made for the same set of mnemonics; empty when
// there is neither.
QString FindPlotSettings(const QString& lasPath, const QString& templateDir, const CLasHeader& header);

}  // namespace corvane
