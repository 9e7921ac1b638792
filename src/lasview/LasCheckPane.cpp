#include "lasview/LasCheckPane.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

#include "lasfile/LasReportFormat.h"
#include "platform/FileError.h"
#include "plot/PlotPainter.h"
#include "wizard/LasCreationFeedback.h"

namespace corvane {
namespace {

enum Column { kSeverity, kCode, kLine, kReason, kStandard, kText, kColumns };

// Bytes of the file as the check's text report shows them: characters outside ASCII as
// <TAB>, <CR>, <0xB0> and the like.
QString Shown(std::string_view bytes) { return QString::fromLatin1(PrintableText(bytes)); }

QString SeverityText(LasSeverity severity) {
  switch (severity) {
    case LasSeverity::Error:
      return QStringLiteral("Error");
    case LasSeverity::Warning:
      return QStringLiteral("Warning");
    case LasSeverity::Note:
      break;
  }
  return QStringLiteral("Note");
}

}  // namespace

CLasCheckPane::CLasCheckPane(CLasSession& session, QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_path(QFile::decodeName(QByteArray::fromStdString(session.Path()))) {
  BuildWidgets();
  m_session.AddObserver(this);
}

CLasCheckPane::~CLasCheckPane() { m_session.RemoveObserver(this); }

void CLasCheckPane::BuildWidgets() {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(4, 4, 4, 4);
  auto* top = new QHBoxLayout;
  m_counts = new QLabel(QStringLiteral("The file is checked once the plot has read it."), this);
  m_counts->setObjectName(QStringLiteral("checkCounts"));
  top->addWidget(m_counts);
  top->addStretch(1);
  m_strip.AddTo(this, top, "check");
  m_strip.Cancel()->setStatusTip(
      QStringLiteral("Stop the LAS check; the findings of the lines checked so far stay"));
  m_again = new QPushButton(QStringLiteral("Check Again"), this);
  m_again->setObjectName(QStringLiteral("checkAgain"));
  m_again->setStatusTip(QStringLiteral("Check the file again as it is now"));
  m_again->setAutoDefault(false);
  top->addWidget(m_again);
  m_strip.Ended();
  m_again->hide();
  box->addLayout(top);
  m_summary = new QLabel(this);
  m_summary->setObjectName(QStringLiteral("checkSummary"));
  m_summary->setWordWrap(true);
  m_summary->setTextFormat(Qt::PlainText);
  m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  box->addWidget(m_summary);

  auto* split = new QSplitter(Qt::Vertical, this);
  m_table = new QTableWidget(0, kColumns, split);
  m_table->setObjectName(QStringLiteral("findings"));
  m_table->setHorizontalHeaderLabels({QStringLiteral("Severity"), QStringLiteral("Code"),
                                      QStringLiteral("Line"), QStringLiteral("Reason"),
                                      QStringLiteral("Standard"), QStringLiteral("Text")});
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->setWordWrap(false);
  m_table->verticalHeader()->setVisible(false);
  m_table->horizontalHeader()->setStretchLastSection(true);
  m_table->setStatusTip(
      QStringLiteral("Click a finding, or press Enter on it, to show its line of the file"));

  auto* linePane = new QWidget(split);
  auto* lineBox = new QVBoxLayout(linePane);
  lineBox->setContentsMargins(0, 0, 0, 0);
  m_lineLabel = new QLabel(linePane);
  m_lineLabel->setObjectName(QStringLiteral("findingLine"));
  m_lineLabel->setTextFormat(Qt::PlainText);
  m_lines = new QPlainTextEdit(linePane);
  m_lines->setObjectName(QStringLiteral("findingLines"));
  m_lines->setReadOnly(true);
  m_lines->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_lines->setStatusTip(QStringLiteral("The lines of the file around the finding; its line is selected"));
  lineBox->addWidget(m_lineLabel);
  lineBox->addWidget(m_lines, 1);
  split->addWidget(m_table);
  split->addWidget(linePane);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  box->addWidget(split, 1);

  connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
    if (row >= 0) ShowFinding(row);
  });
  connect(m_table, &QTableWidget::cellActivated, this, [this](int row) { ShowFinding(row); });
  connect(m_strip.Cancel(), &QPushButton::clicked, this, [this] { m_session.Check().Cancel(); });
  connect(m_again, &QPushButton::clicked, this, [this] { m_session.CheckAgain(); });
}

void CLasCheckPane::OnSessionChanged(unsigned changes) {
  if (changes & SessionChange::kCheckStarted) {
    m_counts->setText(QStringLiteral("Checking the file..."));
    m_summary->clear();
    m_strip.Started();
    m_again->hide();
  }
  if (changes & SessionChange::kCheckProgress) m_strip.Show(m_session.Check().Progress());
  if (changes & SessionChange::kCheckEnded) {
    m_strip.Show(m_session.Check().Progress());
    ShowReport();
  }
  // Read anew: the findings of the old file go.
  if ((changes & SessionChange::kFile) && !m_session.FileChanged() && !m_session.Check().Report()) {
    m_strip.Ended();
    m_strip.Label()->clear();
    m_again->hide();
    m_table->setRowCount(0);
    m_summary->clear();
    m_lines->clear();
    m_lineLabel->clear();
    m_counts->setText(QStringLiteral("The file is checked once the plot has read it."));
  }
}

void CLasCheckPane::ShowReport() {
  const CLasReport& report = *m_session.Check().Report();
  m_strip.Ended();
  m_again->show();
  m_strip.Label()->setText(
      report.cancelled
          ? QStringLiteral("Check cancelled: the findings of the lines checked so far are shown.")
          : QString());
  m_counts->setText(LasCheckSummary(report));
  QString summary = Shown(FormatLasSummaryLine(report.summary));
  QStringList unlisted;
  for (std::size_t i = 0; i < kLasCodeCount; ++i) {
    const CLasRule& rule = LasRules()[i];
    if (const std::size_t more = report.Unlisted(rule.code); more > 0)
      unlisted.append(
          QStringLiteral("%1 more %2").arg(more).arg(QLatin1String(rule.name.data(), rule.name.size())));
  }
  if (!unlisted.isEmpty())
    summary += QStringLiteral("\nNot listed (the first %1 of each code are): %2")
                   .arg(CLasReport::kListedPerCode)
                   .arg(unlisted.join(QStringLiteral(", ")));
  m_summary->setText(summary);

  const QSignalBlocker block(m_table);
  m_table->clearContents();
  m_table->setRowCount(static_cast<int>(report.Findings().size()));
  int row = 0;
  for (const CLasFinding& finding : report.Findings()) {
    const CLasRule& rule = LasRule(finding.code);
    const QString cells[kColumns] = {
        SeverityText(finding.severity),
        QLatin1String(rule.name.data(), rule.name.size()),
        finding.line == 0 ? QStringLiteral("file") : QString::number(finding.line),
        Shown(finding.reason),
        QString::fromStdString(finding.section),
        Shown(finding.text)};
    for (int column = 0; column < kColumns; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column == kReason) item->setToolTip(cells[column]);
      if (column == kLine) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_table->setItem(row, column, item);
    }
    ++row;
  }
  m_table->resizeColumnsToContents();
  m_table->setColumnWidth(kReason, std::min(m_table->columnWidth(kReason), 480));
  m_lineLabel->setText(report.Findings().empty()
                           ? QString()
                           : QStringLiteral("Choose a finding to see its line of the file."));
  m_lines->clear();
}

void CLasCheckPane::ShowFinding(int row) {
  const CLasReport* report = m_session.Check().Report();
  if (!report || row < 0 || row >= static_cast<int>(report->Findings().size())) return;
  const CLasFinding& finding = report->Findings()[static_cast<std::size_t>(row)];
  if (finding.line == 0) {
    m_lines->clear();
    m_lineLabel->setText(QStringLiteral("The finding is about the file as a whole."));
    return;
  }
  ShowLine(finding.line);
}

void CLasCheckPane::AddLineNote(const QString& note) {
  m_lineLabel->setText(m_lineLabel->text() + QStringLiteral("; ") + note);
}

bool CLasCheckPane::ShowLine(std::uint64_t line) {
  const std::uint64_t first = line > kContextLines ? line - kContextLines : 1;
  std::vector<std::string> lines;
  try {
    lines = m_session.ReadLines(first, line + kContextLines, kMaxShownLength + 1);
  } catch (const CFileError& error) {
    m_lines->clear();
    m_lineLabel->setText(
        QStringLiteral("Line %1 cannot be read: %2").arg(line).arg(QString::fromLocal8Bit(error.what())));
    return false;
  }
  if (line - first >= lines.size()) {
    m_lines->clear();
    m_lineLabel->setText(QStringLiteral("Line %1 is past the end of the file as it is now.").arg(line));
    return false;
  }
  const int width = static_cast<int>(QString::number(first + lines.size() - 1).size());
  QStringList shown;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string& text = lines[i];
    const bool cut = text.size() > kMaxShownLength;
    if (cut) text.resize(kMaxShownLength);
    shown.append(QStringLiteral("%1  ").arg(first + i, width) + Shown(text) +
                 (cut ? QStringLiteral(" ...") : QString()));
  }
  m_lines->setPlainText(shown.join(QLatin1Char('\n')));
  // The line selected from after its number to its end, and in view.
  const QTextBlock block = m_lines->document()->findBlockByNumber(static_cast<int>(line - first));
  QTextCursor cursor(block);
  cursor.setPosition(block.position() + width + 2);
  cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
  m_lines->setTextCursor(cursor);
  m_lines->centerCursor();
  m_lineLabel->setText(QStringLiteral("Line %1 of %2").arg(line).arg(QFileInfo(m_path).fileName()));
  // The plot moves to the line's row.
  if (const auto at = m_session.ShowLine(line)) {
    QString unit;
    {
      auto lock = m_session.Data().Lock();
      unit = PlotText(m_session.Data().Header().curves.front().unit);
    }
    AddLineNote(QStringLiteral("row %1 of the plot, at %2%3")
                    .arg(at->row + 1)
                    .arg(QString::number(at->depth, 'g', 10))
                    .arg(unit.isEmpty() ? QString() : QStringLiteral(" ") + unit));
  }
  return true;
}

}  // namespace corvane
