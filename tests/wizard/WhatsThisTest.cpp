// What's This on the controls of Steps 2 to 4: every control has its text, the manual's
// page of the step says the same, and Shift+F1 on a control shows it.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocumentFragment>
#include <QWhatsThis>

#include "FakeServices.h"
#include "WizardDrive.h"
#include "WizardTestFiles.h"

using namespace corvane;
using namespace corvane::test;

namespace {

QString Collapsed(QString text) { return text.simplified(); }

// The visible text of a manual page, white space collapsed.
QString ManualText(const QString& page) {
  QFile file(QStringLiteral(CORVANE_SOURCE_DIR "/docs/manual/") + page);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return Collapsed(QTextDocumentFragment::fromHtml(QString::fromUtf8(file.readAll())).toPlainText());
}

// The controls of a page a user can point at: its buttons, boxes and lists, not the
// parts inside them (a combo box's edit field, a list's viewport).
QList<QWidget*> Controls(QWidget* page) {
  QList<QWidget*> controls;
  for (QWidget* w : page->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                         qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                         qobject_cast<QPlainTextEdit*>(w);
    bool inside = false;
    for (QWidget* up = w->parentWidget(); up != nullptr && up != page; up = up->parentWidget())
      inside = inside || qobject_cast<QComboBox*>(up) != nullptr;
    if (control && !inside) controls.append(w);
  }
  return controls;
}

}  // namespace

class WhatsThisTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    m_sheet = std::make_unique<CCorvanePropSheet>(nullptr, &m_services);
    QVERIFY(OpenOnStep2(*m_sheet, m_services, m_files.WriteLog("log.asc", 20)));
    QVERIFY(MarkAndLeaveStep2(*m_sheet, {1, 2}, 4));
    TypeInto(m_sheet->Step3().HeadingBox(0), QStringLiteral("DEPT"));
    TypeInto(m_sheet->Step3().UnitsBox(0), QStringLiteral("M"));
    PressNext(*m_sheet);
    QCOMPARE(m_sheet->CurrentIndex(), 3);
  }
  void cleanupTestCase() { m_sheet.reset(); }

  void EveryControlExplainsItselfAsTheManualDoes_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("controls");  // how many a page has at least
    QTest::newRow("Step 2") << 2 << 10;
    QTest::newRow("Step 3") << 3 << 34;
    QTest::newRow("Step 4") << 4 << 14;
  }

  void EveryControlExplainsItselfAsTheManualDoes() {
    QFETCH(int, step);
    QFETCH(int, controls);
    QWidget* page = step == 2   ? static_cast<QWidget*>(&m_sheet->Step2())
                    : step == 3 ? static_cast<QWidget*>(&m_sheet->Step3())
                                : static_cast<QWidget*>(&m_sheet->Step4());
    const QString manual = ManualText(QStringLiteral("step%1.html").arg(step));
    QVERIFY(!manual.isEmpty());
    const QList<QWidget*> found = Controls(page);
    QVERIFY(found.size() >= controls);
    for (QWidget* control : found) {
      const QString text = Collapsed(control->whatsThis());
      const QString name = control->objectName() + QLatin1Char(' ') + control->metaObject()->className();
      QVERIFY2(!text.isEmpty(), qPrintable(name + QStringLiteral(": no What's This text")));
      QVERIFY2(text.count(QLatin1Char('.')) <= 3,
               qPrintable(name + QStringLiteral(": more than a short note")));
      QVERIFY2(manual.contains(text), qPrintable(name + QStringLiteral(": not in the manual: ") + text));
    }
  }

  void ShiftF1OnAControlShowsItsText() {
    QVERIFY(m_sheet->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    QApplication::setActiveWindow(m_sheet.get());
    QVERIFY(QTest::qWaitForWindowActive(m_sheet.get()));
    QLineEdit* box = m_sheet->Step4().WellNameBox();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F1, Qt::ShiftModifier);
    QWidget* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && QString::fromLatin1(w->metaObject()->className()) == QLatin1String("QWhatsThat"))
        shown = w;
    QVERIFY(shown != nullptr);
    QWhatsThis::hideText();
    // F1 still opens the manual.
    QTest::keyClick(box, Qt::Key_F1);
    QCOMPARE(m_services.helpTopics.size(), 1);
  }

 private:
  CWizardFiles m_files;
  CFakeServices m_services;
  std::unique_ptr<CCorvanePropSheet> m_sheet;
};

QTEST_MAIN(WhatsThisTest)
#include "WhatsThisTest.moc"
