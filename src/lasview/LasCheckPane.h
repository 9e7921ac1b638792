#pragma once
// The LAS window's pane of the LAS check, a view of its session: while the file is
// checked in the background a bar with Cancel shows how far; then the counts and what
// the file holds stand above a table of the findings (severity, code, line, reason,
// section of the standard, the offending text). Choosing a finding shows its line of
// the file with the lines around it, read again from the file through the index of
// lines that the check's pass left (the file is never held whole), and moves the plot
// to its row.
#include <QString>
#include <QWidget>
#include <cstdint>

#include "lasview/JobStrip.h"
#include "lasview/LasSession.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace corvane {

class CLasCheckPane : public QWidget, private CLasSessionObserver {
  Q_OBJECT
 public:
  // Lines shown before and after the line of a finding.
  static constexpr int kContextLines = 10;
  // Characters shown of a line.
  static constexpr std::size_t kMaxShownLength = 2000;

  explicit CLasCheckPane(CLasSession& session, QWidget* parent = nullptr);
  ~CLasCheckPane() override;

  // Shows line `line` (1-based) of the file amid its neighbours, selected; false when
  // the file cannot be read there.
  bool ShowLine(std::uint64_t line);
  // Shows the line of the finding in row `row` of the table.
  void ShowFinding(int row);

 private:
  void OnSessionChanged(unsigned changes) override;
  void BuildWidgets();
  void ShowReport();
  // Adds to the words above the lines shown ("Line 132 of well.las; ...").
  void AddLineNote(const QString& note);

  CLasSession& m_session;
  QString m_path;
  QLabel* m_counts = nullptr;
  QLabel* m_summary = nullptr;
  QTableWidget* m_table = nullptr;
  QLabel* m_lineLabel = nullptr;
  QPlainTextEdit* m_lines = nullptr;
  CJobStrip m_strip;
  QPushButton* m_again = nullptr;
};

}  // namespace corvane
