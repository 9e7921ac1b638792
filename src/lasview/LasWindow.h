#pragma once
// The window of a LAS file in the main window's document area, a view of its session
// (CLasSession): its log plot (with the depth range box, a scroll bar and the track
// panel), its header sections and the findings of the LAS check. The session reads the
// file on a thread of its own; the plot draws what has arrived while a bar with Cancel
// shows how far the reading is. The check runs once the plot has read the file (or at
// once when its pane is opened first), so that the two do not share the machine.
//
// Tests reach the session through Session() and the controls by their object names.
#include <QString>
#include <QWidget>
#include <memory>

#include "lasview/ChildWindow.h"
#include "lasview/JobStrip.h"
#include "lasview/LasSession.h"
#include "lasview/LasWindowHelp.h"

class QLineEdit;
class QPrinter;
class QPushButton;
class QScrollBar;
class QTabWidget;

namespace corvane {

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

 private:
  void BuildWidgets();
  void OnSessionChanged(unsigned changes) override;
  void ShowView();
  void OnScrolled(int value);
  void TakeDepthBox();
  void SaveTemplateAs();

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
  QLineEdit* m_topBox = nullptr;
  QLineEdit* m_baseBox = nullptr;
  QScrollBar* m_scroll = nullptr;
  CJobStrip m_strip;
};

}  // namespace corvane
