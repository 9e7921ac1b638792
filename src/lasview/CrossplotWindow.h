#pragma once
// The crossplot of a LAS file in a window of its own, a view of the file's session (the
// LAS window's): two curves against each other over a depth range (at first neutron
// porosity across, density up, coloured by gamma ray, where the file has them), as
// points or, for many readings, their density bin by bin. The rows are read again from
// the file in the background (CCrossplotJob) whenever the curves or the depths change.
//
// Linked to its LAS window through the session: while "Follow the log" is on, the
// depths are those the LAS window shows, and depths chosen here show there. The pointer
// reads both curves and the depth of the point under it (of a bin: its readings and
// their depths). The window closes with its session.
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "lasview/ChildWindow.h"
#include "lasview/CrossplotJob.h"
#include "lasview/JobStrip.h"
#include "lasview/LasSession.h"
#include "plotmodel/LasHeader.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace corvane {

class CDepthBoxes;
class CQueuedWake;
class CWindowDialogs;

class CCrossplotWindow : public QWidget, public CChildWindow, private CLasSessionObserver {
  Q_OBJECT
 public:
  CCrossplotWindow(CLasSession& session, CWindowDialogs& dialogs, QWidget* parent = nullptr);
  ~CCrossplotWindow() override;

  // The curves (by their place in ~C; none: no colour curve) and the depths shown.
  void SetCurves(std::size_t x, std::size_t y, std::optional<std::size_t> color);
  void SetDepthRange(double top, double base);
  bool FollowsLog() const;
  void SetFollowsLog(bool follow);
  double Top() const { return m_top; }
  double Base() const { return m_base; }
  // The crossplot drawn now; null before the first reading has ended.
  const CCrossplot* Crossplot() const { return m_job.Result(); }
  bool Reading() const { return m_job.Running(); }
  // Blocks until a reading under way has ended, then shows it (for an owner without
  // an event loop, and tests).
  void Wait();
  // What the pointer reads at a point of the plot; empty off the axes.
  QString ReadoutAt(const QPointF& point) const;
  // The session it shows; null once that has gone.
  CLasSession* Session() const { return m_session; }

  // CChildWindow
  QWidget* Widget() override { return this; }
  const QObject* Document() const override { return this; }
  QString Title() const override;
  QString PathName() const override { return m_path; }
  bool IsSameFile(const QString& path) const override;
  void Render(QPrinter& printer) override;
  std::optional<CSaveDialog> SaveDialog(SaveKind kind) const override;
  CResult Save(SaveKind kind, const QString& path) override;
  bool OffersNewWindow() const override { return false; }
  CChildWindow* NewWindow() override { return nullptr; }
  QString HelpTopic() const override;
  unsigned HelpResource() const override;
  QSize InitialSize(const QSize& area) const override;

 signals:
  void ReadoutChanged(const QString& text);

 private:
  class CCanvas;

  void OnSessionChanged(unsigned changes) override;
  void BuildWidgets();
  void TakeHeader();
  void TakeCurves();
  void ShowDepths();
  // Reads the crossplot of the curves and depths anew.
  void Restart();
  void TakeOutcome();
  void Detach();
  void PaintPlot(QPainter& painter, const QRectF& area) const;

  CLasSession* m_session;
  CWindowDialogs& m_dialogs;
  QString m_path;
  CQueuedWake* m_wake = nullptr;
  CCrossplotJob m_job;
  CLasHeader m_header;
  bool m_hasHeader = false;
  std::size_t m_x = 0;
  std::size_t m_y = 0;
  std::optional<std::size_t> m_color;
  double m_top = 0;
  double m_base = 0;
  bool m_follow = true;

  QComboBox* m_xBox = nullptr;
  QComboBox* m_yBox = nullptr;
  QComboBox* m_colorBox = nullptr;
  CDepthBoxes* m_depthBoxes = nullptr;
  QCheckBox* m_followBox = nullptr;
  QLabel* m_readout = nullptr;
  CCanvas* m_canvas = nullptr;
  CJobStrip m_strip;
};

}  // namespace corvane
