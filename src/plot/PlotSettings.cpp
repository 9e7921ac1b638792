#include "plot/PlotSettings.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <optional>

#include "platform/ProgramInfo.h"
#include "plot/PlotPainter.h"
#include "plotmodel/LasHeader.h"

namespace corvane {
namespace {

const QLatin1String kFormatKey("corvanePlotSettings");
constexpr int kFormatVersion = 1;

QString Mnemonic(const CLasHeader& header, std::size_t curve) {
  return PlotText(header.curves[curve].mnemonic);
}

QSet<QString> MnemonicSet(const CLasHeader& header) {
  QSet<QString> set;
  for (std::size_t c = 0; c < header.curves.size(); ++c) set.insert(Mnemonic(header, c).toUpper());
  return set;
}

CResult Failed(const QString& reason) { return CResult::Failed(reason.toLocal8Bit().toStdString()); }

CResult ReadSettings(const QString& path, QJsonObject& settings) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Failed(file.errorString());
  QJsonParseError parse{};
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parse);
  if (parse.error != QJsonParseError::NoError || !document.isObject() ||
      document.object().value(kFormatKey).toInt() < 1)
    return CResult::Failed("not a plot settings file");
  settings = document.object();
  return CResult::Done();
}

std::optional<double> End(const QJsonObject& object, const char* key) {
  const QJsonValue value = object.value(QLatin1String(key));
  if (!value.isDouble()) return std::nullopt;
  return value.toDouble();
}

}  // namespace

QString DefaultTemplateFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
         QLatin1String(kAppTitle) + QStringLiteral("/plot-templates");
}

QString SettingsPathBeside(const QString& lasPath) {
  const QFileInfo info(lasPath);
  return info.dir().filePath(info.completeBaseName() + QLatin1String(kPlotSettingsSuffix));
}

CResult LoadPlotSettings(const QString& path, const CLasHeader& header, CPlotLayout& loaded) {
  QJsonObject settings;
  if (CResult read = ReadSettings(path, settings); !read) return read;
  CPlotLayout layout;
  layout.families = FamiliesOf(header);
  std::vector<bool> used(header.curves.size(), false);
  const QJsonArray tracks = settings.value(QLatin1String("tracks")).toArray();
  // Settings of before the depth track could move have it first.
  const auto depthTrack =
      static_cast<qsizetype>(std::max(0, settings.value(QLatin1String("depthTrack")).toInt(0)));
  for (qsizetype t = 0; t < tracks.size(); ++t) {
    if (t == depthTrack) layout.depthTrack = layout.tracks.size();
    const QJsonObject trackObject = tracks.at(t).toObject();
    CTrack track;
    track.log = trackObject.value(QLatin1String("scale")).toString() == QLatin1String("log");
    track.hidden = trackObject.value(QLatin1String("hidden")).toBool(false);
    if (const auto width = End(trackObject, "width"); width && *width > 0) track.width = width;
    for (const auto& curveValue : trackObject.value(QLatin1String("curves")).toArray()) {
      const QJsonObject curveObject = curveValue.toObject();
      const QString mnemonic = curveObject.value(QLatin1String("mnemonic")).toString();
      // A mnemonic that a file repeats names its curves in turn.
      for (std::size_t c = 0; c < header.curves.size(); ++c) {
        if (used[c] || Mnemonic(header, c).compare(mnemonic, Qt::CaseInsensitive) != 0) continue;
        used[c] = true;
        track.curves.push_back({c, End(curveObject, "left"), End(curveObject, "right")});
        break;
      }
    }
    if (track.curves.empty()) continue;
    if (!trackObject.contains(QLatin1String("fills"))) {
      // Settings of before the fills: the fills the track's curves call for.
      track.fills = DefaultFills(track.curves, layout.families);
    } else {
      auto curveNamed = [&](const QJsonValue& name) -> std::optional<std::size_t> {
        for (const CTrackCurve& curve : track.curves)
          if (Mnemonic(header, curve.curve).compare(name.toString(), Qt::CaseInsensitive) == 0)
            return curve.curve;
        return std::nullopt;
      };
      for (const auto& fillValue : trackObject.value(QLatin1String("fills")).toArray()) {
        const QJsonObject fillObject = fillValue.toObject();
        CTrackFill fill;
        const QString kind = fillObject.value(QLatin1String("kind")).toString();
        if (kind == QLatin1String("crossover"))
          fill.kind = FillKind::Crossover;
        else if (kind != QLatin1String("left"))
          continue;
        const auto curve = curveNamed(fillObject.value(QLatin1String("curve")));
        const auto other =
            fill.kind == FillKind::Crossover ? curveNamed(fillObject.value(QLatin1String("other"))) : curve;
        if (!curve || !other) continue;
        fill.curve = *curve;
        fill.other = *other;
        const QColor color(fillObject.value(QLatin1String("color")).toString());
        const CRgb standard = fill.kind == FillKind::Crossover ? kCrossoverFill : kGammaRayFill;
        fill.color = color.isValid() ? CRgb{static_cast<std::uint8_t>(color.red()),
                                            static_cast<std::uint8_t>(color.green()),
                                            static_cast<std::uint8_t>(color.blue())}
                                     : standard;
        fill.on = fillObject.value(QLatin1String("on")).toBool(true);
        track.fills.push_back(fill);
      }
    }
    layout.tracks.push_back(std::move(track));
  }
  if (depthTrack >= tracks.size()) layout.depthTrack = layout.tracks.size();
  loaded = std::move(layout);
  return CResult::Done();
}

CResult SavePlotSettings(const QString& path, const CPlotLayout& layout, const CLasHeader& header) {
  QJsonArray mnemonics;
  for (std::size_t c = 0; c < header.curves.size(); ++c) mnemonics.append(Mnemonic(header, c));
  QJsonArray tracks;
  for (const CTrack& track : layout.tracks) {
    QJsonArray curves;
    for (const CTrackCurve& curve : track.curves) {
      QJsonObject object{{QStringLiteral("mnemonic"), Mnemonic(header, curve.curve)}};
      if (curve.left) object.insert(QStringLiteral("left"), *curve.left);
      if (curve.right) object.insert(QStringLiteral("right"), *curve.right);
      curves.append(object);
    }
    QJsonArray fills;
    for (const CTrackFill& fill : track.fills) {
      QJsonObject object{
          {QStringLiteral("kind"),
           fill.kind == FillKind::Crossover ? QStringLiteral("crossover") : QStringLiteral("left")},
          {QStringLiteral("curve"), Mnemonic(header, fill.curve)},
          {QStringLiteral("color"), ToQColor(fill.color).name()},
          {QStringLiteral("on"), fill.on}};
      if (fill.kind == FillKind::Crossover)
        object.insert(QStringLiteral("other"), Mnemonic(header, fill.other));
      fills.append(object);
    }
    QJsonObject object{
        {QStringLiteral("scale"), track.log ? QStringLiteral("log") : QStringLiteral("linear")},
        {QStringLiteral("hidden"), track.hidden},
        {QStringLiteral("curves"), curves},
        {QStringLiteral("fills"), fills}};
    if (track.width) object.insert(QStringLiteral("width"), *track.width);
    tracks.append(object);
  }
  const QJsonObject root{
      {kFormatKey, kFormatVersion},
      {QStringLiteral("curves"), mnemonics},
      {QStringLiteral("depthTrack"), static_cast<int>(std::min(layout.depthTrack, layout.tracks.size()))},
      {QStringLiteral("tracks"), tracks}};
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(QJsonDocument(root).toJson(QJsonDocument::Indented)) < 0 || !file.commit())
    return Failed(file.errorString());
  return CResult::Done();
}

QString FindPlotSettings(const QString& lasPath, const QString& templateDir, const CLasHeader& header) {
  QString beside = SettingsPathBeside(lasPath);
  if (QFileInfo(beside).isFile()) return beside;
  if (templateDir.isEmpty()) return {};
  const QSet<QString> wanted = MnemonicSet(header);
  const QDir dir(templateDir);
  for (const QString& name :
       dir.entryList({QStringLiteral("*") + QLatin1String(kPlotSettingsSuffix)}, QDir::Files, QDir::Name)) {
    QJsonObject settings;
    if (!ReadSettings(dir.filePath(name), settings)) continue;
    QSet<QString> made;
    for (const auto& value : settings.value(QLatin1String("curves")).toArray())
      made.insert(value.toString().toUpper());
    if (made == wanted) return dir.filePath(name);
  }
  return {};
}

}  // namespace corvane
