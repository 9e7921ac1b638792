#pragma once
// What the help routing of the application shows. The application decides which
// topic answers a request; a help display shows it. Tests record the requests.
#include <QPoint>
#include <QString>

class QWidget;

namespace corvane {

class CHelpDisplay {
 public:
  virtual ~CHelpDisplay() = default;
  // A topic string ("::/Corvane Version 10 Manual for HTML.htm#i>CORVANE") in the help window.
  virtual void ShowTopic(QWidget* owner, const QString& topic) = 0;
  // A context jump: the page of a topic number in the help window.
  virtual void ShowTopicNumber(QWidget* owner, unsigned topicNumber) = 0;
  // The popup text of a topic number at a point of the screen.
  virtual void ShowPopup(QWidget* owner, unsigned topicNumber, const QPoint& globalPos) = 0;
};

}  // namespace corvane
