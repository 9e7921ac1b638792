#include "plot/CrossplotPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "plot/PlotPainter.h"
#include "plotmodel/Crossplot.h"
#include "plotmodel/LasHeader.h"

namespace corvane {
namespace {

constexpr double kPadding = 6;
constexpr double kTickLength = 4;
constexpr double kBarWidth = 14;
const QColor kFrame(0x40, 0x40, 0x40);
const QColor kGrid(0xe0, 0xe0, 0xe0);
const QColor kPlainPoint(0x1f, 0x4e, 0x9c);
const QColor kNullColorPoint(0xa0, 0xa0, 0xa0);

// A step of 1, 2 or 5 times a power of ten that cuts `span` into at most `most` steps.
double NiceStep(double span, int most) {
  const double raw = span / most;
  const double decade = std::pow(10.0, std::floor(std::log10(raw)));
  for (double factor : {1.0, 2.0, 5.0, 10.0})
    if (decade * factor >= raw * (1 - 1e-9)) return decade * factor;
  return decade * 10;
}

QString TickText(double value, double step) {
  if (std::fabs(value) < step * 1e-9) value = 0;
  const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  return QString::number(value, 'f', decimals);
}

}  // namespace

CCrossplotPainter::CCrossplotPainter(const CCrossplot& plot, const CLasHeader& header,
                                     const QString& fileName)
    : m_plot(plot), m_header(header), m_fileName(fileName), m_font(CPlotPainter::Font()) {
  m_line = QFontMetricsF(m_font).height();
}

QString CCrossplotPainter::CurveName(std::size_t curve) const {
  if (curve >= m_header.curves.size()) return {};
  const CCurveInfo& info = m_header.curves[curve];
  const QString name = PlotText(info.mnemonic);
  return info.unit.empty() ? name : name + " (" + PlotText(info.unit) + ")";
}

bool CCrossplotPainter::HasBar() const { return !m_plot.ShowsPoints() || m_plot.Setup().color.has_value(); }

QRectF CCrossplotPainter::PlotArea(const QRectF& area) const {
  const double top = area.top() + m_line + 2 * kPadding + kPadding;
  const double left = area.left() + 2 * m_line + 52;
  const double right = area.right() - (HasBar() ? 2 * m_line + 64 : 3 * kPadding);
  const double bottom = area.bottom() - 3 * m_line - 2 * kPadding - kTickLength;
  return QRectF(QPointF(left, top), QPointF(std::max(left + 1, right), std::max(top + 1, bottom)));
}

std::pair<double, double> CCrossplotPainter::FractionsAt(const QRectF& area, const QPointF& point) const {
  const QRectF plot = PlotArea(area);
  return {(point.x() - plot.left()) / plot.width(), (plot.bottom() - point.y()) / plot.height()};
}

void CCrossplotPainter::Paint(QPainter& painter, const QRectF& area) const {
  painter.save();
  painter.fillRect(area, Qt::white);
  painter.setFont(m_font);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const CCrossplotSetup& setup = m_plot.Setup();

  // The title: the well, the file, the curves and the depths.
  QString title = PlotText(m_header.WellValue("WELL"));
  const QString unit = m_header.curves.empty() ? QString() : PlotText(m_header.curves.front().unit);
  QString what = PlotText(setup.x < m_header.curves.size() ? m_header.curves[setup.x].mnemonic : "") +
                 QStringLiteral(" against ") +
                 PlotText(setup.y < m_header.curves.size() ? m_header.curves[setup.y].mnemonic : "");
  if (setup.color && *setup.color < m_header.curves.size() && m_plot.ShowsPoints())
    what += QStringLiteral(", coloured by ") + PlotText(m_header.curves[*setup.color].mnemonic);
  // The depths of the readings taken, or those asked for when none fell in them.
  const auto depths = m_plot.RangeExtent().value_or(std::make_pair(setup.top, setup.base));
  what += QStringLiteral(", %1 to %2%3")
              .arg(QString::number(depths.first, 'g', 10), QString::number(depths.second, 'g', 10),
                   unit.isEmpty() ? QString() : QStringLiteral(" ") + unit);
  title = (title.isEmpty() ? m_fileName : title + QStringLiteral("   ") + m_fileName) +
          QStringLiteral("   ") + what;
  QFont bold = m_font;
  bold.setBold(true);
  painter.setFont(bold);
  painter.setPen(Qt::black);
  const QRectF titleRect(area.left() + kPadding, area.top(), area.width() - 2 * kPadding,
                         m_line + 2 * kPadding);
  painter.drawText(
      titleRect, Qt::AlignLeft | Qt::AlignVCenter,
      painter.fontMetrics().elidedText(title, Qt::ElideMiddle, static_cast<int>(titleRect.width())));
  painter.setFont(m_font);

  const QRectF plot = PlotArea(area);
  painter.setRenderHint(QPainter::Antialiasing, false);
  PaintAxis(painter, plot, false);
  PaintAxis(painter, plot, true);
  painter.save();
  painter.setClipRect(plot);
  if (m_plot.ShowsPoints())
    PaintPoints(painter, plot);
  else
    PaintDensity(painter, plot);
  painter.restore();
  painter.setPen(QPen(kFrame, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);
  if (HasBar()) PaintBar(painter, QRectF(plot.right() + 2 * kPadding, plot.top(), kBarWidth, plot.height()));

  // What it shows.
  QString counts = QStringLiteral("%1 readings").arg(m_plot.Readings());
  if (m_plot.Outside() > 0) counts += QStringLiteral(", %1 beyond the axes").arg(m_plot.Outside());
  counts += m_plot.ShowsPoints() ? QStringLiteral("; points") : QStringLiteral("; density of the readings");
  painter.setPen(Qt::black);
  painter.drawText(QRectF(plot.left(), area.bottom() - m_line - kPadding, plot.width(), m_line),
                   Qt::AlignLeft | Qt::AlignVCenter, counts);
  painter.restore();
}

void CCrossplotPainter::PaintAxis(QPainter& painter, const QRectF& plot, bool vertical) const {
  const CCrossplotSetup& setup = m_plot.Setup();
  const CTrackScale& axis = vertical ? setup.yAxis : setup.xAxis;
  const double length = vertical ? plot.height() : plot.width();
  auto place = [&](double value) {
    const double fraction = axis.Fraction(value);
    return vertical ? plot.bottom() - fraction * length : plot.left() + fraction * length;
  };
  auto line = [&](double at, const QColor& color) {
    if (vertical)
      painter.fillRect(QRectF(plot.left(), std::floor(at), plot.width(), 1), color);
    else
      painter.fillRect(QRectF(std::floor(at), plot.top(), 1, plot.height()), color);
  };
  auto label = [&](double at, const QString& text) {
    painter.setPen(Qt::black);
    if (vertical) {
      painter.fillRect(QRectF(plot.left() - kTickLength, std::floor(at), kTickLength, 1), kFrame);
      painter.drawText(QRectF(plot.left() - 60, at - m_line / 2, 60 - kTickLength - 2, m_line),
                       Qt::AlignRight | Qt::AlignVCenter, text);
    } else {
      painter.fillRect(QRectF(std::floor(at), plot.bottom(), 1, kTickLength), kFrame);
      painter.drawText(QRectF(at - 40, plot.bottom() + kTickLength, 80, m_line), Qt::AlignCenter, text);
    }
  };
  const double low = std::min(axis.Left(), axis.Right());
  const double high = std::max(axis.Left(), axis.Right());
  if (axis.Log()) {
    for (double decade = std::pow(10.0, std::floor(std::log10(low) + 1e-9)); decade <= high * (1 + 1e-9);
         decade *= 10)
      for (int m = 1; m <= 9; ++m) {
        const double value = decade * m;
        if (value < low * (1 - 1e-9) || value > high * (1 + 1e-9)) continue;
        line(place(value), kGrid);
        if (m == 1) label(place(value), QString::number(value, 'g', 6));
      }
  } else if (high > low) {
    const double step = NiceStep(high - low, 8);
    for (double value = std::ceil(low / step - 1e-9) * step; value <= high + step * 1e-9; value += step) {
      line(place(value), kGrid);
      label(place(value), TickText(value, step));
    }
  }
  // The curve's name along the axis.
  const QString name = CurveName(vertical ? setup.y : setup.x);
  painter.setPen(Qt::black);
  if (vertical) {
    painter.save();
    painter.translate(plot.left() - 60 - m_line, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -m_line / 2, plot.height(), m_line), Qt::AlignCenter, name);
    painter.restore();
  } else {
    painter.drawText(QRectF(plot.left(), plot.bottom() + kTickLength + m_line + 2, plot.width(), m_line),
                     Qt::AlignCenter, name);
  }
}

void CCrossplotPainter::PaintPoints(QPainter& painter, const QRectF& plot) const {
  const CCrossplotSetup& setup = m_plot.Setup();
  for (const CCrossplot::CPoint& point : m_plot.Points()) {
    const double fx = setup.xAxis.Fraction(point.x);
    const double fy = setup.yAxis.Fraction(point.y);
    if (!(fx >= 0 && fx <= 1 && fy >= 0 && fy <= 1)) continue;
    QColor color = kPlainPoint;
    if (setup.color)
      color = std::isnan(point.color) ? kNullColorPoint
                                      : ToQColor(RampColor(setup.colorScale.Fraction(point.color)));
    const double x = plot.left() + fx * plot.width();
    const double y = plot.bottom() - fy * plot.height();
    painter.fillRect(QRectF(std::floor(x) - 1, std::floor(y) - 1, 3, 3), color);
  }
}

void CCrossplotPainter::PaintDensity(QPainter& painter, const QRectF& plot) const {
  const double most = std::log1p(static_cast<double>(m_plot.MostInBin()));
  const double width = plot.width() / CCrossplot::kBins;
  const double height = plot.height() / CCrossplot::kBins;
  for (int row = 0; row < CCrossplot::kBins; ++row)
    for (int column = 0; column < CCrossplot::kBins; ++column) {
      const std::uint32_t count = m_plot.Count(column, row);
      if (count == 0) continue;
      const double fraction = most > 0 ? std::log1p(static_cast<double>(count)) / most : 1;
      // Whole pixels, so that neighbouring bins meet without a seam.
      const double left = std::floor(plot.left() + column * width);
      const double right = std::floor(plot.left() + (column + 1) * width);
      const double bottom = std::floor(plot.bottom() - row * height);
      const double top = std::floor(plot.bottom() - (row + 1) * height);
      painter.fillRect(QRectF(left, top, std::max(1.0, right - left), std::max(1.0, bottom - top)),
                       ToQColor(RampColor(fraction)));
    }
}

void CCrossplotPainter::PaintBar(QPainter& painter, const QRectF& bar) const {
  const CCrossplotSetup& setup = m_plot.Setup();
  const int steps = std::max(1, static_cast<int>(bar.height()));
  for (int i = 0; i < steps; ++i)
    painter.fillRect(QRectF(bar.left(), bar.bottom() - i - 1, bar.width(), 1),
                     ToQColor(RampColor((i + 0.5) / steps)));
  painter.setPen(QPen(kFrame, 1));
  painter.drawRect(bar);
  QString low;
  QString high;
  QString name;
  if (m_plot.ShowsPoints()) {
    low = QString::number(setup.colorScale.ValueAt(0), 'g', 4);
    high = QString::number(setup.colorScale.ValueAt(1), 'g', 4);
    name = CurveName(*setup.color);
  } else {
    low = QStringLiteral("1");
    high = QString::number(m_plot.MostInBin());
    name = QStringLiteral("readings per bin");
  }
  painter.setPen(Qt::black);
  const double x = bar.right() + 3;
  painter.drawText(QRectF(x, bar.top(), 60, m_line), Qt::AlignLeft | Qt::AlignTop, high);
  painter.drawText(QRectF(x, bar.bottom() - m_line, 60, m_line), Qt::AlignLeft | Qt::AlignBottom, low);
  painter.save();
  painter.translate(x + m_line + 24, bar.center().y());
  painter.rotate(90);
  painter.drawText(QRectF(-bar.height() / 2, -m_line / 2, bar.height(), m_line), Qt::AlignCenter, name);
  painter.restore();
}

}  // namespace corvane
