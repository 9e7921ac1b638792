#include "app/HelpTopics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace corvane {
namespace {

// The page that the legacy topic file name stands for.
const char* const kLegacyTopicPage = "Corvane Version 10 Manual for HTML.htm";
const char* const kPopupFile = "ids.txt";

struct TopicPage {
  unsigned topicNumber;
  const char* page;
};

// Low 16 bits 102..106 of a context number; 103 to 106 are the wizard pages (their
// resource numbers), 102 belongs to no window of the program and opens the start page.
// The LAS window came later, with a number of its own.
constexpr TopicPage kTopicPages[] = {
    {kResourceHelpBase + 102, "index.html"}, {kResourceHelpBase + 103, "step1.html"},
    {kResourceHelpBase + 104, "step3.html"}, {kResourceHelpBase + 105, "step2.html"},
    {kResourceHelpBase + 106, "step4.html"}, {kResourceHelpBase + kLasWindowHelpResource, "las-window.html"},
};

QString ManualDir(const QString& helpFilePath) { return QFileInfo(helpFilePath).absolutePath(); }

// The file `page` of the manual with `fragment`, or an empty URL when it is missing.
QUrl PageUrl(const QString& helpFilePath, const QString& page, const QString& fragment) {
  if (helpFilePath.isEmpty() || !QFileInfo(helpFilePath).isFile()) return {};
  QFileInfo file(QDir(ManualDir(helpFilePath)), page);
  if (!file.isFile()) return {};
  QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
  if (!fragment.isEmpty()) url.setFragment(fragment);
  return url;
}

}  // namespace

QString BuildHelpFilePath(const QString& executableDir) {
  const QChar sep = QDir::separator();
  QString dir = executableDir;
  while (dir.size() > 1 && (dir.endsWith(u'/') || dir.endsWith(sep))) dir.chop(1);
  QString besideProgram =
      dir + sep + QLatin1String(kManualFolderName) + sep + QLatin1String(kManualStartPage);
  if (QFileInfo(besideProgram).isFile()) return besideProgram;
  const QString installed = QDir::cleanPath(dir + u'/' + QLatin1String(kInstalledManualDir) + u'/' +
                                            QLatin1String(kManualStartPage));
  if (QFileInfo(installed).isFile()) return QDir::toNativeSeparators(installed);
  return besideProgram;
}

unsigned long WizardPageHelpContext(const QString& caption) {
  // The resource numbers of the pages' templates.
  static const struct {
    const char* caption;
    unsigned resource;
  } kPages[] = {{"Step 1", 103}, {"Step 2", 105}, {"Step 3", 104}, {"Step 4", 106}};
  for (const auto& page : kPages)
    if (caption == QLatin1String(page.caption)) return kResourceHelpBase + page.resource;
  return 0;
}

std::optional<unsigned> ContextTopicNumber(unsigned long context) {
  const unsigned low = static_cast<unsigned>(context & 0xFFFFu);
  for (const TopicPage& entry : kTopicPages)
    if (entry.topicNumber == kResourceHelpBase + low) return entry.topicNumber;
  return std::nullopt;
}

QUrl ResolveHelpTopic(const QString& helpFilePath, const QString& topic) {
  // "[help file]::/page#anchor>window": the part after "::" names the page.
  QString rest = topic;
  const qsizetype inFile = rest.indexOf(QLatin1String("::"));
  if (inFile >= 0) rest = rest.mid(inFile + 2);
  while (rest.startsWith(u'/') || rest.startsWith(u'\\')) rest.remove(0, 1);
  const qsizetype window = rest.lastIndexOf(u'>');
  if (window >= 0) rest.truncate(window);
  QString fragment;
  const qsizetype anchor = rest.indexOf(u'#');
  if (anchor >= 0) {
    fragment = rest.mid(anchor + 1);
    rest.truncate(anchor);
  }
  QString page = rest.trimmed();
  if (page.isEmpty() || page.compare(QLatin1String(kLegacyTopicPage), Qt::CaseInsensitive) == 0)
    page = QLatin1String(kManualStartPage);
  if (page.contains(QLatin1String(".."))) return {};
  return PageUrl(helpFilePath, page, fragment);
}

QUrl ResolveTopicNumber(const QString& helpFilePath, unsigned topicNumber) {
  for (const TopicPage& entry : kTopicPages)
    if (entry.topicNumber == topicNumber) return PageUrl(helpFilePath, QLatin1String(entry.page), {});
  return {};
}

QString PopupText(const QString& helpFilePath, unsigned topicNumber) {
  if (helpFilePath.isEmpty() || !QFileInfo(helpFilePath).isFile()) return {};
  QFile file(QDir(ManualDir(helpFilePath)).filePath(QLatin1String(kPopupFile)));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  // One popup per line: the topic number, blanks, the text; "\n" in the text breaks
  // the line; lines starting with "#" are comments.
  QTextStream in(&file);
  const QString wanted = QString::number(topicNumber);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    const qsizetype blank = line.indexOf(u' ');
    if (blank <= 0 || line.left(blank) != wanted) continue;
    QString text = line.mid(blank + 1).trimmed();
    text.replace(QLatin1String("\\n"), QLatin1String("\n"));
    return text;
  }
  return {};
}

}  // namespace corvane
