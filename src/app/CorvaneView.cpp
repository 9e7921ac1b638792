#include "app/CorvaneView.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

#include "app/CorvaneDoc.h"

namespace corvane {

CCorvaneView::CCorvaneView(CCorvaneDoc* document, QWidget* parent) : QWidget(parent), m_document(document) {
  setAttribute(Qt::WA_DeleteOnClose);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  setMinimumSize(120, 80);
}

void CCorvaneView::paintEvent(QPaintEvent*) {
  // The document has nothing to show: the background is the whole client area.
}

void CCorvaneView::Render(QPrinter& printer, const QString& pathName) {
  if (printer.outputFormat() == QPrinter::PdfFormat &&
      CCorvaneDoc::SameFile(printer.outputFileName(), pathName))
    return;  // printing never overwrites the configuration file
  const QString title = QFileInfo(pathName).fileName();
  QPainter painter;
  if (!painter.begin(&printer)) return;
  QFont font = painter.font();
  font.setPointSize(10);
  painter.setFont(font);
  painter.drawText(QRect(0, 0, painter.device()->width(), painter.fontMetrics().height() * 2),
                   Qt::AlignLeft | Qt::AlignTop, title);
  painter.end();
}

}  // namespace corvane
