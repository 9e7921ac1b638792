#pragma once
// A plot as a picture file: PNG, SVG or PDF by the file's extension, drawn by
// CPlotPainter without a display, written whole or not at all.
#include <QRectF>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

#include "platform/Result.h"
#include "plot/PlotPainter.h"

namespace corvane {

enum class PlotFormat { Png, Svg, Pdf };

// The format of a file name by its extension (any case); none for another one.
std::optional<PlotFormat> PlotFormatOf(const QString& path);

// Draws a picture of `size` pixels into `path` with `paint` (given the painter and the
// picture's area); a PDF gets a page of that size at 96 pixels to the inch. Failed, with
// the reason alone (the caller names the file), when the file cannot be written;
// Cancelled when `cancelled` says so before the picture is whole. Either way a file of
// that name stays as it was. Every picture of the program is written here.
CResult ExportPicture(QSize size, const QString& path,
                      const std::function<void(QPainter&, const QRectF&)>& paint,
                      const std::function<bool()>& cancelled = {});

// Draws the depths top..base into `path` as a picture of `size` pixels. The caller
// holds the data's lock.
CResult ExportPlot(const CPlotPainter& painter, double top, double base, QSize size, const QString& path,
                   const std::function<bool()>& cancelled = {});

}  // namespace corvane
