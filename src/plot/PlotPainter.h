#pragma once
// Draws a log plot onto any QPainter (a window, a QImage, a printer, a PDF or SVG
// file): a title line, the track headers (mnemonic, unit and scale ends of every
// curve), the depth track with its labels at its place among the tracks, the depth
// grid, the fills and the curves of the tracks between two depths. Colours, scales
// and what a fill shades come from the plot's model; nothing here needs a display.
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <string_view>
#include <vector>

#include "plotmodel/PlotLayout.h"
#include "plotmodel/PlotScales.h"

class QPainter;

namespace corvane {

class CCurveTracer;
class CLasData;
class CRowReader;

// Text of a LAS file (single-byte, the locale's encoding) for display.
QString PlotText(std::string_view text);
QColor ToQColor(CRgb color);

class CPlotPainter {
 public:
  struct COptions {
    bool title = true;      // the well and the file above the headers
    bool antialias = true;  // smooth lines (pictures and print)
    // Curves as filled pixel rows: the fastest for a window, no use for vectors.
    bool pixelSpans = false;
    // What a window keeps of its view between repaints (traced again only when the view
    // or the rows change); without one every paint traces its view afresh.
    CCurveTracer* tracer = nullptr;
    // Tracks wholly outside this band (in x) are not drawn; empty: all are.
    QRectF visible{};
  };

  // Where the parts of a plot go within an area.
  struct CGeometry {
    QRectF title;
    QRectF header;                         // the headers of the depth track and of the tracks
    QRectF body;                           // depths from top to base, the depth track included
    QRectF depthTrack;                     // the depth labels (body height)
    std::vector<QRectF> tracks;            // body height, one per shown track
    std::vector<std::size_t> layoutTrack;  // the layout's track of each
    double width = 0;                      // of the depth track and the tracks together
  };

  static constexpr double kDepthTrackWidth = 64;
  // No track without a width of its own is squeezed below this: the window scrolls and
  // a picture widens instead.
  static constexpr double kMinTrackWidth = 80;
  static constexpr double kMinTypedWidth = 24;

  // The caller holds the data's lock while it paints or asks for geometry.
  CPlotPainter(const CLasData& data, CRowReader* rows, const CPlotLayout& layout, const CPlotScales& scales,
               COptions options);
  CPlotPainter(const CLasData& data, CRowReader* rows, const CPlotLayout& layout, const CPlotScales& scales)
      : CPlotPainter(data, rows, layout, scales, COptions{}) {}

  CGeometry Geometry(const QRectF& area) const;
  // The width the plot takes in an area `width` wide: more when its tracks need it; in
  // whole pixels (the tracks' shares of the room add up to the width only within rounding).
  double NeededWidth(double width) const;
  int NeededPixels(int width) const;
  // The height of everything above the depths (title and headers).
  double HeaderHeight() const;
  // Draws the depths top..base (top < base) into `area`.
  void Paint(QPainter& painter, const QRectF& area, double top, double base) const;

  // The colour of a curve of a track of the layout.
  QColor Color(std::size_t track, std::size_t placeInTrack) const;

  static QFont Font();
  // A depth grid step that puts about `pixels` between labels.
  static double GridStep(double depthSpan, double height, double pixels = 60);

 private:
  void PaintTitle(QPainter& painter, const QRectF& rect) const;
  void PaintHeaders(QPainter& painter, const CGeometry& geometry) const;
  void PaintDepthGrid(QPainter& painter, const CGeometry& geometry, double top, double base) const;
  void PaintTrackGrid(QPainter& painter, const QRectF& rect, const CTrackScale& scale) const;
  void PaintFills(QPainter& painter, const CGeometry& geometry, CCurveTracer& tracer, double top,
                  double base) const;
  void PaintCurves(QPainter& painter, const CGeometry& geometry, CCurveTracer& tracer, double top,
                   double base) const;
  bool Shown(const QRectF& track) const;
  // A pixel row of a curve in the painter's coordinates: where its least and greatest
  // readings lie across the track, and its first and last (NaN for a null).
  struct CRowSpan {
    double y;
    double left;
    double right;
    double first;
    double last;
  };
  static void DrawPolyline(QPainter& painter, const std::vector<CRowSpan>& run);
  static void DrawSpans(QPainter& painter, const std::vector<CRowSpan>& run);
  // A reading alone between nulls: a short mark, where a line would be a dot.
  static void DrawMark(QPainter& painter, const CRowSpan& row, const QColor& color);
  // Header rows per curve: its title, then its scale ends.
  double CurveHeaderHeight() const { return 2 * m_line + 4; }

  const CLasData& m_data;
  CRowReader* m_rows;
  const CPlotLayout& m_layout;
  const CPlotScales& m_scales;
  COptions m_options;
  QFont m_font;
  QFontMetricsF m_metrics;
  double m_line;  // the height of a line of text
  std::vector<std::vector<CRgb>> m_colors;
};

}  // namespace corvane
