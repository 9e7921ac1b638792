#include "app/ManualHelp.h"

#include <QUrl>
#include <QWidget>

#include "app/HelpPopup.h"
#include "app/HelpTopics.h"
#include "app/HelpViewer.h"

namespace corvane {

CManualHelp::CManualHelp(QString helpFilePath) : m_helpFilePath(std::move(helpFilePath)) {}

CManualHelp::~CManualHelp() { delete m_viewer.data(); }

void CManualHelp::ShowTopic(QWidget* owner, const QString& topic) {
  ShowPage(owner, ResolveHelpTopic(m_helpFilePath, topic));
}

void CManualHelp::ShowTopicNumber(QWidget* owner, unsigned topicNumber) {
  ShowPage(owner, ResolveTopicNumber(m_helpFilePath, topicNumber));
}

void CManualHelp::ShowPopup(QWidget* owner, unsigned topicNumber, const QPoint& globalPos) {
  const QString text = PopupText(m_helpFilePath, topicNumber);
  if (text.isEmpty()) return;
  auto* popup = new CHelpPopup(text, owner ? owner->window() : nullptr);
  popup->ShowAt(globalPos);
}

void CManualHelp::ShowPage(QWidget* owner, const QUrl& page) {
  if (page.isEmpty()) return;  // no manual, or no such page: help stays silent
  // The help window belongs to the window that asked, so that a modal wizard does not
  // block it; it goes when that window goes.
  QWidget* ownerWindow = owner ? owner->window() : nullptr;
  if (!m_viewer) {
    m_viewer = new CHelpViewer(ResolveHelpTopic(m_helpFilePath, QString()), ownerWindow);
  } else if (m_viewer->parentWidget() != ownerWindow) {
    const QRect geometry = m_viewer->geometry();
    m_viewer->setParent(ownerWindow, Qt::Window);
    m_viewer->setGeometry(geometry);
  }
  m_viewer->ShowPage(page);
  m_viewer->show();
  m_viewer->raise();
  m_viewer->activateWindow();
}

}  // namespace corvane
