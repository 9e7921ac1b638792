#include "wizard/HeaderCheck.h"

#include "las/DepthRange.h"
#include "las/LasWriter.h"

namespace corvane {
namespace {

// The well line the run writes for the UWI value is API exactly when the label is "API".
bool NamesApi(const CRequiredWellItem& item, const std::string& wellLabel) {
  return item.mnemonic == "UWI" && wellLabel == "API";
}

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::vector<const CRequiredWellItem*> LackedWellItems(const CConversionSetup& wellDetails,
                                                      const std::vector<std::string>& otherHeaderLines) {
  return MissingWellItems(CLasWriter::WellSectionLines(wellDetails, CDepthRange(), otherHeaderLines));
}

std::vector<const CRequiredWellItem*> BlankWellItems(const CConversionSetup& wellDetails,
                                                     const std::vector<std::string>& otherHeaderLines) {
  return EmptyWellItems(CLasWriter::WellSectionLines(wellDetails, CDepthRange(), otherHeaderLines));
}

QString HeaderCheckText(const std::vector<const CRequiredWellItem*>& lacked, const std::string& wellLabel,
                        bool depthCurve, const std::vector<const CRequiredWellItem*>& blank) {
  auto names = [&](const std::vector<const CRequiredWellItem*>& items) {
    QStringList list;
    for (const CRequiredWellItem* item : items)
      list << (NamesApi(*item, wellLabel) ? QStringLiteral("API") : Latin1(item->mnemonic));
    return list.join(QStringLiteral(", "));
  };
  QString text;
  if (lacked.empty() && blank.empty())
    text = QStringLiteral("The well items the LAS standard requires are all there.");
  if (!lacked.empty())
    text = QStringLiteral("Missing well items the LAS standard requires: %1.").arg(names(lacked));
  if (!blank.empty()) {
    if (!text.isEmpty()) text += QLatin1Char(' ');
    text += QStringLiteral("Required well items without a value: %1.").arg(names(blank));
  }
  if (!depthCurve)
    text += QStringLiteral(" No curve is headed DEPT or DEPTH, so STRT, STOP and STEP will be zero.");
  return text;
}

QStringList WellItemTemplates(const std::vector<const CRequiredWellItem*>& lacked,
                              const std::string& wellLabel) {
  QStringList lines;
  for (const CRequiredWellItem* item : lacked) {
    if (NamesApi(*item, wellLabel))
      lines << QStringLiteral("API.: :API NUMBER");
    else
      lines << Latin1(item->mnemonic) + QStringLiteral(".: :") + Latin1(item->title);
  }
  return lines;
}

}  // namespace corvane
