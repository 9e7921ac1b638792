// The plot's model: scale ends from the data or typed, linear and log fractions, the
// track changes of the track panel, and the plot settings file with its templates.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "plot/LasHeader.h"
#include "plot/PlotLayout.h"
#include "plot/PlotSettings.h"
#include "plot/TrackScale.h"
#include "plot/ValueSample.h"

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
QString Describe(const CPlotLayout& layout, const CLasHeader& header = kHeader) {
  QStringList tracks;
  for (const CTrack& track : layout.tracks) {
    QStringList curves;
    for (const CTrackCurve& curve : track.curves)
      curves.append(QString::fromStdString(header.curves[curve.curve].mnemonic));
    tracks.append((track.hidden ? "-" : "") + curves.join('+') + (track.log ? "(log)" : ""));
  }
  return tracks.join('|');
}

CValueSample SampleOf(const QList<double>& values) {
  CValueSample sample;
  for (qsizetype i = 0; i < values.size(); ++i) sample.Add(long(i), float(values[i]));
  return sample;
}

}  // namespace

class PlotModelTest : public QObject {
  Q_OBJECT
 private slots:
  void scaleEnds_data();
  void scaleEnds();
  void fractionsAcrossTheTrack();
  void resistivitiesAreLogarithmic();
  void trackChanges_data();
  void trackChanges();
  void settingsComeBackAndTemplatesMatchByMnemonics();
};

void PlotModelTest::scaleEnds_data() {
  QTest::addColumn<QList<double>>("values");
  QTest::addColumn<bool>("log");
  QTest::addColumn<QVariant>("left");  // typed ends; null: from the data
  QTest::addColumn<QVariant>("right");
  QTest::addColumn<double>("expectedLeft");
  QTest::addColumn<double>("expectedRight");
  QList<double> ramp;
  for (int i = 0; i <= 100; ++i) ramp.append(i);
  QTest::newRow("1st and 99th percentile") << ramp << false << QVariant() << QVariant() << 1.0 << 99.0;
  QTest::newRow("typed left end") << ramp << false << QVariant(-50.0) << QVariant() << -50.0 << 99.0;
  QTest::newRow("both typed, reversed") << ramp << false << QVariant(150.0) << QVariant(0.0) << 150.0 << 0.0;
  QList<double> withNulls = ramp;
  withNulls.append({NAN, NAN, NAN});
  QTest::newRow("nulls take no part") << withNulls << false << QVariant() << QVariant() << 1.0 << 99.0;
  QList<double> signedValues;
  for (int i = -100; i <= 100; ++i) signedValues.append(i);
  QTest::newRow("log: positive readings only")
      << signedValues << true << QVariant() << QVariant() << 1.99 << 99.01;
  QTest::newRow("steady reading") << QList<double>{5, 5, 5} << false << QVariant() << QVariant() << 4.5
                                  << 5.5;
  QTest::newRow("steady on log") << QList<double>{20, 20} << true << QVariant() << QVariant() << 10.0 << 40.0;
  QTest::newRow("no readings") << QList<double>{NAN} << false << QVariant() << QVariant() << 0.0 << 1.0;
  QTest::newRow("no readings, log") << QList<double>{-1.0} << true << QVariant() << QVariant() << 0.1
                                    << 1000.0;
  QTest::newRow("log end typed at 0") << ramp << true << QVariant(0.0) << QVariant(200.0) << 20.0 << 200.0;
}

void PlotModelTest::scaleEnds() {
  QFETCH(QList<double>, values);
  QFETCH(bool, log);
  QFETCH(QVariant, left);
  QFETCH(QVariant, right);
  QFETCH(double, expectedLeft);
  QFETCH(double, expectedRight);
  auto end = [](const QVariant& v) {
    return v.isValid() ? std::optional<double>(v.toDouble()) : std::nullopt;
  };
  const CTrackScale scale = CTrackScale::WithEnds(SampleOf(values), log, end(left), end(right));
  QCOMPARE(scale.Log(), log);
  QVERIFY2(std::fabs(scale.Left() - expectedLeft) < 1e-6, qPrintable(QString::number(scale.Left())));
  QVERIFY2(std::fabs(scale.Right() - expectedRight) < 1e-6, qPrintable(QString::number(scale.Right())));
}

void PlotModelTest::fractionsAcrossTheTrack() {
  const CTrackScale linear(0, 150, false);
  QCOMPARE(linear.Fraction(75), 0.5);
  QCOMPARE(linear.Fraction(-15), -0.1);  // beyond the left end
  QCOMPARE(linear.ValueAt(0.2), 30.0);
  const CTrackScale reversed(150, 0, false);
  QCOMPARE(reversed.Fraction(150), 0.0);
  const CTrackScale log(0.2, 2000, true);
  // Every decade takes the same width: a quarter of four decades.
  for (double value : {0.2, 2.0, 20.0, 200.0})
    QVERIFY(std::fabs(log.Fraction(value * 10) - log.Fraction(value) - 0.25) < 1e-12);
  QVERIFY(std::fabs(log.ValueAt(0.5) - 20) < 1e-9);
  QVERIFY(std::isnan(log.Fraction(0)));
  QVERIFY(std::isnan(log.Fraction(-3)));
}

void PlotModelTest::resistivitiesAreLogarithmic() {
  for (const char* unit : {"OHMM", "ohmm", "OHM.M", "OHM-M", "Ohm.m", "OHMS"})
    QVERIFY2(IsResistivityUnit(unit), unit);
  for (const char* unit : {"MMHO/M", "GAPI", "", "M", "V/V"}) QVERIFY2(!IsResistivityUnit(unit), unit);
  QCOMPARE(Describe(CPlotLayout::Default(kHeader)), QStringLiteral("GR|NPHI|RHOB|ILD(log)"));
}

void PlotModelTest::trackChanges_data() {
  QTest::addColumn<QString>("steps");  // "move t by", "join t k", "split t k", separated by ";"
  QTest::addColumn<QString>("expected");
  QTest::addColumn<int>("refused");  // steps that were not possible
  QTest::newRow("move right") << "move 0 1"
                              << "NPHI|GR|RHOB|ILD(log)" << 0;
  QTest::newRow("move left beyond the first") << "move 1 -2"
                                              << "GR|NPHI|RHOB|ILD(log)" << 1;
  QTest::newRow("join: the track empties and goes") << "join 2 0"
                                                    << "GR|NPHI+RHOB|ILD(log)" << 0;
  QTest::newRow("join twice, split the second") << "join 2 0;join 1 1;split 0 1"
                                                << "GR|RHOB|NPHI|ILD(log)" << 0;
  QTest::newRow("join into a log track keeps its scale") << "move 3 -1;join 3 0"
                                                         << "GR|NPHI|ILD+RHOB(log)" << 0;
  QTest::newRow("first track cannot join, lone curve cannot split") << "join 0 0;split 1 0"
                                                                    << "GR|NPHI|RHOB|ILD(log)" << 2;
  QTest::newRow("split gives a track after its own") << "join 1 0;split 0 0"
                                                     << "NPHI|GR|RHOB|ILD(log)" << 0;
}

void PlotModelTest::trackChanges() {
  QFETCH(QString, steps);
  QFETCH(QString, expected);
  QFETCH(int, refused);
  CPlotLayout layout = CPlotLayout::Default(kHeader);
  int notDone = 0;
  for (const QString& step : steps.split(';')) {
    const QStringList parts = step.split(' ');
    const auto a = std::size_t(parts[1].toInt());
    bool done = false;
    if (parts[0] == "move") done = layout.MoveTrack(a, parts[2].toInt());
    if (parts[0] == "join") done = layout.JoinPrevious(a, std::size_t(parts[2].toInt()));
    if (parts[0] == "split") done = layout.Split(a, std::size_t(parts[2].toInt()));
    notDone += done ? 0 : 1;
  }
  QCOMPARE(Describe(layout), expected);
  QCOMPARE(notDone, refused);
}

void PlotModelTest::settingsComeBackAndTemplatesMatchByMnemonics() {
  QTemporaryDir dir;
  const QString las = dir.filePath("well 7.v2.las");
  QCOMPARE(SettingsPathBeside(las), dir.filePath("well 7.v2.plot.json"));

  CPlotLayout layout = CPlotLayout::Default(kHeader);
  layout.JoinPrevious(2, 0);
  layout.tracks[0].curves[0].left = 0;
  layout.tracks[0].curves[0].right = 150;
  layout.tracks[2].hidden = true;
  QString error;
  QVERIFY(SavePlotSettings(SettingsPathBeside(las), layout, kHeader, &error));
  std::optional<CPlotLayout> back = LoadPlotSettings(SettingsPathBeside(las), kHeader, &error);
  QVERIFY(back);
  QVERIFY(*back == layout);

  // Another file with the curves in another order and case, one missing, one more:
  // curves match by mnemonic, the missing one drops out with the track it leaves empty.
  const CLasHeader other =
      HeaderOf({{"DEPTH", "FT"}, {"ild", "OHMM"}, {"NPHI", "V/V"}, {"GR", "GAPI"}, {"CALI", "IN"}});
  back = LoadPlotSettings(SettingsPathBeside(las), other, &error);
  QVERIFY(back);
  QCOMPARE(Describe(*back, other), QStringLiteral("GR|NPHI|-ild(log)"));
  QCOMPARE(back->tracks[0].curves[0].right, std::optional<double>(150));

  // Not plot settings: refused with a reason.
  QFile junk(dir.filePath("junk.plot.json"));
  QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("{\"tracks\": []}") > 0);
  junk.close();
  QVERIFY(!LoadPlotSettings(junk.fileName(), kHeader, &error));
  QVERIFY(!error.isEmpty());
  QVERIFY(!LoadPlotSettings(dir.filePath("none.plot.json"), kHeader, &error));

  // The settings beside a file win; without them, a template for the same mnemonics.
  QCOMPARE(FindPlotSettings(las, dir.filePath("templates"), kHeader), SettingsPathBeside(las));
  const QString alone = dir.filePath("sub/alone.las");
  QDir().mkpath(dir.filePath("sub"));
  const QString templates = dir.filePath("templates");
  QDir().mkpath(templates);
  QVERIFY(FindPlotSettings(alone, templates, kHeader).isEmpty());
  QVERIFY(SavePlotSettings(templates + "/b-other.plot.json", layout, other, &error));
  QVERIFY(SavePlotSettings(templates + "/c-same.plot.json", layout, kHeader, &error));
  QVERIFY(SavePlotSettings(templates + "/d-same.plot.json", layout, kHeader, &error));
  QFile::copy(junk.fileName(), templates + "/a-junk.plot.json");
  QCOMPARE(FindPlotSettings(alone, templates, kHeader), templates + "/c-same.plot.json");
  QCOMPARE(FindPlotSettings(alone, templates,
                            HeaderOf({{"dept", "M"}, {"gr", ""}, {"nphi", ""}, {"rhob", ""}, {"ild", ""}})),
           templates + "/c-same.plot.json");
  QCOMPARE(FindPlotSettings(alone, templates, other), templates + "/b-other.plot.json");
  QVERIFY(FindPlotSettings(alone, templates, HeaderOf({{"DEPT", "M"}, {"GR", "GAPI"}})).isEmpty());
}

QTEST_MAIN(PlotModelTest)
#include "PlotModelTest.moc"
