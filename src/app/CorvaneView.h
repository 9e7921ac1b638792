#pragma once
// The view of a configuration document: an empty client area. Printing it gives a
// page headed by the document's name. A document has as many views as the user opens
// (Window > New Window) and goes with the last of them.
#include <QWidget>
#include <memory>

#include "lasview/ChildWindow.h"

class QPrinter;

namespace corvane {

class CCorvaneDoc;

// The resource number that context help knows the document windows by.
inline constexpr unsigned kDocumentHelpResource = 3;

class CCorvaneView : public QWidget, public CChildWindow {
  Q_OBJECT
 public:
  explicit CCorvaneView(std::shared_ptr<CCorvaneDoc> document, QWidget* parent = nullptr);
  ~CCorvaneView() override;
  CCorvaneDoc* Doc() const { return m_document.get(); }

  // CChildWindow
  QWidget* Widget() override { return this; }
  const QObject* Document() const override;
  QString Title() const override;
  QString PathName() const override;
  bool IsSameFile(const QString& path) const override;
  // A page headed by the file's name; a print into that file itself writes nothing.
  void Render(QPrinter& printer) override;
  std::optional<CSaveDialog> SaveDialog(SaveKind kind) const override;
  CResult Save(SaveKind kind, const QString& path) override;
  bool OffersNewWindow() const override { return true; }
  CChildWindow* NewWindow() override { return new CCorvaneView(m_document); }
  QString HelpTopic() const override;
  unsigned HelpResource() const override { return kDocumentHelpResource; }
  QSize InitialSize(const QSize&) const override { return {480, 320}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::shared_ptr<CCorvaneDoc> m_document;
};

}  // namespace corvane
