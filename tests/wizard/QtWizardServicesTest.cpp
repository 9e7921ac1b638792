// The on-screen services: what the message boxes and file dialogs are built with,
// read off the real dialogs while they run, and the installed help handler.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "wizard/WizardServices.h"

using namespace corvane;
using Icon = CWizardServices::Icon;
using Buttons = CWizardServices::Buttons;
using Answer = CWizardServices::Answer;

namespace {

// Runs `look` on the modal dialog as soon as it is up.
template <typename Dialog>
void WhenShown(std::function<void(Dialog*)> look) {
  QTimer::singleShot(0, [look] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    look(dialog);
  });
}

QString g_helpTopic;
void RecordHelp(QWidget*, const QString& topic) { g_helpTopic = topic; }

}  // namespace

class QtWizardServicesTest : public QObject {
  Q_OBJECT

 private slots:
  void MessageBoxCarriesCaptionIconButtonsAndDefault() {
    CQtWizardServices services;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QAbstractButton* defaultButton = nullptr;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      caption = box->windowTitle();
      icon = box->icon();
      buttons = box->standardButtons();
      defaultButton = box->defaultButton();
      QVERIFY(defaultButton == box->button(QMessageBox::Cancel));
      QVERIFY(box->detailedText().isEmpty());
      box->button(QMessageBox::No)->click();
    });
    const Answer answer =
        services.MessageBox(nullptr, QStringLiteral("Save?"), QStringLiteral("System Message"),
                            Icon::Question, Buttons::YesNoCancel, Answer::Cancel);
    QCOMPARE(answer, Answer::No);
    QCOMPARE(caption, QStringLiteral("System Message"));
    QCOMPARE(icon, QMessageBox::Question);
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    WhenShown<QMessageBox>([&](QMessageBox* box) {
      caption = box->windowTitle();
      icon = box->icon();
      buttons = box->standardButtons();
      box->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(services.MessageBox(nullptr, QStringLiteral("Failed to open ASCII file."), QString(),
                                 Icon::Error, Buttons::Ok),
             Answer::Ok);
    QCOMPARE(caption, QStringLiteral("Corvane"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }

  void SaveDialogAddsTheSuffixAndAsksBeforeReplacing() {
    CQtWizardServices services;
    QString title;
    QStringList filters;
    QString suffix;
    bool confirms = false;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
      title = dialog->windowTitle();
      filters = dialog->nameFilters();
      suffix = dialog->defaultSuffix();
      confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
      dialog->reject();
    });
    const QString chosen = services.GetSaveFileName(nullptr, QStringLiteral("Create UNWRAP LAS File"),
                                                    QStringLiteral("LAS files (*.las)"),
                                                    QStringLiteral("*.las"), QStringLiteral("las"), true);
    QVERIFY(chosen.isEmpty());  // cancelled
    QCOMPARE(title, QStringLiteral("Create UNWRAP LAS File"));
    QCOMPARE(filters, QStringList{QStringLiteral("LAS files (*.las)")});
    QCOMPARE(suffix, QStringLiteral("las"));
    QVERIFY(confirms);

    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
      filters = dialog->nameFilters();
      QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
      dialog->reject();
    });
    QVERIFY(services
                .GetOpenFileName(nullptr, QStringLiteral("Open ASCII File"),
                                 QStringLiteral("ASCII Files (*.asc);;All Files (*)"),
                                 QStringLiteral("*.asc"))
                .isEmpty());
    QCOMPARE(filters, (QStringList{QStringLiteral("ASCII Files (*.asc)"), QStringLiteral("All Files (*)")}));

    // A folder alone: the dialog opens there, with no name typed to filter the files.
    QTemporaryDir dir;
    QString folder;
    QStringList typed;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
      folder = dialog->directory().absolutePath();
      typed = dialog->selectedFiles();
      dialog->reject();
    });
    services.GetOpenFileName(nullptr, QStringLiteral("Open ASCII File"), QStringLiteral("All Files (*)"),
                             dir.path());
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QVERIFY(typed.isEmpty() || QFileInfo(typed.value(0)).isDir());
  }

  void BoxesAndDialogsShowTheNormalCursorAndStartInTheirFolder() {
    QTemporaryDir dir;
    CQtWizardServices services;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));  // a job is running
    Qt::CursorShape inBox = Qt::WaitCursor;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      inBox = QApplication::overrideCursor()->shape();
      QCOMPARE(box->informativeText(), QStringLiteral("/out/well.las: No such file or directory"));
      QCOMPARE(box->detailedText(), QStringLiteral("the folder /out is gone"));
      box->button(QMessageBox::Ok)->click();
    });
    services.MessageBox(nullptr, QStringLiteral("Failed to open or write to LAS file."), QString(),
                        Icon::Error, Buttons::Ok, Answer::Ok,
                        QStringLiteral("/out/well.las: No such file or directory"),
                        QStringLiteral("the folder /out is gone"));
    QCOMPARE(inBox, Qt::ArrowCursor);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

    Qt::CursorShape inDialog = Qt::WaitCursor;
    QString folder;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
      inDialog = QApplication::overrideCursor()->shape();
      folder = dialog->directory().absolutePath();
      dialog->reject();
    });
    services.GetSaveFileName(nullptr, QStringLiteral("Create UNWRAP LAS File"),
                             QStringLiteral("LAS files (*.las)"), dir.path() + QStringLiteral("/*.las"),
                             QStringLiteral("las"), true);
    QCOMPARE(inDialog, Qt::ArrowCursor);
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QApplication::restoreOverrideCursor();
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  void EditorLauncherIsWatchedUntilItEnds_data() {
    QTest::addColumn<QByteArray>("script");  // empty: no such program
    // How the reason begins ("" when no failure is reported); LAUNCHER and FILE stand
    // for the launcher's and the file's paths.
    QTest::addColumn<QString>("reason");
    QTest::newRow("hands over and ends well") << QByteArray("exit 0") << QString();
    QTest::newRow("ends with a failure status")
        << QByteArray("echo \"$1: no application for this file\" >&2; exit 4")
        << QStringLiteral("LAUNCHER ended with exit status 4.\nFILE: no application for this file");
    QTest::newRow("ended by a signal")
        << QByteArray("kill -KILL $$") << QStringLiteral("LAUNCHER was ended by a signal.");
    QTest::newRow("not installed") << QByteArray() << QStringLiteral("LAUNCHER: ");
  }

  void EditorLauncherIsWatchedUntilItEnds() {
    QFETCH(QByteArray, script);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString launcher = dir.filePath(QStringLiteral("open-in-editor"));
    if (!script.isEmpty()) {
      QFile file(launcher);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("#!/bin/sh\n" + script + "\n");
      file.close();
      QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    const QString path = dir.filePath(QStringLiteral("well.las"));
    reason.replace(QStringLiteral("LAUNCHER"), launcher).replace(QStringLiteral("FILE"), path);
    CQtWizardServices services(launcher);
    QStringList reasons;
    services.LaunchTextEditor(path, [&](const QString& why) { reasons << why; });
    // Watched without blocking: the call has returned before the launcher ends.
    QVERIFY(reasons.isEmpty());
    // The watch ends with the launcher's process object, once its end has been handled.
    const QList<QProcess*> processes =
        QCoreApplication::instance()->findChildren<QProcess*>(Qt::FindDirectChildrenOnly);
    QVERIFY(!processes.isEmpty());
    QSignalSpy ended(processes.last(), &QObject::destroyed);
    QVERIFY(ended.wait(60000));
    if (reason.isEmpty()) {
      QVERIFY(reasons.isEmpty());
      return;
    }
    QCOMPARE(reasons.size(), 1);  // reported once
    QVERIFY2(reasons[0].startsWith(reason), qPrintable(reasons[0]));
  }

  void HelpGoesToTheInstalledHandlerOrNowhere() {
    CQtWizardServices services;
    services.ShowHelp(nullptr, QStringLiteral("ignored"));  // no handler: nothing happens
    CQtWizardServices::SetHelpHandler(&RecordHelp);
    services.ShowHelp(nullptr, QString::fromLatin1(kWizardHelpTopic));
    QCOMPARE(g_helpTopic, QStringLiteral("::/Corvane Version 10 Manual for HTML.htm#i>CORVANE"));
    CQtWizardServices::SetHelpHandler(nullptr);
  }
};

QTEST_MAIN(QtWizardServicesTest)
#include "QtWizardServicesTest.moc"
