#pragma once
// The window of a LAS file in the main window's document area: its log plot (with
// the depth range box, a scroll bar and the track panel), its header sections and the
// findings of the LAS check. The file is read on a thread of its own into decimated
// curves; the plot draws what has arrived while a bar with Cancel shows how far the
// reading is. The check runs on another thread once the plot has read the file (or
// at once when its pane is opened first), so that the two do not share the machine.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <thread>

#include "app/JobStrip.h"
#include "plot/LasData.h"
#include "plot/PlotLayout.h"
#include "plot/PlotPainter.h"
#include "plot/RowReader.h"
#include "plot/SharedProgress.h"

class QLabel;
class QLineEdit;
class QPrinter;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QSplitter;
class QTabWidget;
class QTimer;

namespace corvane {

class CLasCheckPane;
class CLasHeaderView;
class CPlotCanvas;
class CShellDialogs;
class CTrackPanel;

class CLasWindow : public QWidget {
  Q_OBJECT
 public:
  // `templateDir` holds the plot templates (see PlotSettings.h).
  CLasWindow(const QString& path, CShellDialogs& dialogs, const QString& templateDir,
             QWidget* parent = nullptr);
  ~CLasWindow() override;

  // Starts reading the file. False (with the reason) when it cannot be opened at all.
  bool Open(QString* error);
  QString PathName() const { return m_path; }
  QString Title() const;
  bool IsSameFile(const QString& path) const;

  // Another pane beside the plot, the header and the check.
  void AddPane(QWidget* pane, const QString& title);

  // Draws the plot of the view on one page of `printer`; a PDF is never written over
  // the LAS file.
  void Render(QPrinter& printer);
  // The plot of the view as a PNG, SVG or PDF picture of the plot's size on screen;
  // false with the reason.
  bool SavePlot(const QString& path, QString* error);
  // Writes the plot settings beside the LAS file / as a template; false with the reason.
  bool SaveSettings(QString* error);
  bool SaveTemplate(const QString& path, QString* error);
  // The settings file that the tracks came from when the file was opened; empty for the defaults.
  QString SettingsSource() const { return m_settingsSource; }

  // Reads the job's progress and the new rows now (a timer does it while loading).
  void Poll();
  bool Loading() const;

  CLasData& Data() { return *m_data; }
  CPlotLayout& Layout() { return m_layout; }
  const CPlotScales& Scales() const { return m_scales; }
  CPlotCanvas* Canvas() const { return m_canvas; }
  CTrackPanel* TrackPanel() const { return m_tracks; }
  CLasHeaderView* HeaderView() const { return m_header; }
  CLasCheckPane* CheckPane() const { return m_checkPane; }
  QTabWidget* Panes() const { return m_tabs; }
  QLineEdit* TopBox() const { return m_topBox; }
  QLineEdit* BaseBox() const { return m_baseBox; }
  QPushButton* ShowButton() const { return m_showButton; }
  QPushButton* WholeButton() const { return m_wholeButton; }
  QScrollBar* DepthScrollBar() const { return m_scroll; }
  QProgressBar* ProgressBar() const { return m_strip.Bar(); }
  QLabel* ProgressLabel() const { return m_strip.Label(); }
  QPushButton* CancelButton() const { return m_strip.Cancel(); }

 signals:
  void ReadoutChanged(const QString& text);
  // The file could not be read (no curves, no data section, a read error).
  void LoadFailed(const QString& reason);

 private:
  void BuildWidgets();
  void OnHeaderArrived();
  void OnLayoutChanged();
  void OnViewChanged(double top, double base);
  void OnScrolled(int value);
  void TakeDepthBox();
  // A line of the file shown by the check's pane: the plot moves to its row.
  void OnCheckLineShown(quint64 line);

  QString m_path;
  CShellDialogs& m_dialogs;
  QString m_templateDir;
  std::unique_ptr<CLasData> m_data;
  std::unique_ptr<CRowReader> m_rows;
  CSharedProgress m_progress;
  std::thread m_loader;
  CPlotLayout m_layout;
  CPlotScales m_scales;
  QString m_settingsSource;
  unsigned m_generation = 0;
  bool m_headerShown = false;
  bool m_finished = false;

  QTabWidget* m_tabs = nullptr;
  CPlotCanvas* m_canvas = nullptr;
  CTrackPanel* m_tracks = nullptr;
  CLasHeaderView* m_header = nullptr;
  CLasCheckPane* m_checkPane = nullptr;
  QLineEdit* m_topBox = nullptr;
  QLineEdit* m_baseBox = nullptr;
  QPushButton* m_showButton = nullptr;
  QPushButton* m_wholeButton = nullptr;
  QScrollBar* m_scroll = nullptr;
  CJobStrip m_strip;
  QTimer* m_poll = nullptr;
};

}  // namespace corvane
