#include "lasview/LasHeaderView.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "plot/PlotPainter.h"
#include "plotmodel/LasHeader.h"

namespace corvane {

CLasHeaderView::CLasHeaderView(QWidget* parent) : QTabWidget(parent) { setDocumentMode(true); }

QString CLasHeaderView::SectionTitle(char letter, const QString& title) {
  switch (letter) {
    case 'V':
      return QStringLiteral("~V Version");
    case 'W':
      return QStringLiteral("~W Well");
    case 'C':
      return QStringLiteral("~C Curves");
    case 'P':
      return QStringLiteral("~P Parameters");
    case 'O':
      return QStringLiteral("~O Other");
    default:
      return QStringLiteral("~") + title.trimmed();
  }
}

void CLasHeaderView::ShowHeader(const CLasHeader& header) {
  while (count() > 0) {
    QWidget* page = widget(0);
    removeTab(0);
    delete page;
  }
  for (const CHeaderSection& section : header.sections) {
    const QString title = SectionTitle(section.letter, PlotText(section.title));
    if (section.letter == 'O') {
      auto* text = new QPlainTextEdit(this);
      text->setReadOnly(true);
      text->setLineWrapMode(QPlainTextEdit::NoWrap);
      text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
      QStringList lines;
      for (const std::string& line : section.text) lines.append(PlotText(line));
      text->setPlainText(lines.join(u'\n'));
      addTab(text, title);
      continue;
    }
    auto* table = new QTableWidget(static_cast<int>(section.entries.size()), 4, this);
    table->setHorizontalHeaderLabels(
        {QStringLiteral("Mnemonic"), QStringLiteral("Unit"),
         section.letter == 'C' ? QStringLiteral("API Code") : QStringLiteral("Value"),
         QStringLiteral("Description")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < table->rowCount(); ++row) {
      const CHeaderEntry& line = section.entries[static_cast<std::size_t>(row)];
      const std::string* cells[] = {&line.mnemonic, &line.unit, &line.value, &line.description};
      for (int column = 0; column < 4; ++column)
        table->setItem(row, column, new QTableWidgetItem(PlotText(*cells[column])));
    }
    table->resizeColumnsToContents();
    addTab(table, title);
  }
}

}  // namespace corvane
