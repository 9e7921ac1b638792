#include "PlotTestFiles.h"

#include <QFile>

namespace corvane::test {

QByteArray CTestLas::Text() const {
  QByteArray text;
  text += "~VERSION INFORMATION\r\n VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\r\n";
  text += wrapped ? " WRAP.   YES : Multiple lines per depth step\r\n"
                  : " WRAP.   NO : One line per depth step\r\n";
  text += "~WELL INFORMATION\r\n";
  text += "STRT.M " + QByteArray::number(Depth(0), 'f', 4) + " : START DEPTH\r\n";
  text += "STOP.M " + QByteArray::number(Depth(rows - 1), 'f', 4) + " : STOP DEPTH\r\n";
  text += "STEP.M " + QByteArray::number(step, 'f', 4) + " : STEP\r\n";
  text += "NULL.   -999.25 : NULL VALUE\r\nWELL.   TEST WELL 1 : WELL\r\n";
  text += "~CURVE INFORMATION\r\n";
  for (const auto& [mnemonic, unit] : curves)
    text +=
        QByteArray(" ") + mnemonic.c_str() + "." + unit.c_str() + "  : " + mnemonic.c_str() + " curve\r\n";
  text += "~PARAMETER INFORMATION\r\n BHT.DEGC   35.5 : BOTTOM HOLE TEMPERATURE\r\n";
  text += "~OTHER\r\n  Made for a test.\r\n~A\r\n";
  for (int row = 0; row < rows; ++row) {
    for (std::size_t c = 0; c < curves.size(); ++c) {
      const double v = Value(row, static_cast<int>(c));
      const QByteArray field = std::isnan(v) ? QByteArray("-999.25") : QByteArray::number(v, 'f', 4);
      text += field.rightJustified(12);
      // Wrapped: the depth alone, then lines of up to five readings.
      if (wrapped && (c == 0 || c % 5 == 0 || c + 1 == curves.size())) text += "\r\n";
    }
    if (!wrapped) text += "\r\n";
  }
  return text;
}

bool CTestLas::Write(const QString& path) const {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(Text()) >= 0;
}

}  // namespace corvane::test
