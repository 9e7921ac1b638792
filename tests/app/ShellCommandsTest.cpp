// The commands of the application: File New and File Open run the wizard modally and
// leave the main window as it was; the recent-file list; document windows whose saving
// never touches the configuration file they came from.
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include "AppFakes.h"
#include "app/AboutDlg.h"
#include "app/CorvaneDoc.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "wizard/CorvanePropSheet.h"

using namespace corvane;
using namespace corvane::test;

namespace {

const QByteArray kConfig =
    "[File ID]\r\nID=Corvane\r\nVERSION=3.0\r\n[User Files]\r\nASCII FILE=/data/well 7.asc\r\n"
    "LAS FILE=\r\n[Curves]\r\nTOTAL=0\r\n";

}  // namespace

class ShellCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void fileNewRunsWizardOverNewSetupAndKeepsMainWindow();
  void fileOpenCancelledStartsNothing();
  void openDialogOffersConfigurationFilesFirst();
  void fileOpenRunsWizardOnChosenFile();
  void fileOpenOfUnrecognisedFileStillOpensWizard();
  void recentListKeepsFourEntriesBetweenRuns();
  void recentListEntryOpensDocumentWindow();
  void windowsAndFoldersAreRememberedBetweenRuns();
  void missingRecentFileIsReportedAndDropped();
  void droppedConfigurationFilesOpenDocumentWindows();
  void savingDocumentWindowLeavesConfigurationFileUnchanged();
  void printingAndPageSetupGoThroughTheirDialogs();
  void aboutBoxShowsNameAndVersion();
  void desktopEntryAndMimeTypeOfConfigurationFiles();
};

void ShellCommandsTest::fileNewRunsWizardOverNewSetupAndKeepsMainWindow() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  for (int run = 0; run < 2; ++run) {  // a second wizard can follow the first
    bool seen = false;
    CloseNextModal([&](QWidget* modal) {
      auto* sheet = qobject_cast<CCorvanePropSheet*>(modal);
      QVERIFY(sheet);
      QCOMPARE(sheet->parentWidget(), frame);
      QVERIFY(sheet->Setup() == CConversionSetup{});
      seen = true;
    });
    frame->Action(Command::FileNew)->trigger();
    QVERIFY(seen);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->MdiArea()->subWindowList().size(), 0);
    QCOMPARE(frame->MenuSet(), 2);
    QVERIFY(frame->findChildren<CCorvanePropSheet*>().isEmpty());  // the sheet is gone
  }
  QVERIFY(fx.wizardServices.messages.isEmpty());  // no load, no message
  QVERIFY(fx.dialogs.calls.isEmpty());
}

void ShellCommandsTest::fileOpenCancelledStartsNothing() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  bool wizardStarted = false;
  connect(fx.app.get(), &CCorvaneApp::WizardStarting, this, [&] { wizardStarted = true; });
  fx.app->MainFrame()->Action(Command::FileOpen)->trigger();
  QCOMPARE(fx.dialogs.calls,
           QStringList{"open:Open Configuration File|LAS Header Files (*.lah);;All Files (*)|*.lah|lah"});
  QVERIFY(!wizardStarted);
  QCOMPARE(fx.app->MainFrame()->MdiArea()->subWindowList().size(), 0);
  QVERIFY(fx.app->RecentFiles().Entries().isEmpty());
}

void ShellCommandsTest::openDialogOffersConfigurationFilesFirst() {
  // The on-screen dialog as File Open sets it up; closing it is a cancel.
  CQtShellDialogs dialogs;
  QString title, selectedFilter, suffix;
  QStringList filters;
  CloseNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog);
    title = dialog->windowTitle();
    filters = dialog->nameFilters();
    selectedFilter = dialog->selectedNameFilter();
    suffix = dialog->defaultSuffix();
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
  });
  const QString chosen = dialogs.GetOpenFileName(nullptr, "Open Configuration File",
                                                 "LAS Header Files (*.lah);;All Files (*)", "*.lah", "lah");
  QVERIFY(chosen.isEmpty());
  QCOMPARE(title, QStringLiteral("Open Configuration File"));
  QCOMPARE(filters, (QStringList{"LAS Header Files (*.lah)", "All Files (*)"}));
  QCOMPARE(selectedFilter, QStringLiteral("LAS Header Files (*.lah)"));
  QCOMPARE(suffix, QStringLiteral("lah"));
}

void ShellCommandsTest::fileOpenRunsWizardOnChosenFile() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  const QString path = fx.WriteFile("well 7.lah", kConfig);
  fx.dialogs.openAnswers = {path};
  QString loadedAscii;
  std::string configPath;
  CloseNextModal([&](QWidget* modal) {
    auto* sheet = qobject_cast<CCorvanePropSheet*>(modal);
    QVERIFY(sheet);
    configPath = sheet->Setup().configFilePath;
    loadedAscii = QString::fromStdString(sheet->Setup().asciiFilePath);
  });
  fx.app->OnFileOpen();
  QCOMPARE(QString::fromStdString(configPath), path);
  QCOMPARE(loadedAscii, QStringLiteral("/data/well 7.asc"));  // the wizard loaded the file
  QVERIFY(fx.wizardServices.messages.isEmpty());
  // The chosen file is not a recent document, and no document window opened.
  QVERIFY(fx.app->RecentFiles().Entries().isEmpty());
  QCOMPARE(fx.app->MainFrame()->MdiArea()->subWindowList().size(), 0);
  QCOMPARE(ReadAll(path), kConfig);  // opening and closing the wizard saves nothing
}

void ShellCommandsTest::fileOpenOfUnrecognisedFileStillOpensWizard() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  fx.dialogs.openAnswers = {fx.WriteFile("other.lah", "[File ID]\r\nID=corvane\r\n")};
  bool opened = false;
  CloseNextModal([&](QWidget* modal) { opened = qobject_cast<CCorvanePropSheet*>(modal) != nullptr; });
  fx.app->OnFileOpen();
  QVERIFY(opened);
  QCOMPARE(fx.wizardServices.messages, QStringList{"Unrecognized Configuration File."});
}

void ShellCommandsTest::recentListKeepsFourEntriesBetweenRuns() {
  QTemporaryDir dir;
  const QString settingsFile = dir.filePath("recent.ini");
  CRecentFileList list;
  for (int i = 1; i <= 6; ++i) list.Add(dir.filePath(QString("f%1.lah").arg(i)));
  list.Add(dir.filePath("f4.lah"));  // an entry opened again moves to the top, once
  const QStringList expected = {dir.filePath("f4.lah"), dir.filePath("f6.lah"), dir.filePath("f5.lah"),
                                dir.filePath("f3.lah")};
  QCOMPARE(list.Entries(), expected);
  QCOMPARE(list.MenuText(0), "&1 " + dir.filePath("f4.lah"));
  QVERIFY(list.MenuText(4).isEmpty());
  {
    QSettings settings(settingsFile, QSettings::IniFormat);
    list.Save(settings);
  }
  QSettings settings(settingsFile, QSettings::IniFormat);
  CRecentFileList again;
  again.Load(settings);
  QCOMPARE(again.Entries(), expected);
  QCOMPARE(settings.value("Recent File List/File1").toString(), dir.filePath("f4.lah"));
  QVERIFY(!settings.contains("Recent File List/File5"));

  // The application keeps the list across runs too.
  CAppFixture fx;
  {
    QVERIFY(fx.app->InitInstance());
    for (int i = 1; i <= 5; ++i)
      QVERIFY(fx.app->OpenDocumentFile(fx.WriteFile(QString("d%1.lah").arg(i), kConfig)));
    fx.app.reset();
  }
  CCorvaneApp::Options options;
  options.settingsFile = fx.SettingsFile();
  options.dialogs = &fx.dialogs;
  options.help = &fx.help;
  CCorvaneApp second(options);
  QVERIFY(second.InitInstance());
  QCOMPARE(second.RecentFiles().Entries().size(), 4);
  QCOMPARE(second.RecentFiles().Entries().first(), fx.dir.filePath("d5.lah"));
  QCOMPARE(second.RecentFiles().Entries().last(), fx.dir.filePath("d2.lah"));
  QCOMPARE(second.MainFrame()->RecentFileActions().at(3)->text(), "&4 " + fx.dir.filePath("d2.lah"));
  QCOMPARE(second.MainFrame()->MdiArea()->subWindowList().size(), 0);  // nothing reopens by itself
}

void ShellCommandsTest::windowsAndFoldersAreRememberedBetweenRuns() {
  CAppFixture fx;
  QVERIFY(QDir(fx.dir.path()).mkpath("setups"));
  const QString lah = fx.WriteFile("setups/well.lah", kConfig);
  const QRect placed(30, 40, 640, 480);
  QSize wizardSize;
  {
    QVERIFY(fx.app->InitInstance());
    CMainFrame* frame = fx.app->MainFrame();
    QVERIFY(frame->isMaximized());  // the first run
    fx.dialogs.openAnswers = {lah};
    CloseNextModal([&](QWidget* wizard) {
      wizardSize = wizard->size() + QSize(50, 40);
      wizard->resize(wizardSize);
    });
    fx.app->OnFileOpen();
    frame->showNormal();
    frame->setGeometry(placed);
    frame->close();
    fx.app.reset();
  }
  CCorvaneApp::Options options;
  options.settingsFile = fx.SettingsFile();
  options.dialogs = &fx.dialogs;
  options.wizardServices = &fx.wizardServices;
  options.help = &fx.help;
  CCorvaneApp second(options);
  QVERIFY(second.InitInstance());
  QVERIFY(!second.MainFrame()->isMaximized());
  QCOMPARE(second.MainFrame()->geometry(), placed);
  // File Open starts in the folder of the last file chosen; the wizard opens as it was left.
  QSize reopened;
  CloseNextModal([&](QWidget* wizard) { reopened = wizard->size(); });
  fx.dialogs.openAnswers = {lah};
  second.OnFileOpen();
  QCOMPARE(fx.dialogs.calls.last(), "open:Open Configuration File|LAS Header Files (*.lah);;All Files (*)|" +
                                        fx.dir.filePath("setups/*.lah") + "|lah");
  QCOMPARE(reopened, wizardSize);
}

void ShellCommandsTest::recentListEntryOpensDocumentWindow() {
  CAppFixture fx;
  const QString path = fx.WriteFile("well.lah", kConfig);
  {
    QSettings settings(fx.SettingsFile(), QSettings::IniFormat);
    settings.setValue("Recent File List/File1", path);
  }
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  QAction* entry = frame->RecentFileActions().first();
  QVERIFY(entry->isVisible());
  entry->trigger();
  QCOMPARE(frame->MdiArea()->subWindowList().size(), 1);
  QCOMPARE(frame->MdiArea()->subWindowList().first()->windowTitle(), QStringLiteral("well.lah"));
  QCOMPARE(frame->MenuSet(), 3);
  QCOMPARE(ReadAll(path), kConfig);
  QVERIFY(fx.wizardServices.messages.isEmpty());  // a document window is not a wizard
}

void ShellCommandsTest::missingRecentFileIsReportedAndDropped() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  const QString path = fx.WriteFile("gone.lah", kConfig);
  fx.app->AddToRecentFileList(path);
  QFile::remove(path);
  fx.app->MainFrame()->RecentFileActions().first()->trigger();
  QCOMPARE(fx.dialogs.calls, QStringList{"error:Failed to open document."});
  QVERIFY(fx.app->RecentFiles().Entries().isEmpty());
  QVERIFY(!fx.app->MainFrame()->RecentFileActions().first()->isVisible());
  QCOMPARE(fx.app->MainFrame()->MdiArea()->subWindowList().size(), 0);
}

void ShellCommandsTest::droppedConfigurationFilesOpenDocumentWindows() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  const QString lah = fx.WriteFile("drop.LAH", kConfig);
  const QString asc = fx.WriteFile("data.asc", "1 2 3\n");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(lah), QUrl::fromLocalFile(asc)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(frame, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(frame, &drop);
  QCOMPARE(frame->MdiArea()->subWindowList().size(), 1);  // only the configuration file
  QCOMPARE(fx.app->RecentFiles().Entries(), QStringList{lah});

  QMimeData other;
  other.setUrls({QUrl::fromLocalFile(asc)});
  QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
  refused.setAccepted(false);
  QCoreApplication::sendEvent(frame, &refused);
  QVERIFY(!refused.isAccepted());
}

void ShellCommandsTest::savingDocumentWindowLeavesConfigurationFileUnchanged() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  const QString path = fx.WriteFile("keep.lah", kConfig);
  CCorvaneDoc* doc = fx.app->OpenDocumentFile(path);
  QVERIFY(doc);
  QVERIFY(!doc->IsModified());

  frame->Action(Command::FileSave)->trigger();
  QCOMPARE(ReadAll(path), kConfig);

  // Save As onto the file itself, by another name (a symbolic link): nothing is written.
  const QString link = fx.dir.filePath("link.lah");
  QVERIFY(QFile::link(path, link));
  fx.dialogs.saveAnswers = {path, link};
  frame->Action(Command::FileSaveAs)->trigger();
  frame->Action(Command::FileSaveAs)->trigger();
  QCOMPARE(ReadAll(path), kConfig);
  QVERIFY(QFileInfo(link).isSymLink());
  QVERIFY(!fx.dialogs.calls.join("\n").contains("error:"));

  // Save As to a new name writes a copy and the window takes that name.
  const QString copy = fx.dir.filePath("copy.lah");
  fx.dialogs.saveAnswers = {copy};
  frame->Action(Command::FileSaveAs)->trigger();
  QCOMPARE(ReadAll(copy), kConfig);
  QCOMPARE(ReadAll(path), kConfig);
  QCOMPARE(doc->PathName(), copy);
  QCOMPARE(frame->MdiArea()->subWindowList().first()->windowTitle(), QStringLiteral("copy.lah"));
  QCOMPARE(fx.app->RecentFiles().Entries().first(), copy);

  // Save As cancelled changes nothing; printing reads nothing back into the file.
  frame->Action(Command::FileSaveAs)->trigger();
  frame->Action(Command::FilePrint)->trigger();
  QCOMPARE(doc->PathName(), copy);
  QCOMPARE(ReadAll(path), kConfig);
  QCOMPARE(ReadAll(copy), kConfig);
  QCOMPARE(fx.dialogs.calls.last(), "print:" + copy);

  // Printing into a file: a PDF of the page, but never over the configuration file.
  const QString pdf = fx.dir.filePath("page.pdf");
  fx.dialogs.printToFile = pdf;
  frame->Action(Command::FilePrint)->trigger();
  QVERIFY(ReadAll(pdf).startsWith("%PDF"));
  fx.dialogs.printToFile = copy;
  frame->Action(Command::FilePrint)->trigger();
  QCOMPARE(ReadAll(copy), kConfig);
  fx.dialogs.printToFile.clear();

  // Save As back onto the file the window was opened from, after the copy has changed
  // (a wizard saved into it): that file is still not written, and the window takes its
  // name again.
  const QByteArray changed = kConfig + "[LAS HEADER]\r\nWELL NAME=changed\r\n";
  fx.WriteFile("copy.lah", changed);
  fx.dialogs.saveAnswers = {path};
  frame->Action(Command::FileSaveAs)->trigger();
  QCOMPARE(ReadAll(path), kConfig);
  QCOMPARE(ReadAll(copy), changed);
  QCOMPARE(doc->PathName(), path);
  QVERIFY(!fx.dialogs.calls.join("\n").contains("error:"));
}

void ShellCommandsTest::printingAndPageSetupGoThroughTheirDialogs() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  CMainFrame* frame = fx.app->MainFrame();
  frame->Action(Command::FilePrintSetup)->trigger();
  QCOMPARE(fx.dialogs.calls, QStringList{"pagesetup"});
  const QString path = fx.WriteFile("p.lah", kConfig);
  QVERIFY(fx.app->OpenDocumentFile(path));
  frame->Action(Command::FilePrintPreview)->trigger();
  QCOMPARE(fx.dialogs.calls.last(), "preview:" + path);
}

void ShellCommandsTest::aboutBoxShowsNameAndVersion() {
  CAppFixture fx;
  QVERIFY(fx.app->InitInstance());
  QString title;
  QStringList texts;
  bool hasIcon = false;
  CloseNextModal([&](QWidget* modal) {
    title = modal->windowTitle();
    for (QLabel* label : modal->findChildren<QLabel*>()) {
      if (!label->text().isEmpty()) texts.append(label->text());
      if (!label->pixmap().isNull()) hasIcon = true;
    }
    for (QPushButton* button : modal->findChildren<QPushButton*>()) texts.append(button->text());
  });
  fx.app->MainFrame()->Action(Command::AppAbout)->trigger();
  QCOMPARE(title, QStringLiteral("About Corvane"));
  QCOMPARE(texts, (QStringList{"Corvane V2018", "OK"}));
  QVERIFY(hasIcon);
}

void ShellCommandsTest::desktopEntryAndMimeTypeOfConfigurationFiles() {
  // The file types that file managers show for ".lah" and ".las" files; the first is
  // the document type's name.
  QFile mime(CORVANE_SOURCE_DIR "/data/corvane-mime.xml");
  QVERIFY(mime.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&mime);
  QStringList types, comments, globs;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"mime-type") types.append(xml.attributes().value("type").toString());
    if (xml.name() == u"comment") comments.append(xml.readElementText());
    if (xml.name() == u"glob") globs.append(xml.attributes().value("pattern").toString());
  }
  QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
  QCOMPARE(comments, (QStringList{"Header Document", "LAS Well Log"}));
  QCOMPARE(globs, (QStringList{"*.lah", "*.las"}));

  // The desktop entry passes the files to open (the program reads its command line)
  // and offers the program for both types.
  QFile desktop(CORVANE_SOURCE_DIR "/data/corvane.desktop");
  QVERIFY(desktop.open(QIODevice::ReadOnly | QIODevice::Text));
  QHash<QString, QString> entry;
  for (const QByteArray& line : desktop.readAll().split('\n'))
    if (const qsizetype eq = line.indexOf('='); eq > 0)
      entry.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
  QCOMPARE(entry.value("Exec"), QStringLiteral("corvane %F"));
  QCOMPARE(entry.value("Icon"), QStringLiteral("corvane"));
  QCOMPARE(entry.value("MimeType"), types.join(';') + ";");
  QVERIFY(QFileInfo::exists(CORVANE_SOURCE_DIR "/data/corvane.svg"));
}

QTEST_MAIN(ShellCommandsTest)
#include "ShellCommandsTest.moc"
