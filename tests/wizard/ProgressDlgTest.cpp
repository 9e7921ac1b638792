// The progress dialog and its bar: what a job's calls put on screen, and Cancel.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "wizard/ProgressDlg.h"
#include "wizard/Status.h"

using namespace corvane;

class ProgressDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void OpensModelessCentredWithTheJobsTitle() {
    QWidget owner;
    owner.setGeometry(100, 100, 600, 400);
    owner.show();
    CProgressDlg progress(&owner);
    QVERIFY(progress.Window() == nullptr);
    std::int32_t flag = 0;
    progress.Open("Unwrapping LAS file...", flag);
    QDialog* window = progress.Window();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("Unwrapping LAS file..."));
    QVERIFY(progress.MessageLabel()->text().isEmpty());
    QVERIFY(progress.LineTextLabel()->text().isEmpty());
    QCOMPARE(progress.CancelButton()->text(), QStringLiteral("Cancel"));
    QCOMPARE(progress.Bar()->Percent(), 0);
    const QPoint offset = window->frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 4, "centred over its owner");
    progress.Close();
    QVERIFY(progress.Window() == nullptr);
  }

  void CancelWritesTwoAndTheNextPollAnswersTrue() {
    QWidget owner;
    qint64 now = 1000;  // the dialog's clock, moved by the test
    CProgressDlg progress(&owner, [&now] { return now; });
    std::int32_t flag = 0;
    progress.Open("Creating LAS file...", flag);
    QVERIFY(!progress.PollCancel());
    // A click posted inside the program is handled by the very next poll.
    QPushButton* cancel = progress.CancelButton();
    QMetaObject::invokeMethod(cancel, &QPushButton::click, Qt::QueuedConnection);
    QVERIFY(progress.PollCancel());
    QCOMPARE(flag, 2);
    cancel->click();  // a second press changes nothing
    QCOMPARE(flag, 2);
    QVERIFY(progress.Window()->isVisible());  // stays until the job closes it
    progress.Close();
    QCOMPARE(flag, 2);  // the job resets it, not the dialog

    // Anything else waiting (here a timer, which only the window system's queue serves)
    // is served by the first poll a few milliseconds on.
    std::int32_t timed = 0;
    progress.Open("Creating LAS file...", timed);
    QVERIFY(!progress.PollCancel());
    QPushButton* later = progress.CancelButton();
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, later, [later] { later->click(); });
    timer.start(0);
    now += 4;
    QVERIFY(!progress.PollCancel());
    QCOMPARE(timed, 0);
    now += 1;
    QVERIFY(progress.PollCancel());
    QCOMPARE(timed, 2);
    progress.Close();

    // Esc and the close box ask for the cancel as well, and leave the window up.
    std::int32_t second = 0;
    progress.Open("Creating LAS file...", second);
    QTest::keyClick(progress.Window(), Qt::Key_Escape);
    QCOMPARE(second, 2);
    second = 0;
    progress.Window()->close();
    QCOMPARE(second, 2);
    QVERIFY(progress.Window()->isVisible());
    progress.Close();
  }

  void LastStateIsShownBeforeClose() {
    QWidget owner;
    qint64 now = 1000;
    CProgressDlg progress(&owner, [&now] { return now; });
    std::int32_t flag = 0;
    progress.Open("Creating LAS file...", flag);
    // Many quick updates: only some are painted, but the latest always wins.
    for (int line = 1; line <= 2000; ++line) {
      progress.SetLineText("Processing line [" + std::to_string(line) + "]");
      progress.SetPercent(line / 20);
    }
    progress.ShowPending();
    QCOMPARE(progress.LineTextLabel()->text(), QStringLiteral("Processing line [2000]"));
    QCOMPARE(progress.Bar()->Percent(), 100);
    progress.SetPercent(37);
    QVERIFY(!progress.PollCancel());
    QCOMPARE(progress.Bar()->Percent(), 100);  // painted a moment ago: put off
    now += 33;
    QVERIFY(!progress.PollCancel());  // a poll after the interval paints what is pending
    QCOMPARE(progress.Bar()->Percent(), 37);
    progress.Close();
  }

  void BarFillsFromTheLeftInWholePixels() {
    CStatus bar;
    bar.resize(202, 20);  // a field of 200 pixels inside the outer pixel
    QCOMPARE(bar.FieldRect(), QRect(1, 1, 200, 18));
    const struct {
      int percent;
      int width;
    } cases[] = {{0, 0}, {50, 100}, {100, 200}, {150, 200}, {33, 66}, {-5, 0}};
    for (const auto& c : cases) {
      bar.SetPercent(c.percent);
      QCOMPARE(bar.BarWidth(), c.width);
    }
    bar.resize(103, 20);  // 101 pixels: half of them truncates to 50
    bar.SetPercent(50);
    QCOMPARE(bar.BarWidth(), 50);

    // The filled part is dark, the rest of the field white.
    bar.resize(102, 20);
    bar.SetPercent(50);
    const QImage image = bar.grab().toImage();
    QVERIFY(qGray(image.pixel(20, 10)) < 64);
    QVERIFY(qGray(image.pixel(80, 10)) > 192);
    bar.SetPercent(150);
    QVERIFY(qGray(bar.grab().toImage().pixel(95, 10)) < 64);
  }
};

QTEST_MAIN(ProgressDlgTest)
#include "ProgressDlgTest.moc"
