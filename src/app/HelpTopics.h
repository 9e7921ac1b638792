#pragma once
// Where the manual lives and how the help requests of the program find their page in
// it. Requests name topics the way the wizard and the main window always have
// ("::/Corvane Version 10 Manual for HTML.htm#i>CORVANE": a page, an anchor, a help
// window) or by topic number (context help); both resolve to pages of the HTML manual.
#include <QString>
#include <QUrl>
#include <optional>

#include "lasview/LasWindowHelp.h"

namespace corvane {

// The manual is a folder of HTML pages; its start page stands for the whole manual.
inline const char* const kManualFolderName = "CORVANE Manual";
inline const char* const kManualStartPage = "index.html";
// Where an installed program finds its manual, relative to its own folder.
inline const char* const kInstalledManualDir = "../share/corvane/manual";

// F1 in the main window.
inline const char* const kMainHelpTopic = "::/Corvane Version 10 Manual for HTML.htm>CORVANE";
// Help Index, Using Help, the finder and every unknown context.
inline const char* const kIndexHelpTopic = "::/Corvane Version 10 Manual for HTML.htm#i>CORVANE";

// Context numbers of the windows that have help of their own: a resource number
// offset by this base, as the help requests of the windows carry them.
inline constexpr unsigned kResourceHelpBase = 0x20000;

// The LAS window (the log plot) has its resource number for context help, and its page
// for F1, in lasview/LasWindowHelp.h.

// The help file path for a program in `executableDir`: that folder, the platform's
// separator, the manual folder, the separator and the start page. When that file does
// not exist but the installed manual beside the program does, the installed one.
QString BuildHelpFilePath(const QString& executableDir);

// The context number of a wizard page, by its caption ("Step 1" to "Step 4"); 0 for others.
unsigned long WizardPageHelpContext(const QString& caption);

// The topic number of a context number (only its low 16 bits count), or none.
std::optional<unsigned> ContextTopicNumber(unsigned long context);

// The page (with anchor) that a topic string names; an empty URL when the manual or
// the page does not exist.
QUrl ResolveHelpTopic(const QString& helpFilePath, const QString& topic);
// The page of a topic number; an empty URL when the manual or the page does not exist.
QUrl ResolveTopicNumber(const QString& helpFilePath, unsigned topicNumber);
// The popup text of a topic number, from the manual's "ids.txt"; empty when the
// manual has none for it.
QString PopupText(const QString& helpFilePath, unsigned topicNumber);

}  // namespace corvane
