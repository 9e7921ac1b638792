#pragma once
// The window of a LAS file in the main window's document area, a view of its session
// (CLasSession): its log plot (with the depth range box, a scroll bar and the track
// panel), its header sections and the findings of the LAS check. The session reads the
// file on a thread of its own; the plot draws what has arrived while a bar with Cancel
// shows how far the reading is. The check runs once the plot has read the file (or at
// once when its pane is opened first), so that the two do not share the machine.
//
// The bar above the plot says the depth scale of the screen ("Screen 1:437") and takes
// the scale that printing and Save Plot As draw at ("1:500"; "Fit to page": the view on
// one page, or the canvas's size). A watcher of the file's folder has the session
// compare the file on disk with the one read whenever something changes there; a file
// replaced or changed is said in a bar with Load Again. Crossplot opens a crossplot of
// the file, linked to this window through the session.
//
// Tests reach the session through Session() and the controls by their object names.
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "lasview/ChildWindow.h"
#include "lasview/JobStrip.h"
#include "lasview/LasSession.h"
#include "lasview/LasWindowHelp.h"

class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QScrollBar;
class QTabWidget;

namespace corvane {

class CCrossplotWindow;
class CDepthBoxes;
class CLasCheckPane;
class CLasHeaderView;
class CPlotCanvas;
class CQueuedWake;
class CTrackPanel;
class CWindowDialogs;

class CLasWindow : public QWidget, public CChildWindow, private CLasSessionObserver {
  Q_OBJECT
 public:
  // `templateDir` holds the plot templates (see PlotSettings.h).
  CLasWindow(const QString& path, CWindowDialogs& dialogs, const QString& templateDir,
             QWidget* parent = nullptr);
  ~CLasWindow() override;

  // Starts reading the file. Failed, with the reason alone (the caller names the file),
  // when it cannot be read at all.
  CResult Open();
  CLasSession& Session() { return *m_session; }
  // Another pane beside the plot, the header and the check.
  void AddPane(QWidget* pane, const QString& title);

  // The plot of the view as a PNG, SVG or PDF picture of the plot's size on screen.
  CResult SavePlot(const QString& path);
  // Writes the plot settings beside the LAS file / as a template.
  CResult SaveSettings();
  CResult SaveTemplate(const QString& path);
  // The settings file that the tracks came from when the file was opened; empty for the defaults.
  QString SettingsSource() const;

  // The scale that printing and pictures draw at (1:ratio); none: the view fits the page.
  std::optional<double> PrintRatio() const { return m_printRatio; }
  void SetPrintRatio(std::optional<double> ratio);
  // The depth scale of the plot on screen now; none before it has a depth range.
  std::optional<double> ScreenRatio() const;
  // The size of a picture of the view: the canvas's (at least 400 by 400, as wide as
  // the tracks need), or at the print ratio as high as the depths need.
  QSize PictureSize() const;
  // A crossplot window of the file (not yet in the document area; the shell is told
  // through CrossplotOpened and places it).
  CCrossplotWindow* OpenCrossplot();

  // CChildWindow
  QWidget* Widget() override { return this; }
  const QObject* Document() const override { return this; }
  QString Title() const override;
  QString PathName() const override { return m_path; }
  bool IsSameFile(const QString& path) const override;
  // The plot of the view on one page; a PDF is never written over the LAS file.
  void Render(QPrinter& printer) override;
  std::optional<CSaveDialog> SaveDialog(SaveKind kind) const override;
  CResult Save(SaveKind kind, const QString& path) override;
  bool OffersNewWindow() const override { return false; }
  CChildWindow* NewWindow() override { return nullptr; }
  QString HelpTopic() const override { return QLatin1String(kLasWindowHelpTopic); }
  unsigned HelpResource() const override { return kLasWindowHelpResource; }
  QSize InitialSize(const QSize& area) const override { return area.expandedTo(QSize(640, 480)); }

 signals:
  void ReadoutChanged(const QString& text);
  // The file could not be read (no curves, no data section, a read error).
  void LoadFailed(const QString& reason);
  void CrossplotOpened(CCrossplotWindow* window);

 private:
  void BuildWidgets();
  void OnSessionChanged(unsigned changes) override;
  void ShowView();
  void OnScrolled(int value);
  void SaveTemplateAs();
  void ShowScreenRatio();
  void ShowFileState();
  void UpdateTrackScroll();
  void TakePrintScale();

  QString m_path;
  CWindowDialogs& m_dialogs;
  QString m_templateDir;
  // The session's jobs wake the window through this; it outlives the session.
  CQueuedWake* m_wake = nullptr;
  std::unique_ptr<CLasSession> m_session;

  QTabWidget* m_tabs = nullptr;
  CPlotCanvas* m_canvas = nullptr;
  CLasHeaderView* m_header = nullptr;
  CLasCheckPane* m_checkPane = nullptr;
  CDepthBoxes* m_depthBoxes = nullptr;
  QScrollBar* m_scroll = nullptr;
  QScrollBar* m_trackScroll = nullptr;
  QComboBox* m_printScale = nullptr;
  QLabel* m_screenScale = nullptr;
  QWidget* m_changedBar = nullptr;
  QFileSystemWatcher* m_watcher = nullptr;
  std::optional<double> m_printRatio;
  CJobStrip m_strip;
};

}  // namespace corvane
