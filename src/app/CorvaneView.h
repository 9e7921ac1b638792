#pragma once
// The view of a configuration document: an empty client area. Printing it gives a
// page headed by the document's name.
#include <QPointer>
#include <QWidget>

class QPrinter;

namespace corvane {

class CCorvaneDoc;

class CCorvaneView : public QWidget {
  Q_OBJECT
 public:
  CCorvaneView(CCorvaneDoc* document, QWidget* parent = nullptr);
  CCorvaneDoc* Document() const { return m_document; }

  // Draws the printed form of the document of the file `pathName`: a page headed by the
  // file's name. A print into that file itself writes nothing.
  static void Render(QPrinter& printer, const QString& pathName);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPointer<CCorvaneDoc> m_document;
};

}  // namespace corvane
