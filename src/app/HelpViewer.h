#pragma once
// The help window of the application: the HTML manual in a text browser with
// Contents, Back and Forward.
#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace corvane {

class CHelpViewer : public QWidget {
  Q_OBJECT
 public:
  // `startPage` is the manual's start page (the Contents button returns to it).
  explicit CHelpViewer(const QUrl& startPage, QWidget* owner = nullptr);

  void ShowPage(const QUrl& page);
  QUrl CurrentPage() const;
  QTextBrowser* Browser() const { return m_browser; }

 private:
  QUrl m_startPage;
  QTextBrowser* m_browser;
};

}  // namespace corvane
