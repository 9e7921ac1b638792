// The plot settings file with its templates: the tracks come back (with their widths,
// fills and the depth track's place), curves match by mnemonic in any file, a file as
// written before fills and widths were known gets the fills its tracks call for, a file
// that holds no settings is refused with its reason.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "PlotTestFiles.h"
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

QString Describe(const CPlotLayout& layout, const CLasHeader& header) {
  return QString::fromStdString(test::DescribeLayout(layout, header));
}

}  // namespace

class PlotSettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void settingsComeBackAndTemplatesMatchByMnemonics();
  void settingsOfBeforeFillsGetTheirFills_data();
  void settingsOfBeforeFillsGetTheirFills();
};

void PlotSettingsTest::settingsComeBackAndTemplatesMatchByMnemonics() {
  QTemporaryDir dir;
  const QString las = dir.filePath("well 7.v2.las");
  QCOMPARE(SettingsPathBeside(las), dir.filePath("well 7.v2.plot.json"));

  // Standard: GR{G}|D|ILD(log)|NPHI+RHOB{X}; NPHI to a track of its own after ILD,
  // the crossover switched off, widths, a hidden track, the depth track last.
  CPlotLayout layout = CPlotLayout::Standard(kHeader);
  QCOMPARE(Describe(layout, kHeader), QStringLiteral("GR{G}|D|ILD(log)|NPHI+RHOB{X}"));
  layout.tracks[2].fills[0].on = false;
  QVERIFY(layout.MoveTrack(2, -1));
  layout.tracks[0].curves[0].left = 0;
  layout.tracks[0].curves[0].right = 200;
  layout.tracks[0].width = 90;
  layout.tracks[2].hidden = true;
  layout.depthTrack = 3;
  QCOMPARE(Describe(layout, kHeader), QStringLiteral("GR{G}[90]|NPHI+RHOB{x}|-ILD(log)|D"));
  QVERIFY(SavePlotSettings(SettingsPathBeside(las), layout, kHeader));
  CPlotLayout back;
  QVERIFY(LoadPlotSettings(SettingsPathBeside(las), kHeader, back));
  QVERIFY(back == layout);

  // Another file with the curves in another order and case, one missing, one more:
  // curves match by mnemonic, the missing one drops out with the track it leaves empty
  // and a fill that needs it; the depth track keeps its place after the tracks kept.
  const CLasHeader other =
      HeaderOf({{"DEPTH", "FT"}, {"ild", "OHMM"}, {"NPHI", "V/V"}, {"GR", "GAPI"}, {"CALI", "IN"}});
  QVERIFY(LoadPlotSettings(SettingsPathBeside(las), other, back));
  QCOMPARE(Describe(back, other), QStringLiteral("GR{G}[90]|NPHI|-ild(log)|D"));
  QCOMPARE(back.tracks[0].curves[0].right, std::optional<double>(200));

  // Not plot settings: refused with a reason, the layout untouched.
  QFile junk(dir.filePath("junk.plot.json"));
  QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("{\"tracks\": []}") > 0);
  junk.close();
  const CResult refused = LoadPlotSettings(junk.fileName(), kHeader, back);
  QCOMPARE(refused.Reason(), std::string("not a plot settings file"));
  QCOMPARE(Describe(back, other), QStringLiteral("GR{G}[90]|NPHI|-ild(log)|D"));
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

void PlotSettingsTest::settingsOfBeforeFillsGetTheirFills_data() {
  QTest::addColumn<QByteArray>("tracks");  // the "tracks" array as a file of before wrote it
  QTest::addColumn<QString>("layout");
  const QByteArray grTrack =
      R"({"scale": "linear", "hidden": false, "curves": [{"mnemonic": "GR", "right": 200}]})";
  const QByteArray ndTrack =
      R"({"scale": "linear", "hidden": false, "curves": [{"mnemonic": "NPHI"}, {"mnemonic": "RHOB"}]})";
  const QByteArray ildTrack = R"({"scale": "log", "hidden": true, "curves": [{"mnemonic": "ILD"}]})";
  QTest::newRow("no fills: the ones the tracks call for; the depth track first")
      << "[" + grTrack + "," + ndTrack + "," + ildTrack + "]" << QString("D|GR{G}|NPHI+RHOB{X}|-ILD(log)");
  QTest::newRow("fills written: as written")
      << QByteArray(R"([{"scale": "linear", "curves": [{"mnemonic": "GR"}], "fills": []},
            {"scale": "linear", "curves": [{"mnemonic": "NPHI"}, {"mnemonic": "RHOB"}],
             "fills": [{"kind": "crossover", "curve": "RHOB", "other": "NPHI", "color": "#00ff00", "on": false}]}])")
      << QString("D|GR|NPHI+RHOB{x}");
  QTest::newRow("fills of curves not in the track, or of no kind known: left out")
      << QByteArray(
             R"([{"curves": [{"mnemonic": "GR"}], "fills": [{"kind": "left", "curve": "ILD"}, {"kind": "hatch", "curve": "GR"}]}])")
      << QString("D|GR");
}

void PlotSettingsTest::settingsOfBeforeFillsGetTheirFills() {
  QFETCH(QByteArray, tracks);
  QFETCH(QString, layout);
  QTemporaryDir dir;
  QFile file(dir.filePath("old.plot.json"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(R"({"corvanePlotSettings": 1, "curves": ["DEPT", "GR", "NPHI", "RHOB", "ILD"], "tracks": )" +
             tracks + "}");
  file.close();
  CPlotLayout loaded;
  const CResult result = LoadPlotSettings(file.fileName(), kHeader, loaded);
  QVERIFY2(result, result.Reason().c_str());
  QCOMPARE(Describe(loaded, kHeader), layout);
  for (const CTrack& track : loaded.tracks)
    for (const CTrackFill& fill : track.fills)
      if (fill.kind == FillKind::Crossover && !fill.on) QCOMPARE(fill.color, (CRgb{0, 0xff, 0}));
}

QTEST_MAIN(PlotSettingsTest)
#include "PlotSettingsTest.moc"
