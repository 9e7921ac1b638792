// The curve naming page on a file of 14 columns: the six-column window, the slots
// stored on every scroll and on Next, the check on Next, and how Back on either
// side keeps or refills the grid.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <memory>

#include "FakeServices.h"
#include "WizardDrive.h"

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr int kColumns = 14;
constexpr int kDataLines = 20;
const QString kNoCurveMessage =
    QStringLiteral("You must choose at least one curve by specifying its heading and unit.");

// Title line, a names line and a units line, then rows whose value in column c of
// row r is "c.r", so every sample box tells which column it shows.
QByteArray FourteenColumnFile() {
  QByteArray text = "Fourteen curve test well\r\n";
  QByteArray names = "DEPT";
  QByteArray units = "M";
  for (int c = 2; c <= kColumns; ++c) {
    names += " C" + QByteArray::number(c);
    units += " U" + QByteArray::number(c);
  }
  text += names + "\r\n" + units + "\r\n";
  for (int r = 1; r <= kDataLines; ++r) {
    QByteArray line;
    for (int c = 1; c <= kColumns; ++c) line += QByteArray::number(c) + "." + QByteArray::number(r) + " ";
    text += line + "\r\n";
  }
  return text;
}

}  // namespace

class Step3PageTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void ScrollsInWindowsOfSix();
  void ScrollingStoresTheVisibleColumns();
  void NextNeedsOneCurveWithHeadingAndUnits();
  void NextAcceptsACurveBeyondTheCurveTotal();
  void BackToStep2AndForwardRefillsFromColumnOne();
  void BackFromStep4KeepsTheWindow();
  void FailedGatheringNeverStoresStaleSlots();
  void TabOrderRunsDownEachColumn();
  void TextTypedIntoTheHeadingsBoxLastsUntilTheNextForwardEntry();
  void NewSetupIsProposed();
  void TypedTextIsKeptAndProposeReplacesIt();
  void UntouchedProposalFollowsNewMarks();
  void LoadedSetupIsShownAsSaved();

 private:
  CStep3Page& Page() { return m_sheet->Step3(); }
  // Marks `headerRows` (none: no curve is proposed) and the first data line on Step 2.
  void EnterStep3(std::initializer_list<int> headerRows = {});
  QStringList Labels();
  void ScrollNext() { Click(Page().NextColumnsButton()); }
  void ScrollPrevious() { Click(Page().PreviousColumnsButton()); }

  std::unique_ptr<QTemporaryDir> m_dir;
  QString m_ascii;
  std::unique_ptr<CFakeServices> m_services;
  std::unique_ptr<CCorvanePropSheet> m_sheet;
};

void Step3PageTest::init() {
  m_dir = std::make_unique<QTemporaryDir>();
  QVERIFY(m_dir->isValid());
  m_ascii = m_dir->filePath(QStringLiteral("fourteen.asc"));
  QFile file(m_ascii);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(FourteenColumnFile());
  file.close();
  m_services = std::make_unique<CFakeServices>();
  m_sheet = std::make_unique<CCorvanePropSheet>(nullptr, m_services.get());
}

void Step3PageTest::cleanup() {
  m_sheet.reset();
  m_services.reset();
  m_dir.reset();
}

void Step3PageTest::EnterStep3(std::initializer_list<int> headerRows) {
  QVERIFY(OpenOnStep2(*m_sheet, *m_services, m_ascii));
  QVERIFY(MarkAndLeaveStep2(*m_sheet, headerRows, 4));
  QCOMPARE(m_sheet->Setup().firstDigitLineIndex, 3);
}

QStringList Step3PageTest::Labels() {
  QStringList labels;
  for (int i = 0; i < CStep3Page::kSlots; ++i) labels << Page().ColumnLabel(i)->text();
  return labels;
}

void Step3PageTest::ScrollsInWindowsOfSix() {
  EnterStep3({1, 2});
  QCOMPARE(Page().CurveTotalBox()->text(), QStringLiteral("14"));
  QCOMPARE(m_sheet->Setup().CurveTotal(), kColumns);
  QVERIFY(Page().HeadingsBox()->toPlainText().startsWith(QStringLiteral("DEPT C2")));
  QCOMPARE(Labels(), QStringList({"1", "2", "3", "4", "5", "6"}));
  QVERIFY(Page().SamplesBox(0)->toPlainText().startsWith(QStringLiteral("1.1\n1.2\n")));
  QVERIFY(Page().SamplesBox(5)->toPlainText().startsWith(QStringLiteral("6.1\n")));

  // "<" at the first window does nothing.
  ScrollPrevious();
  QCOMPARE(Page().FirstVisibleColumn(), 0);
  QCOMPARE(Labels(), QStringList({"1", "2", "3", "4", "5", "6"}));

  ScrollNext();
  QCOMPARE(Page().FirstVisibleColumn(), 6);
  QCOMPARE(Labels(), QStringList({"7", "8", "9", "10", "11", "12"}));
  QVERIFY(Page().SamplesBox(2)->toPlainText().startsWith(QStringLiteral("9.1\n")));

  ScrollNext();
  QCOMPARE(Labels(), QStringList({"13", "14", "", "", "", ""}));
  QVERIFY(Page().SamplesBox(1)->toPlainText().startsWith(QStringLiteral("14.1\n")));
  for (int i = 2; i < CStep3Page::kSlots; ++i) {
    QVERIFY(Page().HeadingBox(i)->text().isEmpty());
    QVERIFY(Page().UnitsBox(i)->text().isEmpty());
    QVERIFY(Page().SamplesBox(i)->toPlainText().isEmpty());
  }

  // ">" at the last window does nothing.
  ScrollNext();
  QCOMPARE(Page().FirstVisibleColumn(), 12);
  QCOMPARE(Labels(), QStringList({"13", "14", "", "", "", ""}));

  ScrollPrevious();
  ScrollPrevious();
  QCOMPARE(Labels(), QStringList({"1", "2", "3", "4", "5", "6"}));
  QVERIFY(m_services->boxes.empty());
}

void Step3PageTest::ScrollingStoresTheVisibleColumns() {
  EnterStep3();
  ScrollNext();
  TypeInto(Page().HeadingBox(2), QStringLiteral("GR"));
  TypeInto(Page().UnitsBox(2), QStringLiteral("GAPI"));
  TypeInto(Page().ApiCodeBox(2), QStringLiteral("45 310 01 00"));
  TypeInto(Page().DescriptionBox(2), QStringLiteral("Gamma ray"));
  ScrollPrevious();

  const CCurveDef& column9 = m_sheet->Setup().curves.at(8);
  QCOMPARE(column9, (CCurveDef{"GR", "GAPI", "45 310 01 00", "Gamma ray"}));
  QVERIFY(Page().HeadingBox(2)->text().isEmpty());  // column 3 shows its own (empty) heading

  ScrollNext();
  QCOMPARE(Page().HeadingBox(2)->text(), QStringLiteral("GR"));
  QCOMPARE(Page().UnitsBox(2)->text(), QStringLiteral("GAPI"));
  QCOMPARE(Page().DescriptionBox(2)->text(), QStringLiteral("Gamma ray"));

  // Only the columns that exist are stored from the last, partly empty window.
  ScrollNext();
  TypeInto(Page().HeadingBox(1), QStringLiteral("LAST"));
  TypeInto(Page().HeadingBox(3), QStringLiteral("NONE"));
  ScrollPrevious();
  QCOMPARE(m_sheet->Setup().curves.at(13).heading, std::string("LAST"));
  QCOMPARE(m_sheet->Setup().curves.size(), std::size_t(kColumns));
}

void Step3PageTest::NextNeedsOneCurveWithHeadingAndUnits() {
  EnterStep3();
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 2);
  QCOMPARE(m_services->BoxTexts(), QStringList{kNoCurveMessage});
  QCOMPARE(m_services->boxes.back().icon, CWizardServices::Icon::None);
  QVERIFY(m_services->boxes.back().caption.isEmpty() ||
          m_services->boxes.back().caption == QStringLiteral("Corvane"));

  // A heading without units in every visible column is not enough.
  for (int i = 0; i < CStep3Page::kSlots; ++i) TypeInto(Page().HeadingBox(i), QStringLiteral("H%1").arg(i));
  TypeInto(Page().UnitsBox(4), QStringLiteral("M"));
  TypeInto(Page().HeadingBox(4), QString());
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 2);
  QCOMPARE(m_services->boxes.size(), std::size_t(2));
  QCOMPARE(m_sheet->Setup().curves.at(0).heading, std::string("H0"));  // Next stored the slots

  // Heading and units in one column typed after scrolling pass.
  ScrollNext();
  ScrollNext();
  TypeInto(Page().HeadingBox(1), QStringLiteral("SP"));
  TypeInto(Page().UnitsBox(1), QStringLiteral("MV"));
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);
  QCOMPARE(m_sheet->Mark(), MoveMark::Next);
  QCOMPARE(m_sheet->Setup().curves.at(13), (CCurveDef{"SP", "MV", "", ""}));
  QCOMPARE(m_services->boxes.size(), std::size_t(2));
}

void Step3PageTest::NextAcceptsACurveBeyondTheCurveTotal() {
  // Left from an earlier, wider layout: entry 20 names a curve of no column now.
  m_sheet->Setup().curves.resize(20);
  m_sheet->Setup().curves[19] = CCurveDef{"OLD", "UNIT", "", ""};
  EnterStep3();
  QCOMPARE(m_sheet->Setup().curves.size(), std::size_t(20));  // grown lists are never shrunk
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);
  QVERIFY(m_services->boxes.empty());
}

void Step3PageTest::BackToStep2AndForwardRefillsFromColumnOne() {
  EnterStep3();
  ScrollNext();
  TypeInto(Page().HeadingBox(0), QStringLiteral("STORED"));
  TypeInto(Page().UnitsBox(0), QStringLiteral("U"));
  ScrollNext();
  ScrollPrevious();
  TypeInto(Page().HeadingBox(1), QStringLiteral("LOST"));  // typed after the last scroll
  PressBack(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 1);
  QCOMPARE(m_sheet->Mark(), MoveMark::Back);
  QCOMPARE(m_sheet->Setup().curves.at(7).heading, std::string());  // Back does not store

  PressNext(*m_sheet);  // Step 2 keeps its marks and records them again
  QCOMPARE(m_sheet->CurrentIndex(), 2);
  QCOMPARE(Page().FirstVisibleColumn(), 0);
  QCOMPARE(Labels(), QStringList({"1", "2", "3", "4", "5", "6"}));
  QVERIFY(Page().SamplesBox(0)->toPlainText().startsWith(QStringLiteral("1.1\n")));
  ScrollNext();
  QCOMPARE(Page().HeadingBox(0)->text(), QStringLiteral("STORED"));
  QVERIFY(Page().HeadingBox(1)->text().isEmpty());
}

void Step3PageTest::BackFromStep4KeepsTheWindow() {
  EnterStep3();
  ScrollNext();
  TypeInto(Page().HeadingBox(1), QStringLiteral("NPHI"));
  TypeInto(Page().UnitsBox(1), QStringLiteral("V/V"));
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);

  // Step 4 lets the user go back only with its file names chosen.
  m_services->saveAnswers = {m_dir->filePath(QStringLiteral("fourteen.lah")),
                             m_dir->filePath(QStringLiteral("fourteen.las"))};
  Click(m_sheet->Step4().ConfigFileButton());
  Click(m_sheet->Step4().LasFileButton());
  PressBack(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 2);
  QCOMPARE(Page().FirstVisibleColumn(), 6);
  QCOMPARE(Labels(), QStringList({"7", "8", "9", "10", "11", "12"}));
  QCOMPARE(Page().HeadingBox(1)->text(), QStringLiteral("NPHI"));
  QCOMPARE(Page().UnitsBox(1)->text(), QStringLiteral("V/V"));
  QVERIFY(Page().SamplesBox(1)->toPlainText().startsWith(QStringLiteral("8.1\n")));
  QCOMPARE(Page().CurveTotalBox()->text(), QStringLiteral("14"));
}

void Step3PageTest::FailedGatheringNeverStoresStaleSlots() {
  EnterStep3();
  for (int i = 0; i < CStep3Page::kSlots; ++i) {
    TypeInto(Page().HeadingBox(i), QStringLiteral("A%1").arg(i + 1));
    TypeInto(Page().UnitsBox(i), QStringLiteral("U"));
  }
  ScrollNext();
  for (int i = 0; i < CStep3Page::kSlots; ++i)
    TypeInto(Page().HeadingBox(i), QStringLiteral("B%1").arg(i + 7));
  ScrollPrevious();
  ScrollNext();  // columns 7 to 12 on screen, everything stored
  PressBack(*m_sheet);

  // The file goes away while the user is on Step 2.
  QVERIFY(QFile::remove(m_ascii));
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 2);
  QCOMPARE(m_services->BoxTexts(), QStringList{QStringLiteral("Failed to open ASCII file.")});
  QCOMPARE(m_services->boxes.back().icon, CWizardServices::Icon::Error);
  QCOMPARE(Page().FirstVisibleColumn(), 0);
  for (int i = 0; i < CStep3Page::kSlots; ++i) QVERIFY(Page().HeadingBox(i)->text().isEmpty());
  // The total shown is the one of the last gathering that succeeded.
  QCOMPARE(Page().CurveTotalBox()->text(), QStringLiteral("14"));

  PressNext(*m_sheet);  // the curves typed before still pass the check
  QCOMPARE(m_sheet->CurrentIndex(), 3);
  for (int i = 0; i < CStep3Page::kSlots; ++i) {
    QCOMPARE(m_sheet->Setup().curves.at(i).heading, QStringLiteral("A%1").arg(i + 1).toStdString());
    QCOMPARE(m_sheet->Setup().curves.at(i + 6).heading, QStringLiteral("B%1").arg(i + 7).toStdString());
  }
}

void Step3PageTest::TabOrderRunsDownEachColumn() {
  EnterStep3();
  QApplication::setActiveWindow(m_sheet.get());
  QVERIFY(QTest::qWaitForWindowActive(m_sheet.get()));
  Page().HeadingBox(0)->setFocus();
  const QList<QWidget*> expected = {Page().UnitsBox(0), Page().ApiCodeBox(0), Page().DescriptionBox(0),
                                    Page().HeadingBox(1), Page().UnitsBox(1)};
  for (QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), next);
  }
  QCOMPARE(Page().SamplesBox(0)->focusPolicy(), Qt::ClickFocus);
  QCOMPARE(Page().HeadingsBox()->focusPolicy(), Qt::ClickFocus);
  QVERIFY(Page().CurveTotalBox()->isReadOnly());
  QCOMPARE(Page().NextColumnsButton()->focusPolicy(), Qt::NoFocus);
}

void Step3PageTest::TextTypedIntoTheHeadingsBoxLastsUntilTheNextForwardEntry() {
  EnterStep3({1, 2});
  const QString gathered = Page().HeadingsBox()->toPlainText();
  QVERIFY(gathered.startsWith(QStringLiteral("DEPT C2")));
  Page().HeadingsBox()->setFocus();
  Page().HeadingsBox()->moveCursor(QTextCursor::End);
  QTest::keyClicks(Page().HeadingsBox(), QStringLiteral("NOTE"));
  QCOMPARE(Page().HeadingsBox()->toPlainText(), gathered + QStringLiteral("NOTE"));

  // Scrolling takes every box and shows it again: the typed text stays on screen.
  ScrollNext();
  QCOMPARE(Page().HeadingsBox()->toPlainText(), gathered + QStringLiteral("NOTE"));
  QCOMPARE(m_sheet->Setup().headingsText, std::string("DEPT C2 C3 C4 C5 C6 C7 C8 C9 C10 C11 C12 C13 C14\r\n"
                                                      "M U2 U3 U4 U5 U6 U7 U8 U9 U10 U11 U12 U13 U14\r\n"));

  // Entering forward again shows the marked header lines, nothing typed.
  PressBack(*m_sheet);
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 2);
  QCOMPARE(Page().HeadingsBox()->toPlainText(), gathered);
}

void Step3PageTest::NewSetupIsProposed() {
  EnterStep3({1, 2});
  QCOMPARE(Page().HeadingBox(0)->text(), QStringLiteral("DEPT"));
  QCOMPARE(Page().UnitsBox(0)->text(), QStringLiteral("M"));
  QCOMPARE(Page().DescriptionBox(0)->text(), QStringLiteral("Depth"));
  QCOMPARE(Page().HeadingBox(1)->text(), QStringLiteral("C2"));
  QCOMPARE(Page().UnitsBox(1)->text(), QStringLiteral("U2"));
  // C13 is a caliper's name.
  QCOMPARE(
      Page().ProposalLine()->text(),
      QStringLiteral("Proposed: 14 curves named from lines 2 and 3; DEPT is the index; 12 names not in the "
                     "dictionary"));
  QCOMPARE(m_sheet->Setup().curves.at(13), (CCurveDef{"C14", "U14", "", ""}));
  // The proposal is enough to go on.
  PressNext(*m_sheet);
  QCOMPARE(m_sheet->CurrentIndex(), 3);
  QVERIFY(m_services->boxes.empty());
}

void Step3PageTest::TypedTextIsKeptAndProposeReplacesIt() {
  EnterStep3();
  QCOMPARE(Page().ProposalLine()->text(), QStringLiteral("Nothing proposed: no heading lines are marked."));
  TypeInto(Page().HeadingBox(0), QStringLiteral("MINE"));
  TypeInto(Page().ApiCodeBox(0), QStringLiteral("45 310 01 00"));
  ScrollNext();  // stores what was typed
  PressBack(*m_sheet);
  QVERIFY(MarkAndLeaveStep2(*m_sheet, {1, 2}, 4));
  QCOMPARE(Page().HeadingBox(0)->text(), QStringLiteral("MINE"));
  QVERIFY(Page().HeadingBox(1)->text().isEmpty());
  QVERIFY(Page().ProposalLine()->text().isEmpty());

  // Propose, asked for, names every column; the API code typed stays.
  ScrollNext();
  TypeInto(Page().HeadingBox(0), QStringLiteral("SEVEN"));
  Click(Page().ProposeButton());
  QCOMPARE(Page().FirstVisibleColumn(), 6);
  QCOMPARE(Page().HeadingBox(0)->text(), QStringLiteral("C7"));
  QCOMPARE(m_sheet->Setup().curves.at(0), (CCurveDef{"DEPT", "M", "45 310 01 00", "Depth"}));
  QVERIFY(Page().ProposalLine()->text().startsWith(QStringLiteral("Proposed: 14 curves")));
}

void Step3PageTest::UntouchedProposalFollowsNewMarks() {
  EnterStep3({1});
  QCOMPARE(Page().HeadingBox(1)->text(), QStringLiteral("C2"));
  QVERIFY(Page().UnitsBox(1)->text().isEmpty());
  QVERIFY(Page().ProposalLine()->text().contains(QStringLiteral("named from line 2;")));
  PressBack(*m_sheet);
  QVERIFY(MarkAndLeaveStep2(*m_sheet, {1, 2}, 4));
  QCOMPARE(Page().UnitsBox(1)->text(), QStringLiteral("U2"));
  QVERIFY(Page().ProposalLine()->text().contains(QStringLiteral("named from lines 2 and 3;")));
}

void Step3PageTest::LoadedSetupIsShownAsSaved() {
  // A configuration file names three of the columns its own way.
  const QString lah = m_dir->filePath(QStringLiteral("fourteen.lah"));
  QFile file(lah);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(
      "[File ID]\r\nID=Corvane\r\n[User Files]\r\nASCII FILE=fourteen.asc\r\n"
      "[Curve Parameters]\r\nDELIMITER=space\r\n[Curves]\r\nTOTAL=14\r\nHEADING 0=DEPTH\r\n"
      "UNITS 0=FT\r\nHEADING 1=GAMMA\r\nUNITS 1=API\r\nAPI CODE 1=45 310 01 00\r\n");
  file.close();
  const QByteArray before = [&lah] {
    QFile saved(lah);
    return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray();
  }();
  m_sheet->Setup().configFilePath = QtToStd(lah);
  m_sheet->show();
  QVERIFY(QTest::qWaitForWindowExposed(m_sheet.get()));
  QCOMPARE(m_sheet->Setup().asciiFilePath, QtToStd(m_ascii));  // beside the configuration file
  PressNext(*m_sheet);
  QVERIFY(MarkAndLeaveStep2(*m_sheet, {1, 2}, 4));
  QCOMPARE(Page().HeadingBox(0)->text(), QStringLiteral("DEPTH"));
  QCOMPARE(Page().UnitsBox(1)->text(), QStringLiteral("API"));
  QVERIFY(Page().HeadingBox(2)->text().isEmpty());
  QVERIFY(Page().ProposalLine()->text().contains(QStringLiteral("as the configuration file names them")));

  Click(Page().ProposeButton());
  QCOMPARE(Page().HeadingBox(0)->text(), QStringLiteral("DEPT"));
  QCOMPARE(Page().HeadingBox(2)->text(), QStringLiteral("C3"));
  QCOMPARE(m_sheet->Setup().curves.at(1), (CCurveDef{"C2", "U2", "45 310 01 00", ""}));
  // Nothing is written until the user saves.
  QFile saved(lah);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(), before);
}

QTEST_MAIN(Step3PageTest)
#include "Step3PageTest.moc"
