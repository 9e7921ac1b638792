// Step 2 driven through its widgets: the two lists, the marks and Next, the layout
// boxes, the move mark, the unwrap offer and the editor button.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "FakeServices.h"
#include "WizardTestFiles.h"
#include "wizard/CorvanePropSheet.h"
#include "wizard/ProgressDlg.h"
#include "wizard/Step1Page.h"
#include "wizard/Step2Page.h"

using namespace corvane;
using corvane::test::CFakeServices;
using corvane::test::CWizardFiles;
using Answer = CWizardServices::Answer;

namespace {

const QString kRulerMessage = QStringLiteral(
    "You must indicate the line at which the curve digits start. The line indicator cannot be the ruler "
    "line.");

void ClickRow(QListWidget* list, int row) {
  QListWidgetItem* item = list->item(row);
  list->scrollToItem(item);
  const QRect rect = list->visualItemRect(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(rect.left() + 4, rect.center().y()));
}

QStringList Rows(const QListWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->count(); ++i) rows.append(list->item(i)->text());
  return rows;
}

// A wizard on Step 2 over `path`, reached by choosing the file on Step 1. With a
// `delimiter` the layout counts as chosen already and nothing is proposed.
struct CWizardOnStep2 {
  explicit CWizardOnStep2(const QString& path, std::initializer_list<Answer> answers = {},
                          std::initializer_list<QString> saves = {}, const char* delimiter = "")
      : sheet(nullptr, &services) {
    sheet.Setup().delimiterText = delimiter;
    services.openAnswers = {path};
    services.answers = answers;
    services.saveAnswers = saves;
    sheet.show();
    sheet.Step1().FileButton()->click();
    sheet.NextButton()->click();
  }
  CStep2Page& Page() { return sheet.Step2(); }

  CFakeServices services;
  CCorvanePropSheet sheet;
};

// A wizard opened on a configuration file (File Open), moved on to Step 2.
struct CLoadedOnStep2 {
  explicit CLoadedOnStep2(const QString& lah) : sheet(nullptr, &services) {
    sheet.Setup().configFilePath = lah.toStdString();
    sheet.show();
    sheet.NextButton()->click();
  }
  CFakeServices services;
  CCorvanePropSheet sheet;
};

}  // namespace

class Step2PageTest : public QObject {
  Q_OBJECT

 private slots:
  void ForwardEntryShowsTheFirstHundredLinesUnderTheRuler() {
    CWizardFiles files;
    CWizardOnStep2 w(files.WriteLog("log.asc", 147), {}, {}, "space");
    CStep2Page& page = w.Page();
    QCOMPARE(w.sheet.CurrentIndex(), 1);
    QVERIFY(w.services.boxes.empty());
    QVERIFY(w.sheet.BackButton()->isEnabled());
    QVERIFY(w.sheet.NextButton()->isEnabled());

    const QStringList header = Rows(page.HeaderList());
    const QStringList digits = Rows(page.DigitsList());
    QCOMPARE(header.size(), 100);
    QCOMPARE(digits.size(), 101);
    QCOMPARE(header[0], QStringLiteral("Well W-1 main pass"));
    QCOMPARE(header[3], QStringLiteral("1000.000   50.25   1.500"));
    QCOMPARE(digits.mid(1), header);
    QCOMPARE(digits[0], QStringLiteral("123456789012345678901234567890"));
    QVERIFY(page.HeaderList()->selectedItems().isEmpty());
    QVERIFY(page.DigitsList()->selectedItems().isEmpty());
    QCOMPARE(page.HeaderList()->selectionMode(), QAbstractItemView::MultiSelection);
    QCOMPARE(page.DigitsList()->selectionMode(), QAbstractItemView::SingleSelection);

    // The sheet's list font, and rows as wide as the ruler drawn in it.
    QCOMPARE(page.HeaderList()->font(), w.sheet.ListFont());
    QCOMPARE(page.DigitsList()->font(), w.sheet.ListFont());
    const int rulerWidth = QFontMetrics(w.sheet.ListFont()).horizontalAdvance(digits[0]);
    QVERIFY(page.HeaderList()->visualItemRect(page.HeaderList()->item(0)).width() >= rulerWidth);
    QVERIFY(page.DigitsList()->visualItemRect(page.DigitsList()->item(50)).width() >= rulerWidth);

    // The boxes show the setup's construction values.
    QCOMPARE(page.NullValueBox()->text(), QStringLiteral("-999.25"));
    QCOMPARE(page.CurveTotalBox()->text(), QStringLiteral("0"));
    QCOMPARE(page.FixedWidthBox()->text(), QStringLiteral("0"));
    QCOMPARE(page.SkipWidthBox()->text(), QStringLiteral("0"));
    QCOMPARE(page.DelimiterBox()->currentIndex(), 0);
    QVERIFY(page.ProposalLine()->text().isEmpty());
  }

  void NewSetupStartsFromTheProposedLayoutAndTheUsersChangesStay() {
    CWizardFiles files;
    CWizardOnStep2 w(files.WriteLog("log.asc", 30));
    CStep2Page& page = w.Page();
    QCOMPARE(page.ProposalLine()->text(),
             QStringLiteral("Proposed: 3 columns cut at spaces, data from line 4; change anything below."));
    QCOMPARE(page.HeaderList()->selectionModel()->selectedRows().size(), 2);
    QVERIFY(page.HeaderList()->item(1)->isSelected() && page.HeaderList()->item(2)->isSelected());
    QCOMPARE(page.DigitsList()->selectedItems(), QList<QListWidgetItem*>{page.DigitsList()->item(4)});
    QCOMPARE(page.DelimiterBox()->currentText(), QStringLiteral("space"));
    QCOMPARE(page.FixedWidthBox()->text(), QStringLiteral("0"));
    QVERIFY(w.services.boxes.empty());
    // Nothing reaches the setup before the page is left.
    QVERIFY(w.sheet.Setup().delimiterText.empty());

    // The user changes the proposal; what the user chose is what is taken, and it
    // is not proposed over when the user comes back.
    ClickRow(page.HeaderList(), 2);
    ClickRow(page.DigitsList(), 5);
    page.ShowDelimiter(QStringLiteral(","));
    w.sheet.NextButton()->click();
    QCOMPARE(w.sheet.CurrentIndex(), 2);
    QCOMPARE(w.sheet.Setup().firstDigitLineIndex, 4);
    QCOMPARE(w.sheet.Setup().headingsText, std::string("   DEPT      GR     ILD\r\n"));
    QCOMPARE(w.sheet.Setup().delimiterText, std::string(","));
    w.sheet.BackButton()->click();
    w.sheet.BackButton()->click();
    w.sheet.NextButton()->click();
    QCOMPARE(w.sheet.CurrentIndex(), 1);
    QCOMPARE(page.DelimiterBox()->currentText(), QStringLiteral(","));
    QCOMPARE(page.DigitsList()->currentRow(), 5);
    QCOMPARE(page.HeaderList()->selectedItems().size(), 1);

    // Refresh Windows drops the marks and with them the proposal's line; Propose
    // asks again, and says so when the lines hold nothing to propose.
    page.RefreshButton()->click();
    QVERIFY(page.ProposalLine()->text().isEmpty());
    QCOMPARE(page.DelimiterBox()->currentText(), QStringLiteral(","));
    page.ProposeButton()->click();
    QCOMPARE(page.DelimiterBox()->currentText(), QStringLiteral("space"));
    QCOMPARE(page.DigitsList()->currentRow(), 4);
    QVERIFY(page.ProposalLine()->text().startsWith(QStringLiteral("Proposed: 3 columns")));
    w.sheet.Setup().asciiFilePath = files.Write("notes.asc", "no numbers\r\nhere\r\n").toStdString();
    page.RefreshButton()->click();
    page.ProposeButton()->click();
    QCOMPARE(page.ProposalLine()->text(),
             QStringLiteral("Nothing to propose: no line of the first 2 is a row of numbers."));
    QVERIFY(page.HeaderList()->selectedItems().isEmpty());
  }

  void LoadedSetupIsShownAsSavedUntilProposeIsPressed() {
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 30);
    // Saved with no delimiter, no widths: every line one column, as the user chose.
    const QByteArray saved =
        "[File ID]\r\nID=Corvane\r\nVERSION=3.0\r\n[User Files]\r\nASCII FILE=" + log.toLocal8Bit() +
        "\r\n[Curve Parameters]\r\nNULL=-999.2500000000\r\nFIXED WIDTH=0\r\n"
        "SKIP WIDTH=4\r\nDELIMITER=\r\n[Curves]\r\nTOTAL=0\r\n";
    CLoadedOnStep2 w(files.Write("saved.lah", saved));
    CFakeServices& services = w.services;
    CCorvanePropSheet& sheet = w.sheet;
    CStep2Page& page = sheet.Step2();
    QCOMPARE(sheet.CurrentIndex(), 1);
    QVERIFY(page.ProposalLine()->text().isEmpty());
    QVERIFY(page.HeaderList()->selectedItems().isEmpty());
    QVERIFY(page.DigitsList()->selectedItems().isEmpty());
    QVERIFY(page.DelimiterBox()->currentText().isEmpty());
    QCOMPARE(page.DelimiterBox()->currentIndex(), -1);
    QCOMPARE(page.SkipWidthBox()->text(), QStringLiteral("4"));

    // On demand the proposal comes for any setup, widths cleared, and it reaches
    // the setup only when the page is left; the file stays as it was.
    page.ProposeButton()->click();
    QCOMPARE(page.DelimiterBox()->currentText(), QStringLiteral("space"));
    QCOMPARE(page.SkipWidthBox()->text(), QStringLiteral("0"));
    QCOMPARE(page.DigitsList()->currentRow(), 4);
    QVERIFY(sheet.Setup().delimiterText.empty());
    QCOMPARE(sheet.Setup().skipWidth, 4);
    QCOMPARE(files.Read("saved.lah"), saved);
    QVERIFY(services.boxes.empty());
  }

  void ReadingChoicesAreProposedShownAndTaken() {
    CWizardFiles files;
    // Semicolons, decimal commas, and a -999 below the lines the lists show.
    QByteArray log = "DEPT;GR;RHOB\r\nM;GAPI;G/C3\r\n";
    for (int r = 0; r < 150; ++r)
      log += QByteArray::number(1000 + r) + ",5;" + (r == 120 ? QByteArray("-999") : QByteArray::number(r)) +
             ";2,5\r\n";
    CWizardOnStep2 w(files.Write("comma.asc", log));
    CStep2Page& page = w.Page();
    QCOMPARE(page.ProposalLine()->text(),
             QStringLiteral(
                 "Proposed: 3 columns cut at semicolons, data from line 3, decimal commas, null markers "
                 "-999; change anything below."));
    QVERIFY(page.DecimalCommaBox()->isChecked());
    QVERIFY(!page.QuotesBox()->isChecked() && !page.EmptyFieldsBox()->isChecked());
    QCOMPARE(page.NullMarkersBox()->text(), QStringLiteral("-999"));
    QCOMPARE(page.DigitsBox()->currentText(), QStringLiteral("4"));
    QCOMPARE(page.DateTimeBox()->text(), QStringLiteral("none"));
    QVERIFY(w.sheet.Setup().reading.IsDefault());  // not before the page is left

    page.WholeCellsBox()->setChecked(true);
    page.DigitsBox()->setCurrentIndex(1);
    page.DateTimeBox()->setValue(2);
    page.NullMarkersBox()->setText(QStringLiteral(" NaN | -999 "));
    w.sheet.NextButton()->click();
    QCOMPARE(w.sheet.CurrentIndex(), 2);
    const CReadingOptions& taken = w.sheet.Setup().reading;
    QVERIFY(taken.decimalComma && taken.wholeCells && !taken.quotes);
    QCOMPARE(taken.nullMarkers, (std::vector<std::string>{"NaN", "-999"}));
    QCOMPARE(taken.digits, DigitsKept::Source);
    QCOMPARE(taken.dateTimeColumn, 2);
    // The samples of Step 3 are cut with the choices: three columns.
    QCOMPARE(w.sheet.Setup().CurveTotal(), 3);

    // The choices follow the null value in the tab order.
    QList<QWidget*> order;
    for (QWidget* at = page.NullValueBox()->nextInFocusChain(); order.size() < 7; at = at->nextInFocusChain())
      if (at->focusPolicy() & Qt::TabFocus)
        order << (at->parentWidget() == page.DateTimeBox() ? page.DateTimeBox() : at);
    QCOMPARE(order, (QList<QWidget*>{page.DecimalCommaBox(), page.QuotesBox(), page.EmptyFieldsBox(),
                                     page.WholeCellsBox(), page.NullMarkersBox(), page.DigitsBox(),
                                     page.DateTimeBox()}));
  }

  void LoadedReadingChoicesAreShownAsSaved() {
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 30);
    const QByteArray saved =
        "[File ID]\r\nID=Corvane\r\n[User Files]\r\nASCII FILE=" + log.toLocal8Bit() +
        "\r\n[Curve Parameters]\r\nNULL=1e999\r\nDELIMITER=space\r\n[Reading]\r\nQUOTES=YES\r\n"
        "NULL MARKERS=NA\r\nDATE TIME=1\r\n";
    CLoadedOnStep2 w(files.Write("saved.lah", saved));
    CFakeServices& services = w.services;
    CCorvanePropSheet& sheet = w.sheet;
    CStep2Page& page = sheet.Step2();
    QVERIFY(page.QuotesBox()->isChecked() && !page.DecimalCommaBox()->isChecked());
    QCOMPARE(page.NullMarkersBox()->text(), QStringLiteral("NA"));
    QCOMPARE(page.DateTimeBox()->value(), 1);
    // Its null value is beyond the range of numbers: refused, the value named.
    ClickRow(page.DigitsList(), 4);
    sheet.NextButton()->click();
    QCOMPARE(services.BoxTexts(), QStringList{QStringLiteral("Enter a number.")});
    QCOMPARE(services.boxes[0].informative,
             QStringLiteral(
                 "\"inf\" is beyond the range of numbers (about 1.8e308) and cannot stand for a missing "
                 "reading."));
    QCOMPARE(sheet.CurrentIndex(), 1);
    page.NullValueBox()->setText(QStringLiteral("1e309"));
    sheet.NextButton()->click();
    QVERIFY(services.boxes[1].informative.startsWith(QStringLiteral("\"1e309\" is beyond")));
    page.NullValueBox()->setText(QStringLiteral("-999.25"));
    sheet.NextButton()->click();
    QCOMPARE(sheet.CurrentIndex(), 2);
    QVERIFY(sheet.Setup().reading.quotes);
    QCOMPARE(sheet.Setup().reading.dateTimeColumn, 1);
  }

  void NextRecordsTheMarksOrRefusesWithoutADigitLine() {
    CWizardFiles files;
    CWizardOnStep2 w(files.WriteLog("log.asc", 10), {}, {}, "space");
    CStep2Page& page = w.Page();

    ClickRow(page.HeaderList(), 2);
    ClickRow(page.HeaderList(), 0);
    ClickRow(page.HeaderList(), 0);  // each click toggles
    ClickRow(page.HeaderList(), 1);
    w.sheet.NextButton()->click();
    QCOMPARE(w.services.BoxTexts(), QStringList{kRulerMessage});
    QVERIFY(w.services.boxes[0].caption.isEmpty());
    QCOMPARE(w.sheet.CurrentIndex(), 1);

    ClickRow(page.DigitsList(), 0);  // the ruler
    w.sheet.NextButton()->click();
    QCOMPARE(w.services.BoxTexts(), (QStringList{kRulerMessage, kRulerMessage}));
    QCOMPARE(w.sheet.CurrentIndex(), 1);

    ClickRow(page.DigitsList(), 4);  // the first line of digits, line index 3
    QCOMPARE(page.DigitsList()->selectedItems().size(), 1);
    w.sheet.NextButton()->click();
    QCOMPARE(w.services.boxes.size(), std::size_t{2});
    QCOMPARE(w.sheet.CurrentIndex(), 2);
    QCOMPARE(w.sheet.Mark(), MoveMark::Next);
    QCOMPARE(w.sheet.Setup().firstDigitLineIndex, 3);
    QCOMPARE(w.sheet.Setup().headingsText,
             std::string("   DEPT      GR     ILD\r\n      M    GAPI    OHMM\r\n"));
  }

  void EmptyFileIsNamedAsTheReasonForTheMissingDigitLine() {
    CWizardFiles files;
    CWizardOnStep2 empty(files.Write("empty.asc", QByteArray()));
    QCOMPARE(empty.Page().HeaderList()->count(), 0);
    empty.sheet.NextButton()->click();
    QCOMPARE(empty.services.BoxTexts(), QStringList{kRulerMessage});
    QCOMPARE(empty.services.boxes[0].informative, QStringLiteral("The ASCII file is empty."));
    QCOMPARE(empty.sheet.CurrentIndex(), 1);

    // A file with lines: the user has to mark one, nothing more is said.
    CWizardOnStep2 lines(files.Write("blank.asc", "\r\n\r\n"));
    lines.sheet.NextButton()->click();
    QCOMPARE(lines.services.BoxTexts(), QStringList{kRulerMessage});
    QVERIFY(lines.services.boxes[0].informative.isEmpty());
  }

  void FileThatIsNotTextGetsANotice() {
    CWizardFiles files;
    const QString path = files.Write("log.xlsx", QByteArray("PK\x03\x04\x14\x00\x06\x00 DEPT GR\r\n", 18));
    CWizardOnStep2 binary(path);
    QCOMPARE(binary.services.BoxTexts(), QStringList{QStringLiteral("The ASCII file is not a text file.")});
    QCOMPARE(binary.services.boxes[0].icon, CWizardServices::Icon::Warning);
    QVERIFY(binary.services.boxes[0].informative.startsWith(path + QStringLiteral(": It holds NUL bytes")));
    QVERIFY(binary.Page().ProposalLine()->text().startsWith(QStringLiteral("Not a text file: ")));
    // Next still says what the Parts say, and why.
    binary.sheet.NextButton()->click();
    QCOMPARE(binary.services.boxes.back().text, kRulerMessage);
    QVERIFY(binary.services.boxes.back().informative.startsWith(
        QStringLiteral("The ASCII file is not a text file: It holds NUL bytes")));

    // A text file: no notice.
    CWizardOnStep2 text(files.Write("log.txt", "DEPT GR\r\n1 2\r\n3 4\r\n"));
    QVERIFY(text.services.boxes.empty());
    QVERIFY(!text.Page().ProposalLine()->text().startsWith(QStringLiteral("Not a text file")));
  }

  void BadBoxIsReportedSelectedAndNothingOfTheLayoutIsTaken() {
    CWizardFiles files;
    CWizardOnStep2 w(files.WriteLog("log.asc", 10), {}, {}, "space");
    CStep2Page& page = w.Page();
    ClickRow(page.HeaderList(), 1);
    ClickRow(page.DigitsList(), 4);
    page.NullValueBox()->setText(QStringLiteral("-1"));
    page.FixedWidthBox()->setText(QStringLiteral("abc"));
    w.sheet.NextButton()->click();

    QCOMPARE(w.services.BoxTexts(), QStringList{QStringLiteral("Enter an integer.")});
    QCOMPARE(w.sheet.CurrentIndex(), 1);
    QCOMPARE(page.FixedWidthBox()->selectedText(), QStringLiteral("abc"));
    // The marks were recorded before the boxes were read; the boxes reach the setup together or not at all.
    QCOMPARE(w.sheet.Setup().firstDigitLineIndex, 3);
    QCOMPARE(w.sheet.Setup().headingsText, std::string("   DEPT      GR     ILD\r\n"));
    QCOMPARE(w.sheet.Setup().nullValue, -999.25);

    page.FixedWidthBox()->setText(QStringLiteral("12abc"));
    page.DelimiterBox()->setEditText(QStringLiteral(";"));
    w.sheet.NextButton()->click();
    QCOMPARE(w.sheet.CurrentIndex(), 2);
    QCOMPARE(w.sheet.Setup().fixedWidth, 12);
    QCOMPARE(w.sheet.Setup().nullValue, -1.0);
    QCOMPARE(w.sheet.Setup().delimiterText, std::string(";"));
    QCOMPARE(page.Layout().fixedWidth, 12);
  }

  void ArrivalAfterBackKeepsListsMarksAndBoxes() {
    CWizardFiles files;
    const QString first = files.WriteLog("first.asc", 10);
    CWizardOnStep2 w(first, {}, {}, "space");
    CStep2Page& page = w.Page();
    ClickRow(page.HeaderList(), 1);
    ClickRow(page.DigitsList(), 4);
    page.SkipWidthBox()->setText(QStringLiteral("2"));

    w.sheet.BackButton()->click();
    QCOMPARE(w.sheet.CurrentIndex(), 0);
    QCOMPARE(w.sheet.Mark(), MoveMark::Back);
    QCOMPARE(w.sheet.Setup().skipWidth, 2);

    // The same file: Next finds the mark at back, nothing is reloaded.
    w.sheet.NextButton()->click();
    QCOMPARE(w.sheet.CurrentIndex(), 1);
    QCOMPARE(page.HeaderList()->item(0)->text(), QStringLiteral("Well W-1 main pass"));
    QCOMPARE(page.HeaderList()->selectedItems().size(), 1);
    QCOMPARE(page.DigitsList()->currentRow(), 4);
    QCOMPARE(page.SkipWidthBox()->text(), QStringLiteral("2"));

    // Refresh Windows loads the file again and drops the marks, nothing else.
    page.RefreshButton()->click();
    QCOMPARE(Rows(page.HeaderList()).size(), 13);
    QVERIFY(page.HeaderList()->selectedItems().isEmpty());
    QVERIFY(page.DigitsList()->selectedItems().isEmpty());
    QCOMPARE(page.SkipWidthBox()->text(), QStringLiteral("2"));
    QCOMPARE(w.sheet.Mark(), MoveMark::Back);
  }

  // Step 2 follows its file: another file chosen on Step 1, or the file changed on disk,
  // is read and proposed again (a new setup), or marked for the loaded layout, which
  // stays as the configuration has it (the stored first data line first).
  void StaleStep2FollowsItsFile() {
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 30);
    QByteArray csv = "Title line\r\nSecond title\r\nDEPTH,GR\r\nm,API\r\n";
    for (int r = 0; r < 20; ++r) csv += QByteArray::number(2000 + r) + ".5," + QByteArray::number(r) + "\r\n";
    const QString other = files.Write("other.csv", csv);
    // Back to Step 1 from Step 3, `path` chosen there, and Next again.
    const auto chooseOnStep1 = [](CFakeServices& services, CCorvanePropSheet& sheet, const QString& path) {
      sheet.BackButton()->click();
      sheet.BackButton()->click();
      services.openAnswers = {path};
      sheet.Step1().FileButton()->click();
      sheet.NextButton()->click();
    };

    {  // A new setup: the new file's lines, layout and marks; Step 3 gets the new headings.
      CWizardOnStep2 w(log);
      w.sheet.NextButton()->click();
      QCOMPARE(w.sheet.CurrentIndex(), 2);
      chooseOnStep1(w.services, w.sheet, other);
      CStep2Page& page = w.Page();
      QCOMPARE(page.HeaderList()->item(2)->text(), QStringLiteral("DEPTH,GR"));
      QCOMPARE(page.ProposalLine()->text(),
               QStringLiteral("Proposed: 2 columns cut at commas, data from line 5; change anything below."));
      QCOMPARE(page.DelimiterBox()->currentText(), QStringLiteral(","));
      w.sheet.NextButton()->click();
      QCOMPARE(w.sheet.Setup().headingsText, std::string("DEPTH,GR\r\nm,API\r\n"));
      QCOMPARE(w.sheet.Setup().firstDigitLineIndex, 4);
    }
    for (const bool stored : {true, false}) {
      const QByteArray saved =
          "[File ID]\r\nID=Corvane\r\n[User Files]\r\nASCII FILE=" + log.toLocal8Bit() +
          "\r\n[Curve Parameters]\r\nNULL=-999.25\r\nSKIP WIDTH=1\r\nDELIMITER=space\r\n" +
          (stored ? "FIRST DATA LINE=3\r\n" : "") + "[Curves]\r\nTOTAL=0\r\n";
      CLoadedOnStep2 w(files.Write("saved.lah", saved));
      CStep2Page& page = w.sheet.Step2();
      // Opened: the stored line is marked with the names above it; without one, nothing.
      QCOMPARE(page.DigitsList()->currentRow(), stored ? 4 : -1);
      QCOMPARE(page.HeaderList()->selectedItems().size(), stored ? 2 : 0);
      QCOMPARE(
          page.ProposalLine()->text(),
          stored ? QStringLiteral("Marked: data from line 4, as the configuration file stores it; names and "
                                  "units on lines 2 and 3; the layout is the configuration's.")
                 : QString());
      if (!stored) ClickRow(page.DigitsList(), 5);
      w.sheet.NextButton()->click();
      QCOMPARE(w.sheet.Setup().firstDigitLineIndex, stored ? 3 : 4);
      // A stored line follows the marks, for the next save.
      QCOMPARE(w.sheet.Setup().storedFirstDataLine, stored ? 3 : -1);

      // Another file: marked again (the stored line, else the detection's), the layout as loaded.
      chooseOnStep1(w.services, w.sheet, other);
      QCOMPARE(page.HeaderList()->item(0)->text(), QStringLiteral("Title line"));
      QCOMPARE(page.DigitsList()->currentRow(), stored ? 4 : 5);
      QCOMPARE(page.DelimiterBox()->currentText(), QStringLiteral("space"));
      QCOMPARE(page.SkipWidthBox()->text(), QStringLiteral("1"));
      if (!stored) {
        QCOMPARE(
            page.ProposalLine()->text(),
            QStringLiteral("Marked: data from line 5, as proposed for this file; names and units on lines 3 "
                           "and 4; the layout is the configuration's."));
      }
      QCOMPARE(files.Read("saved.lah"), saved);
      QVERIFY(w.services.boxes.empty());
    }
    {  // The same file changed on disk while Step 3 was shown: read again.
      CWizardOnStep2 w(log);
      w.sheet.NextButton()->click();
      QFile changed(log);
      QVERIFY(changed.open(QIODevice::Append));
      changed.write("  1015.000   55.25   7.500\r\n");
      changed.close();
      w.sheet.BackButton()->click();
      QCOMPARE(w.sheet.CurrentIndex(), 1);
      QCOMPARE(w.Page().HeaderList()->count(), 34);
      QCOMPARE(w.Page().DigitsList()->currentRow(), 4);
    }
  }

  void WrappedLasIsUnwrappedThroughTheOffer() {
    CWizardFiles files;
    const QString wrapped = files.CopyData("sample_2.0_wrapped.las", "wrapped.las");
    const QByteArray original = files.Read("wrapped.las");
    const QString target = files.Path("unwrapped.las");
    bool closedDuringQuestion = false;
    {
      CFakeServices fake;
      fake.openAnswers = {wrapped};
      fake.answers = {Answer::Yes};
      fake.saveAnswers = {target};
      CCorvanePropSheet sheet(nullptr, &fake);
      // While the offer runs, no way out of the wizard is open, and Step 1's file
      // button is off the screen.
      fake.onMessageBox = [&] {
        closedDuringQuestion = sheet.JobRunning() && sheet.CurrentIndex() == 1 &&
                               !sheet.Step1().FileButton()->isVisible() && !sheet.BackButton()->isEnabled() &&
                               !sheet.NextButton()->isEnabled() && !sheet.ExitButton()->isEnabled() &&
                               !sheet.Step2().RefreshButton()->isEnabled();
      };
      CFakeServices* services = &fake;
      sheet.show();
      sheet.Step1().FileButton()->click();
      sheet.NextButton()->click();

      QCOMPARE(
          services->BoxTexts(),
          QStringList{QStringLiteral(
              "The specified ASCII file might be a LAS file in WRAP format. Do you want to UNWRAP it?")});
      QCOMPARE(services->boxes[0].buttons, CWizardServices::Buttons::YesNo);
      QCOMPARE(services->boxes[0].icon, CWizardServices::Icon::None);
      QVERIFY(closedDuringQuestion);
      QCOMPARE(services->dialogs.size(), std::size_t{2});
      const auto& save = services->dialogs[1];
      QVERIFY(save.save);
      QCOMPARE(save.title, QStringLiteral("Create UNWRAP LAS File"));
      QCOMPARE(save.filter, QStringLiteral("LAS files (*.las)"));
      QCOMPARE(save.initialName, files.Path("*.las"));  // beside the wrapped file
      QCOMPARE(save.defaultSuffix, QStringLiteral("las"));
      QVERIFY(save.confirmOverwrite);

      QCOMPARE(sheet.CurrentIndex(), 1);
      QVERIFY(!sheet.JobRunning());
      QVERIFY(sheet.BackButton()->isEnabled());
      QVERIFY(sheet.Step2().RefreshButton()->isEnabled());
      QCOMPARE(sheet.Setup().asciiFilePath, target.toStdString());
      QVERIFY(sheet.Step2().Progress().Window() == nullptr);
      const QStringList header = Rows(sheet.Step2().HeaderList());
      QVERIFY(header.size() >= 3);
      QCOMPARE(header[2], QStringLiteral(" WRAP.                  NO : One line per depth"));
      QCOMPARE(Rows(sheet.Step2().DigitsList()).mid(1), header);
      QCOMPARE(sheet.Step1().PathBox()->text(), wrapped);
      QCOMPARE(files.Read("wrapped.las"), original);
    }

    // Answering No goes on with the wrapped file itself.
    CWizardOnStep2 no(wrapped, {Answer::No});
    QCOMPARE(no.services.dialogs.size(), std::size_t{1});
    QCOMPARE(no.sheet.Setup().asciiFilePath, wrapped.toStdString());
    QCOMPARE(no.Page().HeaderList()->item(2)->text().simplified().left(5), QStringLiteral("WRAP."));
  }

  void DelimiterShowsTheFirstEntryItBegins() {
    CWizardFiles files;
    CFakeServices services;
    services.openAnswers = {files.WriteLog("log.asc", 4)};
    CCorvanePropSheet sheet(nullptr, &services);
    sheet.Setup().delimiterText.assign(1, 't');  // one letter of "tab"
    sheet.show();
    sheet.Step1().FileButton()->click();
    sheet.NextButton()->click();
    QComboBox* box = sheet.Step2().DelimiterBox();
    QCOMPARE(box->count(), 5);
    QCOMPARE(box->itemText(3), QStringLiteral(":,"));
    QCOMPARE(box->currentText(), QStringLiteral("tab"));
    QCOMPARE(box->currentIndex(), 1);

    sheet.Step2().ShowDelimiter(QStringLiteral(":"));
    QCOMPARE(box->currentText(), QStringLiteral(":,"));
    sheet.Step2().ShowDelimiter(QStringLiteral("SP"));
    QCOMPARE(box->currentIndex(), 0);
    sheet.Step2().ShowDelimiter(QStringLiteral("|"));
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(box->currentText(), QStringLiteral("|"));
    sheet.Step2().ShowDelimiter(QString());
    QCOMPARE(box->currentIndex(), -1);
    QVERIFY(box->currentText().isEmpty());

    sheet.Step2().ShowDelimiter(QStringLiteral("t"));
    sheet.BackButton()->click();
    QCOMPARE(sheet.Setup().delimiterText, std::string("tab"));
  }

  void TypedDelimiterIsTakenAsTyped() {
    CWizardFiles files;
    CWizardOnStep2 w(files.WriteLog("log.asc", 4));
    QComboBox* box = w.Page().DelimiterBox();
    QApplication::setActiveWindow(&w.sheet);
    QVERIFY(QTest::qWaitForWindowActive(&w.sheet));
    // Typing a prefix of an entry must not complete it: ":" is a colon, not ":,".
    box->lineEdit()->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), QStringLiteral(":"));
    QCOMPARE(box->currentText(), QStringLiteral(":"));
    w.sheet.BackButton()->click();
    QCOMPARE(w.sheet.Setup().delimiterText, std::string(":"));
    QCOMPARE(w.Page().Layout().delimiterText, std::string(":"));
  }

  void EditAsciiFileStartsTheEditorOrSaysItFailed() {
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 4);
    CWizardOnStep2 w(log);
    w.Page().EditButton()->click();
    QCOMPARE(w.services.editorLaunches, QStringList{log});
    QVERIFY(w.services.boxes.empty());
    w.services.editorFailure = QStringLiteral("xdg-open: No such file or directory");
    w.Page().EditButton()->click();
    // Deleted meanwhile: the reason is the system's, and no editor is started.
    QFile::remove(log);
    w.Page().EditButton()->click();
    QCOMPARE(w.services.editorLaunches.size(), 2);
    QCOMPARE(w.services.BoxTexts(), QStringList(2, QStringLiteral("Failed to run the text editor.")));
    QCOMPARE(w.services.boxes[0].icon, CWizardServices::Icon::Error);
    QCOMPARE(w.services.boxes[0].informative, QStringLiteral("xdg-open: No such file or directory"));
    QCOMPARE(w.services.boxes[1].informative, log + QStringLiteral(": No such file or directory"));
  }

  void UnreadableFileLeavesTheListsEmptyWithAMessage() {
    CWizardFiles files;
    const QString log = files.WriteLog("log.asc", 4);
    CWizardOnStep2 w(log);
    QFile::remove(log);
    w.Page().RefreshButton()->click();
    QCOMPARE(w.services.BoxTexts(), QStringList{QStringLiteral("Failed to open ASCII file.")});
    QCOMPARE(w.services.boxes[0].icon, CWizardServices::Icon::Error);
    QCOMPARE(w.services.boxes[0].informative, log + QStringLiteral(": No such file or directory"));
    QCOMPARE(w.Page().HeaderList()->count(), 0);
    QCOMPARE(w.Page().DigitsList()->count(), 0);
  }
};

QTEST_MAIN(Step2PageTest)
#include "Step2PageTest.moc"
