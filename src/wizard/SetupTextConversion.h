#pragma once
// The setup holds single-byte text with CR LF line ends and paths in the file
// system's encoding; the widgets hold QStrings with "\n" line ends. These keep the
// two sides apart in one place.
#include <QFile>
#include <QString>
#include <string>

namespace corvane {

// Setup text (single-byte, CR LF between lines) as a widget shows it.
inline QString SetupTextToQt(const std::string& text) {
  QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

// A widget's text back into setup text: every line end becomes CR LF.
inline std::string QtToSetupText(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline QString SetupPathToQt(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string QtToSetupPath(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace corvane
