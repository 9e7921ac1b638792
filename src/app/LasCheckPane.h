#pragma once
// The LAS window's pane of the LAS check: the file is checked on a thread of its own
// (a bar with Cancel shows how far), then the counts and what the file holds stand
// above a table of the findings (severity, code, line, reason, section of the
// standard, the offending text). Choosing a finding shows its line of the file with
// the lines around it, read again from the file through the index of lines that the
// check's pass left; the file is never held whole.
#include <QString>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "app/JobStrip.h"
#include "lasfile/LasLineIndex.h"
#include "lasfile/LasReport.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace corvane {

class CSharedProgress;

class CLasCheckPane : public QWidget {
  Q_OBJECT
 public:
  // Lines shown before and after the line of a finding.
  static constexpr int kContextLines = 10;
  // Characters shown of a line.
  static constexpr std::size_t kMaxShownLength = 2000;

  explicit CLasCheckPane(const QString& path, QWidget* parent = nullptr);
  ~CLasCheckPane() override;

  // Starts the check, unless it runs or has run; Check Again starts it anew.
  void Start();
  bool Started() const { return m_started; }
  bool Running() const { return m_job.joinable(); }
  // Reads the job's progress and, once it has ended, its report (a timer does it
  // while the check runs).
  void Poll();
  // The report of the last check that ended; null before.
  const CLasReport* Report() const { return m_report.get(); }

  // Shows line `line` (1-based) of the file amid its neighbours, selected; false when
  // the file cannot be read there.
  bool ShowLine(std::uint64_t line);
  // Shows the line of the finding in row `row` of the table.
  void ShowFinding(int row);
  // Adds to the words above the lines shown ("Line 132 of well.las; ...").
  void AddLineNote(const QString& note);

  QLabel* CountsLabel() const { return m_counts; }
  QLabel* SummaryLabel() const { return m_summary; }
  QTableWidget* Table() const { return m_table; }
  QLabel* LineLabel() const { return m_lineLabel; }
  QPlainTextEdit* LineView() const { return m_lines; }
  QProgressBar* ProgressBar() const { return m_strip.Bar(); }
  QLabel* ProgressLabel() const { return m_strip.Label(); }
  QPushButton* CancelButton() const { return m_strip.Cancel(); }
  QPushButton* AgainButton() const { return m_again; }

 signals:
  // A line of the file is shown (the window moves its plot to the line's row).
  void LineShown(quint64 line);
  // The check has ended (done, cancelled or failed to read); Report() holds it.
  void Finished();

 private:
  void BuildWidgets();
  void ShowReport();

  QString m_path;
  // The job's side: filled on the thread, taken once it has been joined.
  struct COutcome {
    CLasReport report;
    CLasLineIndex index;
  };
  std::unique_ptr<COutcome> m_outcome;
  std::unique_ptr<CSharedProgress> m_progress;
  std::atomic<bool> m_done{false};
  std::thread m_job;
  bool m_started = false;

  std::unique_ptr<CLasReport> m_report;
  CLasLineIndex m_index;

  QLabel* m_counts = nullptr;
  QLabel* m_summary = nullptr;
  QTableWidget* m_table = nullptr;
  QLabel* m_lineLabel = nullptr;
  QPlainTextEdit* m_lines = nullptr;
  CJobStrip m_strip;
  QPushButton* m_again = nullptr;
  QTimer* m_poll = nullptr;
};

}  // namespace corvane
