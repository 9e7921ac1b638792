// The plot settings file with its templates: the tracks come back, curves match by
// mnemonic in any file, a file that holds no settings is refused with its reason.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "plot/PlotSettings.h"
#include "plotmodel/LasHeader.h"
#include "plotmodel/PlotLayout.h"

using namespace corvane;

namespace {

CLasHeader HeaderOf(const std::vector<std::pair<std::string, std::string>>& curves) {
  CLasHeader header;
  for (const auto& [mnemonic, unit] : curves) header.curves.push_back({mnemonic, unit, {}, {}});
  return header;
}

const CLasHeader kHeader =
    HeaderOf({{"DEPT", "M"}, {"GR", "GAPI"}, {"NPHI", "V/V"}, {"RHOB", "G/C3"}, {"ILD", "OHMM"}});

// "GR|NPHI+RHOB|ILD(log)|-SP" : tracks left to right, "+" joins curves of one track,
// "(log)" a log scale, "-" a hidden track.
QString Describe(const CPlotLayout& layout, const CLasHeader& header) {
  QStringList tracks;
  for (const CTrack& track : layout.tracks) {
    QStringList curves;
    for (const CTrackCurve& curve : track.curves)
      curves.append(QString::fromStdString(header.curves[curve.curve].mnemonic));
    tracks.append((track.hidden ? "-" : "") + curves.join('+') + (track.log ? "(log)" : ""));
  }
  return tracks.join('|');
}

}  // namespace

class PlotSettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void settingsComeBackAndTemplatesMatchByMnemonics();
};

void PlotSettingsTest::settingsComeBackAndTemplatesMatchByMnemonics() {
  QTemporaryDir dir;
  const QString las = dir.filePath("well 7.v2.las");
  QCOMPARE(SettingsPathBeside(las), dir.filePath("well 7.v2.plot.json"));

  CPlotLayout layout = CPlotLayout::Standard(kHeader);
  layout.JoinPrevious(2, 0);
  layout.tracks[0].curves[0].left = 0;
  layout.tracks[0].curves[0].right = 150;
  layout.tracks[2].hidden = true;
  QVERIFY(SavePlotSettings(SettingsPathBeside(las), layout, kHeader));
  CPlotLayout back;
  QVERIFY(LoadPlotSettings(SettingsPathBeside(las), kHeader, back));
  QVERIFY(back == layout);

  // Another file with the curves in another order and case, one missing, one more:
  // curves match by mnemonic, the missing one drops out with the track it leaves empty.
  const CLasHeader other =
      HeaderOf({{"DEPTH", "FT"}, {"ild", "OHMM"}, {"NPHI", "V/V"}, {"GR", "GAPI"}, {"CALI", "IN"}});
  QVERIFY(LoadPlotSettings(SettingsPathBeside(las), other, back));
  QCOMPARE(Describe(back, other), QStringLiteral("GR|NPHI|-ild(log)"));
  QCOMPARE(back.tracks[0].curves[0].right, std::optional<double>(150));

  // Not plot settings: refused with a reason, the layout untouched.
  QFile junk(dir.filePath("junk.plot.json"));
  QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("{\"tracks\": []}") > 0);
  junk.close();
  const CResult refused = LoadPlotSettings(junk.fileName(), kHeader, back);
  QCOMPARE(refused.Reason(), std::string("not a plot settings file"));
  QCOMPARE(Describe(back, other), QStringLiteral("GR|NPHI|-ild(log)"));
  QVERIFY(!LoadPlotSettings(dir.filePath("none.plot.json"), kHeader, back).Reason().empty());

  // The settings beside a file win; without them, a template for the same mnemonics.
  QCOMPARE(FindPlotSettings(las, dir.filePath("templates"), kHeader), SettingsPathBeside(las));
  const QString alone = dir.filePath("sub/alone.las");
  QDir().mkpath(dir.filePath("sub"));
  const QString templates = dir.filePath("templates");
  QDir().mkpath(templates);
  QVERIFY(FindPlotSettings(alone, templates, kHeader).isEmpty());
  QVERIFY(SavePlotSettings(templates + "/b-other.plot.json", layout, other));
  QVERIFY(SavePlotSettings(templates + "/c-same.plot.json", layout, kHeader));
  QVERIFY(SavePlotSettings(templates + "/d-same.plot.json", layout, kHeader));
  QFile::copy(junk.fileName(), templates + "/a-junk.plot.json");
  QCOMPARE(FindPlotSettings(alone, templates, kHeader), templates + "/c-same.plot.json");
  QCOMPARE(FindPlotSettings(alone, templates,
                            HeaderOf({{"dept", "M"}, {"gr", ""}, {"nphi", ""}, {"rhob", ""}, {"ild", ""}})),
           templates + "/c-same.plot.json");
  QCOMPARE(FindPlotSettings(alone, templates, other), templates + "/b-other.plot.json");
  QVERIFY(FindPlotSettings(alone, templates, HeaderOf({{"DEPT", "M"}, {"GR", "GAPI"}})).isEmpty());
  // A folder in the way of the file: refused with the system's reason, nothing written.
  QDir().mkpath(dir.filePath("taken.plot.json"));
  QVERIFY(!SavePlotSettings(dir.filePath("taken.plot.json"), layout, kHeader).Reason().empty());
}

QTEST_MAIN(PlotSettingsTest)
#include "PlotSettingsTest.moc"
