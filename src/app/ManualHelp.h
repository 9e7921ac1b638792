#pragma once
// The help display of the running program: pages of the HTML manual in one help
// window, popups of its "ids.txt". Without a manual every request does nothing.
#include <QPointer>

#include "app/HelpDisplay.h"

namespace corvane {

class CHelpViewer;

class CManualHelp : public CHelpDisplay {
 public:
  explicit CManualHelp(QString helpFilePath);
  ~CManualHelp() override;

  void ShowTopic(QWidget* owner, const QString& topic) override;
  void ShowTopicNumber(QWidget* owner, unsigned topicNumber) override;
  void ShowPopup(QWidget* owner, unsigned topicNumber, const QPoint& globalPos) override;

  // The help window, once a page has been shown (null before, and after it was closed).
  CHelpViewer* Viewer() const { return m_viewer; }

 private:
  void ShowPage(QWidget* owner, const QUrl& page);

  QString m_helpFilePath;
  QPointer<CHelpViewer> m_viewer;
};

}  // namespace corvane
