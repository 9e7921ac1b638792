#pragma once
// Text crosses between the core (single-byte std::string) and the widgets (QString)
// in the locale's 8-bit encoding, so paths and file lines come back byte for byte.
#include <QString>
#include <string>
#include <string_view>

namespace corvane {

inline QString ToQString(std::string_view text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) {
  const QByteArray bytes = text.toLocal8Bit();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace corvane
