#include "plot/PlotPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "platform/File.h"
#include "plotmodel/CurveTracer.h"
#include "plotmodel/LasData.h"

namespace corvane {
namespace {

const QColor kMajorGrid(0xa8, 0xa8, 0xa8);
const QColor kMinorGrid(0xe0, 0xe0, 0xe0);
const QColor kFrame(0x40, 0x40, 0x40);
constexpr double kPadding = 3;

// The texts of a curve's scale ends, as precise as the width of its track lets both
// stand side by side: four significant digits, then three, then whole numbers.
std::pair<QString, QString> ScaleEndTexts(const CTrackScale& scale, double width,
                                          const QFontMetricsF& metrics) {
  auto text = [](double value, int digits) {
    if (digits == 0)
      return std::fabs(value) >= 1 ? QString::number(std::round(value), 'f', 0)
                                   : QString::number(value, 'g', 1);
    return QString::number(value, 'g', digits);
  };
  std::pair<QString, QString> ends;
  for (int digits : {4, 3, 0}) {
    ends = {text(scale.Left(), digits), text(scale.Right(), digits)};
    if (metrics.horizontalAdvance(ends.first) + metrics.horizontalAdvance(ends.second) + 6 <= width)
      return ends;
  }
  // Still too wide: each end in its half, cut short, so that they never overlap.
  const double half = std::max(0.0, (width - 6) / 2);
  return {metrics.elidedText(ends.first, Qt::ElideRight, half),
          metrics.elidedText(ends.second, Qt::ElideRight, half)};
}

// A curve's name as its header shows it: "GR (GAPI)".
QString CurveTitle(const CCurveInfo& curve) {
  const QString name = PlotText(curve.mnemonic);
  return curve.unit.empty() ? name : name + " (" + PlotText(curve.unit) + ")";
}

// A line of the grid: a rectangle one unit wide (much cheaper to fill than a line is
// to stroke, and as sharp).
void GridLine(QPainter& painter, const QPointF& from, const QPointF& to, const QColor& color) {
  painter.fillRect(QRectF(from, to + QPointF(from.x() == to.x() ? 1 : 0, from.y() == to.y() ? 1 : 0)), color);
}

}  // namespace

QString PlotText(std::string_view text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QColor ToQColor(CRgb color) { return QColor(color.r, color.g, color.b); }

CPlotPainter::CPlotPainter(const CLasData& data, CRowReader* rows, const CPlotLayout& layout,
                           const CPlotScales& scales, COptions options)
    : m_data(data),
      m_rows(rows),
      m_layout(layout),
      m_scales(scales),
      m_options(options),
      m_font(Font()),
      m_metrics(m_font),
      m_line(m_metrics.height()) {
  const CLasHeader& header = m_data.Header();
  m_colors = TrackColors(
      m_layout, m_layout.families.size() == header.curves.size() ? m_layout.families : FamiliesOf(header));
}

QFont CPlotPainter::Font() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

QColor CPlotPainter::Color(std::size_t track, std::size_t placeInTrack) const {
  if (track >= m_colors.size() || placeInTrack >= m_colors[track].size()) return Qt::black;
  return ToQColor(m_colors[track][placeInTrack]);
}

double CPlotPainter::GridStep(double depthSpan, double height, double pixels) {
  if (!(depthSpan > 0) || !(height > 0)) return 1;
  const double raw = depthSpan * pixels / height;
  const double decade = std::pow(10.0, std::floor(std::log10(raw)));
  for (double factor : {1.0, 2.0, 5.0})
    if (decade * factor >= raw) return decade * factor;
  return decade * 10;
}

CPlotPainter::CGeometry CPlotPainter::Geometry(const QRectF& area) const {
  CGeometry g;
  double y = area.top();
  if (m_options.title) {
    g.title = QRectF(area.left(), y, area.width(), m_line + 2 * kPadding);
    y = g.title.bottom();
  }
  std::size_t mostCurves = 1;
  for (const CTrack& track : m_layout.tracks)
    if (!track.hidden) mostCurves = std::max(mostCurves, track.curves.size());
  // The body starts on a whole pixel, so that the curves' pixel rows are the picture's.
  const double bodyTop = std::ceil(y + static_cast<double>(mostCurves) * CurveHeaderHeight() + 2 * kPadding);
  const double bodyHeight = std::max(0.0, area.bottom() - bodyTop);

  // Tracks of a width of their own keep it; the others share the rest of the room, each
  // at least kMinTrackWidth wide.
  double fixed = kDepthTrackWidth;
  std::size_t sharing = 0;
  for (const CTrack& track : m_layout.tracks) {
    if (track.hidden) continue;
    if (track.width)
      fixed += std::max(kMinTypedWidth, *track.width);
    else
      ++sharing;
  }
  const double share =
      sharing == 0 ? 0 : std::max(kMinTrackWidth, (area.width() - fixed) / static_cast<double>(sharing));
  double x = area.left();
  auto placeDepthTrack = [&] {
    g.depthTrack = QRectF(x, bodyTop, kDepthTrackWidth, bodyHeight);
    x += kDepthTrackWidth;
  };
  for (std::size_t t = 0; t < m_layout.tracks.size(); ++t) {
    if (t == m_layout.depthTrack) placeDepthTrack();
    const CTrack& track = m_layout.tracks[t];
    if (track.hidden) continue;
    const double width = track.width ? std::max(kMinTypedWidth, *track.width) : share;
    g.tracks.emplace_back(x, bodyTop, width, bodyHeight);
    g.layoutTrack.push_back(t);
    x += width;
  }
  if (m_layout.depthTrack >= m_layout.tracks.size()) placeDepthTrack();
  g.width = x - area.left();
  // The headers and the body as wide as the tracks, or the area when it is wider.
  const double width = std::max(area.width(), g.width);
  g.header = QRectF(area.left(), y, width, bodyTop - y);
  g.body = QRectF(area.left(), bodyTop, width, bodyHeight);
  return g;
}

double CPlotPainter::NeededWidth(double width) const {
  return std::max(width, Geometry(QRectF(0, 0, width, 100)).width);
}

int CPlotPainter::NeededPixels(int width) const {
  return static_cast<int>(std::ceil(NeededWidth(width) - 1e-6));
}

double CPlotPainter::HeaderHeight() const { return Geometry(QRectF(0, 0, 100, 100)).body.top(); }

bool CPlotPainter::Shown(const QRectF& track) const {
  return m_options.visible.isEmpty() ||
         (track.right() >= m_options.visible.left() && track.left() <= m_options.visible.right());
}

void CPlotPainter::Paint(QPainter& painter, const QRectF& area, double top, double base) const {
  painter.save();
  painter.setFont(m_font);
  painter.setRenderHint(QPainter::Antialiasing, m_options.antialias);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(area, Qt::white);
  const CGeometry geometry = Geometry(area);
  if (m_options.title) PaintTitle(painter, geometry.title);
  PaintHeaders(painter, geometry);
  if (base > top && geometry.body.height() > 0) {
    std::optional<CCurveTracer> own;
    CCurveTracer& tracer = m_options.tracer != nullptr ? *m_options.tracer : own.emplace(m_data, m_rows);
    tracer.SetView(top, base, static_cast<int>(std::ceil(geometry.body.height())));
    PaintFills(painter, geometry, tracer, top, base);
    PaintDepthGrid(painter, geometry, top, base);
    for (std::size_t i = 0; i < geometry.tracks.size(); ++i) {
      const std::vector<CTrackScale>& scales = m_scales[geometry.layoutTrack[i]];
      if (!scales.empty() && Shown(geometry.tracks[i]))
        PaintTrackGrid(painter, geometry.tracks[i], scales.front());
    }
    PaintCurves(painter, geometry, tracer, top, base);
  }
  // Frames last, over the grid and the curves' ends.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(kFrame, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(geometry.depthTrack.left(), geometry.header.top(), geometry.depthTrack.width(),
                          geometry.header.height() + geometry.body.height()));
  for (const QRectF& track : geometry.tracks)
    painter.drawRect(QRectF(track.left(), geometry.header.top(), track.width(),
                            geometry.header.height() + track.height()));
  painter.drawLine(QPointF(geometry.header.left(), geometry.header.bottom()),
                   QPointF(geometry.header.left() + geometry.width, geometry.header.bottom()));
  painter.restore();
}

void CPlotPainter::PaintTitle(QPainter& painter, const QRectF& rect) const {
  const CLasHeader& header = m_data.Header();
  QString title = PlotText(header.WellValue("WELL"));
  const QString file = PlotText(BaseNameOf(m_data.Path()));
  title = title.isEmpty() ? file : title + "   " + file;
  QFont bold = m_font;
  bold.setBold(true);
  painter.setFont(bold);
  painter.setPen(Qt::black);
  painter.drawText(rect.adjusted(kPadding, 0, -kPadding, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   painter.fontMetrics().elidedText(title, Qt::ElideMiddle,
                                                    static_cast<int>(rect.width() - 2 * kPadding)));
  painter.setFont(m_font);
}

void CPlotPainter::PaintHeaders(QPainter& painter, const CGeometry& g) const {
  const CLasHeader& header = m_data.Header();
  const double line = m_line;
  painter.setPen(Qt::black);
  const QRectF depthHeader(g.depthTrack.left(), g.header.top(), g.depthTrack.width(), g.header.height());
  if (!header.curves.empty()) {
    painter.drawText(
        QRectF(depthHeader.left(), depthHeader.bottom() - 2 * line - kPadding, depthHeader.width(), line),
        Qt::AlignCenter, PlotText(header.curves.front().mnemonic));
    painter.drawText(
        QRectF(depthHeader.left(), depthHeader.bottom() - line - kPadding, depthHeader.width(), line),
        Qt::AlignCenter, PlotText(header.curves.front().unit));
  }
  for (std::size_t i = 0; i < g.tracks.size(); ++i) {
    if (!Shown(g.tracks[i])) continue;
    const CTrack& track = m_layout.tracks[g.layoutTrack[i]];
    const QRectF column(g.tracks[i].left() + kPadding, g.header.top() + kPadding,
                        g.tracks[i].width() - 2 * kPadding, g.header.height() - 2 * kPadding);
    for (std::size_t k = 0; k < track.curves.size(); ++k) {
      const std::size_t curve = track.curves[k].curve;
      const CTrackScale& scale = m_scales[g.layoutTrack[i]][k];
      const double y = column.top() + static_cast<double>(k) * CurveHeaderHeight();
      const QColor color = Color(g.layoutTrack[i], k);
      painter.setPen(color);
      const QRectF titleRect(column.left(), y, column.width(), line);
      painter.drawText(
          titleRect, Qt::AlignCenter,
          m_metrics.elidedText(CurveTitle(header.curves[curve]), Qt::ElideRight, column.width()));
      const QRectF endsRect(column.left(), y + line, column.width(), line);
      const auto [left, right] = ScaleEndTexts(scale, column.width(), m_metrics);
      painter.drawText(endsRect, Qt::AlignLeft | Qt::AlignVCenter, left);
      painter.drawText(endsRect, Qt::AlignRight | Qt::AlignVCenter, right);
      const double from = endsRect.left() + m_metrics.horizontalAdvance(left) + 3;
      const double to = endsRect.right() - m_metrics.horizontalAdvance(right) - 3;
      if (to > from) {
        painter.setPen(QPen(color, 1.5));
        painter.drawLine(QPointF(from, endsRect.center().y()), QPointF(to, endsRect.center().y()));
      }
    }
  }
}

void CPlotPainter::PaintDepthGrid(QPainter& painter, const CGeometry& g, double top, double base) const {
  const double span = base - top;
  const double step = GridStep(span, g.body.height());
  double minor = step / 5;
  if (minor / span * g.body.height() < 8) minor = step / 2;
  if (minor / span * g.body.height() < 8) minor = 0;
  auto yOf = [&](double depth) { return g.body.top() + (depth - top) / span * g.body.height(); };
  const double left = g.body.left();
  const double right = g.body.left() + g.width;
  painter.save();
  painter.setClipRect(g.body);
  painter.setRenderHint(QPainter::Antialiasing, false);
  // Across the tracks either side of the depth track; into it only the ticks.
  auto across = [&](double y, double tick, const QColor& color) {
    if (g.depthTrack.left() > left)
      GridLine(painter, QPointF(left, y), QPointF(g.depthTrack.left() + tick, y), color);
    if (right > g.depthTrack.right())
      GridLine(painter, QPointF(g.depthTrack.right() - tick, y), QPointF(right, y), color);
  };
  if (minor > 0)
    for (double d = std::ceil(top / minor) * minor; d <= base; d += minor) across(yOf(d), 0, kMinorGrid);
  const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  const double line = m_line;
  for (double d = std::ceil(top / step) * step; d <= base; d += step) {
    const double y = yOf(d);
    across(y, 6, kMajorGrid);
    if (y - line / 2 < g.body.top() || y + line / 2 > g.body.bottom()) continue;  // no half labels
    painter.setPen(Qt::black);
    painter.drawText(QRectF(g.depthTrack.left(), y - line / 2, g.depthTrack.width() - 9, line),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(d, 'f', decimals));
  }
  painter.restore();
}

void CPlotPainter::PaintTrackGrid(QPainter& painter, const QRectF& rect, const CTrackScale& scale) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  auto vertical = [&](double fraction, const QColor& color) {
    if (fraction <= 0.001 || fraction >= 0.999) return;
    const double x = rect.left() + fraction * rect.width();
    GridLine(painter, QPointF(x, rect.top()), QPointF(x, rect.bottom()), color);
  };
  if (scale.Log()) {
    const double low = std::min(scale.Left(), scale.Right());
    const double high = std::max(scale.Left(), scale.Right());
    for (double decade = std::pow(10.0, std::floor(std::log10(low))); decade <= high; decade *= 10)
      for (int m = 1; m <= 9; ++m) {
        const double value = decade * m;
        if (value >= low && value <= high) vertical(scale.Fraction(value), m == 1 ? kMajorGrid : kMinorGrid);
      }
  } else {
    for (int i = 1; i < 10; ++i) vertical(i / 10.0, i == 5 ? kMajorGrid : kMinorGrid);
  }
  painter.restore();
}

void CPlotPainter::PaintFills(QPainter& painter, const CGeometry& g, CCurveTracer& tracer, double top,
                              double base) const {
  const int pixels = static_cast<int>(std::ceil(g.body.height()));
  const double rowHeight = g.body.height() / pixels;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::NoPen);
  for (std::size_t i = 0; i < g.tracks.size(); ++i) {
    const QRectF& rect = g.tracks[i];
    const std::size_t t = g.layoutTrack[i];
    const CTrack& track = m_layout.tracks[t];
    if (!Shown(rect)) continue;
    auto scaleOf = [&](std::size_t curve) -> const CTrackScale* {
      for (std::size_t k = 0; k < track.curves.size(); ++k)
        if (track.curves[k].curve == curve) return &m_scales[t][k];
      return nullptr;
    };
    for (const CTrackFill& fill : track.fills) {
      const CTrackScale* scale = scaleOf(fill.curve);
      const CTrackScale* other = fill.kind == FillKind::Crossover ? scaleOf(fill.other) : scale;
      if (!fill.on || scale == nullptr || other == nullptr) continue;
      const std::vector<CFillSpan> spans = FillSpans(fill, tracer, *scale, *other, top, base, pixels);
      // Pixel rows one after the other make one outline, a step at every row.
      painter.setBrush(ToQColor(fill.color));
      QPolygonF outline;
      std::vector<QPointF> back;
      auto flush = [&] {
        if (outline.isEmpty()) return;
        for (auto point = back.rbegin(); point != back.rend(); ++point) outline << *point;
        painter.drawPolygon(outline);
        outline.clear();
        back.clear();
      };
      for (std::size_t k = 0; k < spans.size(); ++k) {
        if (k > 0 && spans[k].pixel != spans[k - 1].pixel + 1) flush();
        const double y = g.body.top() + static_cast<double>(spans[k].pixel) * rowHeight;
        const double from = rect.left() + spans[k].from * rect.width();
        const double to = rect.left() + spans[k].to * rect.width();
        outline << QPointF(from, y) << QPointF(from, y + rowHeight);
        back.emplace_back(to, y);
        back.emplace_back(to, y + rowHeight);
      }
      flush();
    }
  }
  painter.restore();
}

void CPlotPainter::PaintCurves(QPainter& painter, const CGeometry& g, CCurveTracer& tracer, double top,
                               double base) const {
  const double span = base - top;
  std::vector<CRowSpan> spans;
  for (std::size_t i = 0; i < g.tracks.size(); ++i) {
    const QRectF& rect = g.tracks[i];
    const CTrack& track = m_layout.tracks[g.layoutTrack[i]];
    if (!Shown(rect)) continue;
    painter.save();
    painter.setClipRect(rect);
    for (std::size_t k = 0; k < track.curves.size(); ++k) {
      const CTrackScale& scale = m_scales[g.layoutTrack[i]][k];
      auto xOf = [&](double value) {
        if (std::isnan(value)) return value;
        const double fraction = scale.Fraction(value);
        return rect.left() + std::clamp(std::isnan(fraction) ? 0.0 : fraction, 0.0, 1.0) * rect.width();
      };
      const QColor color = Color(g.layoutTrack[i], k);
      painter.setPen(QPen(color, 1));
      painter.setBrush(color);
      for (const CTraceRun& run : tracer.Trace(track.curves[k].curve)) {
        spans.clear();
        for (const CTracePoint& point : run) {
          const double lo = xOf(point.lo);
          const double hi = xOf(point.hi);
          spans.push_back({g.body.top() + (point.depth - top) / span * g.body.height(), std::min(lo, hi),
                           std::max(lo, hi), xOf(point.first), xOf(point.last)});
        }
        if (spans.size() == 1 && spans.front().right - spans.front().left < 3)
          DrawMark(painter, spans.front(), color);
        else if (m_options.pixelSpans)
          DrawSpans(painter, spans);
        else
          DrawPolyline(painter, spans);
      }
    }
    painter.restore();
  }
}

void CPlotPainter::DrawMark(QPainter& painter, const CRowSpan& row, const QColor& color) {
  // Seven pixels across its pixel row, as sharp in a picture as on screen.
  painter.fillRect(QRectF(std::floor((row.left + row.right) / 2) - 3, std::floor(row.y), 7, 1), color);
}

void CPlotPainter::DrawPolyline(QPainter& painter, const std::vector<CRowSpan>& run) {
  // In each pixel row from its first reading across its least and greatest to its last,
  // the shorter way round; on to the first reading of the next.
  QPolygonF line;
  auto add = [&line](double x, double y) {
    if (line.isEmpty() || line.back() != QPointF(x, y)) line << QPointF(x, y);
  };
  for (const CRowSpan& row : run) {
    double enter = row.first;
    double exit = row.last;
    // A run's ends may be nulls: the span is crossed from its far end then.
    auto farFrom = [&row](double x) {
      return std::fabs(row.left - x) >= std::fabs(row.right - x) ? row.left : row.right;
    };
    if (std::isnan(enter) && std::isnan(exit)) {
      enter = row.left;
      exit = row.right;
    } else if (std::isnan(enter)) {
      enter = farFrom(exit);
    } else if (std::isnan(exit)) {
      exit = farFrom(enter);
    }
    const bool leftFirst = std::fabs(enter - row.left) + std::fabs(row.right - exit) <=
                           std::fabs(enter - row.right) + std::fabs(row.left - exit);
    add(enter, row.y);
    add(leftFirst ? row.left : row.right, row.y);
    add(leftFirst ? row.right : row.left, row.y);
    add(exit, row.y);
  }
  if (line.size() == 1)
    painter.drawLine(line.front() - QPointF(1, 0), line.front() + QPointF(1, 0));
  else if (line.size() > 1)
    painter.drawPolyline(line);
}

void CPlotPainter::DrawSpans(QPainter& painter, const std::vector<CRowSpan>& run) {
  // Each pixel row filled from its least to its greatest reading. The join to the next
  // pixel row fills what the line between them would: half way across in each. A join
  // over more pixel rows (close in) is drawn as that line.
  struct CRow {
    long row;
    double lo, hi;
  };
  std::vector<CRow> rows;
  rows.reserve(run.size());
  QVector<QLineF> jumps;
  double carried = std::numeric_limits<double>::quiet_NaN();  // the half of a join in the next row
  for (std::size_t i = 0; i < run.size(); ++i) {
    const CRowSpan& point = run[i];
    const auto row = static_cast<long>(std::floor(point.y));
    if (rows.empty() || rows.back().row != row) rows.push_back({row, point.left, point.right});
    CRow& current = rows.back();
    current.lo = std::min(current.lo, point.left);
    current.hi = std::max(current.hi, point.right);
    if (!std::isnan(carried)) {
      current.lo = std::min(current.lo, carried);
      current.hi = std::max(current.hi, carried);
      carried = std::numeric_limits<double>::quiet_NaN();
    }
    if (i + 1 == run.size()) break;
    const CRowSpan& next = run[i + 1];
    const auto nextRow = static_cast<long>(std::floor(next.y));
    if (std::abs(nextRow - row) > 1) {
      jumps.append(QLineF(point.last, point.y, next.first, next.y));
    } else if (nextRow != row) {
      carried = (point.last + next.first) / 2;
      current.lo = std::min(current.lo, carried);
      current.hi = std::max(current.hi, carried);
    }
  }
  QVector<QRectF> rects;
  rects.reserve(static_cast<qsizetype>(rows.size()));
  for (const CRow& row : rows)
    rects.append(QRectF(std::floor(row.lo), static_cast<double>(row.row),
                        std::floor(row.hi) - std::floor(row.lo) + 1, 1));
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.drawRects(rects);
  painter.restore();
  if (!jumps.isEmpty()) painter.drawLines(jumps);
}

}  // namespace corvane
