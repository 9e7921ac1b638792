#include "app/CorvaneView.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

#include "app/CorvaneDoc.h"
#include "app/HelpTopics.h"

namespace corvane {

CCorvaneView::CCorvaneView(std::shared_ptr<CCorvaneDoc> document, QWidget* parent)
    : QWidget(parent), m_document(std::move(document)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  setMinimumSize(120, 80);
  setWindowTitle(Title());
  connect(m_document.get(), &CCorvaneDoc::PathNameChanged, this, [this] { setWindowTitle(Title()); });
}

CCorvaneView::~CCorvaneView() = default;

void CCorvaneView::paintEvent(QPaintEvent*) {
  // The document has nothing to show: the background is the whole client area.
}

const QObject* CCorvaneView::Document() const { return m_document.get(); }

QString CCorvaneView::Title() const { return m_document->Title(); }

QString CCorvaneView::PathName() const { return m_document->PathName(); }

bool CCorvaneView::IsSameFile(const QString& path) const { return m_document->IsSameFile(path); }

QString CCorvaneView::HelpTopic() const { return QLatin1String(kMainHelpTopic); }

std::optional<CChildWindow::CSaveDialog> CCorvaneView::SaveDialog(SaveKind kind) const {
  if (kind != SaveKind::Document) return std::nullopt;
  return CSaveDialog{QStringLiteral("Save As"),
                     QStringLiteral("Header Files (*.lah);;All Files (*)"),
                     m_document->PathName(),
                     QStringLiteral("lah"),
                     QStringLiteral("Failed to save document."),
                     true};
}

CResult CCorvaneView::Save(SaveKind kind, const QString& path) {
  // The message says all there is to say: no reason stands below it.
  if (kind != SaveKind::Document || !m_document->OnSaveDocument(path)) return CResult::Failed("");
  return CResult::Done();
}

void CCorvaneView::Render(QPrinter& printer) {
  const QString pathName = PathName();
  if (printer.outputFormat() == QPrinter::PdfFormat && SameFileName(printer.outputFileName(), pathName))
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
