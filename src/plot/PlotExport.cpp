#include "plot/PlotExport.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "platform/ProgramInfo.h"
#include "plot/PictureFile.h"

namespace corvane {

std::optional<PlotFormat> PlotFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return PlotFormat::Png;
  if (suffix == QLatin1String("svg")) return PlotFormat::Svg;
  if (suffix == QLatin1String("pdf")) return PlotFormat::Pdf;
  return std::nullopt;
}

CResult ExportPlot(const CPlotPainter& plot, double top, double base, QSize size, const QString& path,
                   const std::function<bool()>& cancelled) {
  return ExportPicture(
      size, path, [&](QPainter& painter, const QRectF& area) { plot.Paint(painter, area, top, base); },
      cancelled);
}

CResult ExportPicture(QSize size, const QString& path,
                      const std::function<void(QPainter&, const QRectF&)>& paint,
                      const std::function<bool()>& cancelled) {
  auto fail = [](const QString& why) { return CResult::Failed(why.toLocal8Bit().toStdString()); };
  const std::optional<PlotFormat> format = PlotFormatOf(path);
  if (!format) return fail(QStringLiteral("the picture must be a .png, .svg or .pdf file"));
  if (size.width() < 1 || size.height() < 1) return fail(QStringLiteral("the picture has no size"));
  // Through the program's own replacement: every write checked, the system's reason kept.
  CPictureFile file(cancelled);
  if (CResult begun = file.Begin(path.toLocal8Bit().toStdString()); !begun.Ok()) return begun;
  if (cancelled && cancelled()) return CResult::Cancelled();
  const QRectF area(QPointF(0, 0), QSizeF(size));
  bool drawn = false;
  switch (*format) {
    case PlotFormat::Png: {
      QImage image(size, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      paint(painter, area);
      painter.end();
      drawn = image.save(&file, "PNG");
      break;
    }
    case PlotFormat::Svg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&file);
      svg.setSize(size);
      svg.setViewBox(area);
      svg.setTitle(QFileInfo(path).completeBaseName());
      QPainter painter;
      if (painter.begin(&svg)) {
        paint(painter, area);
        drawn = painter.end();
      }
      break;
    }
    case PlotFormat::Pdf: {
      QPdfWriter pdf(&file);
      pdf.setResolution(96);
      pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / 96.0, QPageSize::Point));
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setTitle(QFileInfo(path).completeBaseName());
      pdf.setCreator(QString::fromLatin1(kAppTitle));
      QPainter painter;
      if (painter.begin(&pdf)) {
        paint(painter, area);
        drawn = painter.end();
      }
      break;
    }
  }
  // A failed write is the reason, whatever the writer made of it.
  if (!drawn && file.Failure().Ok()) return fail(QStringLiteral("the picture could not be drawn"));
  return file.Commit();  // refused after a failed or cancelled write, with its reason
}

}  // namespace corvane
