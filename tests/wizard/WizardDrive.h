#pragma once
// Moves a wizard through its first pages the way a user does: the ASCII file
// through Step 1's file dialog, the marks in Step 2's lists, then Next.
#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <initializer_list>
#include <string>

#include "FakeServices.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/Step1Page.h"
#include "wizard/Step2Page.h"
#include "wizard/Step3Page.h"
#include "wizard/Step4Page.h"

namespace corvane::test {

inline std::string QtToStd(const QString& path) { return QFile::encodeName(path).toStdString(); }

inline QAbstractButton* FindButton(QWidget& root, const QString& text) {
  for (QAbstractButton* button : root.findChildren<QAbstractButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

inline void PressNext(CCorvanePropSheet& sheet) { QTest::mouseClick(sheet.NextButton(), Qt::LeftButton); }
inline void PressBack(CCorvanePropSheet& sheet) { QTest::mouseClick(sheet.BackButton(), Qt::LeftButton); }
inline void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

// Shows the sheet and chooses the ASCII file on Step 1, then moves on to Step 2.
inline bool OpenOnStep2(CCorvanePropSheet& sheet, CFakeServices& services, const QString& asciiPath) {
  sheet.show();
  if (!QTest::qWaitForWindowExposed(&sheet)) return false;
  QAbstractButton* chooser = FindButton(sheet.Step1(), QStringLiteral("ASCII File:"));
  if (chooser == nullptr) return false;
  services.openAnswers.push_back(asciiPath);
  Click(chooser);
  PressNext(sheet);
  return sheet.CurrentIndex() == 1;
}

// Marks the header rows and the first digit row of Step 2 (rows as the lists show
// them: the digits list starts with its ruler), gives the delimiter and leaves by Next.
inline bool MarkAndLeaveStep2(CCorvanePropSheet& sheet, std::initializer_list<int> headerRows, int digitRow,
                              const QString& delimiter = QStringLiteral("space")) {
  CStep2Page& step2 = sheet.Step2();
  step2.HeaderList()->clearSelection();
  for (int row : headerRows) step2.HeaderList()->item(row)->setSelected(true);
  step2.DigitsList()->setCurrentRow(digitRow);
  step2.ShowDelimiter(delimiter);
  PressNext(sheet);
  return sheet.CurrentIndex() == 2;
}

// Types into a line edit as the user does: select all, then the keys.
inline void TypeInto(QLineEdit* box, const QString& text) {
  box->setFocus();
  box->selectAll();
  if (text.isEmpty()) {
    QTest::keyClick(box, Qt::Key_Delete);
    return;
  }
  QTest::keyClicks(box, text);
}

}  // namespace corvane::test
