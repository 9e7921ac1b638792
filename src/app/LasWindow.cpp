#include "app/LasWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "app/CorvaneDoc.h"
#include "app/LasCheckPane.h"
#include "app/LasHeaderView.h"
#include "app/PlotCanvas.h"
#include "app/ShellDialogs.h"
#include "app/TrackPanel.h"
#include "plot/LasLoader.h"
#include "plot/PlotExport.h"
#include "plot/PlotSettings.h"

namespace corvane {
namespace {

constexpr int kPollMilliseconds = 50;
constexpr int kScrollSteps = 10000;

QString DepthText(double depth) { return QString::number(depth, 'f', 3); }

}  // namespace

CLasWindow::CLasWindow(const QString& path, CShellDialogs& dialogs, const QString& templateDir,
                       QWidget* parent)
    : QWidget(parent),
      m_path(QFileInfo(path).absoluteFilePath()),
      m_dialogs(dialogs),
      m_templateDir(templateDir),
      m_data(std::make_unique<CLasData>(QFile::encodeName(m_path).toStdString())),
      m_rows(std::make_unique<CRowReader>(*m_data)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Title());
  BuildWidgets();
  m_poll = new QTimer(this);
  m_poll->setInterval(kPollMilliseconds);
  connect(m_poll, &QTimer::timeout, this, &CLasWindow::Poll);
}

CLasWindow::~CLasWindow() {
  m_progress.RequestCancel();
  if (m_loader.joinable()) m_loader.join();
  // The panes draw from the data, the layout and the scales: they go before them.
  delete m_tabs;
}

QString CLasWindow::Title() const { return QFileInfo(m_path).fileName(); }

bool CLasWindow::IsSameFile(const QString& path) const { return CCorvaneDoc::SameFile(m_path, path); }

void CLasWindow::BuildWidgets() {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  m_tabs = new QTabWidget(this);
  m_tabs->setDocumentMode(true);
  box->addWidget(m_tabs);

  auto* plotPane = new QWidget(m_tabs);
  auto* plotBox = new QVBoxLayout(plotPane);
  plotBox->setContentsMargins(4, 4, 4, 4);
  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel(QStringLiteral("Depth from"), plotPane));
  m_topBox = new QLineEdit(plotPane);
  m_topBox->setObjectName(QStringLiteral("topDepth"));
  m_baseBox = new QLineEdit(plotPane);
  m_baseBox->setObjectName(QStringLiteral("baseDepth"));
  for (QLineEdit* depthBox : {m_topBox, m_baseBox})
    depthBox->setMaximumWidth(depthBox->fontMetrics().horizontalAdvance(QStringLiteral("-00000.000")) + 16);
  bar->addWidget(m_topBox);
  bar->addWidget(new QLabel(QStringLiteral("to"), plotPane));
  bar->addWidget(m_baseBox);
  m_showButton = new QPushButton(QStringLiteral("Show"), plotPane);
  m_wholeButton = new QPushButton(QStringLiteral("Whole Log"), plotPane);
  bar->addWidget(m_showButton);
  bar->addWidget(m_wholeButton);
  bar->addStretch(1);
  m_strip.AddTo(plotPane, bar);
  for (QPushButton* button : {m_showButton, m_wholeButton}) button->setAutoDefault(false);
  plotBox->addLayout(bar);

  auto* split = new QSplitter(Qt::Horizontal, plotPane);
  auto* canvasPane = new QWidget(split);
  auto* canvasBox = new QHBoxLayout(canvasPane);
  canvasBox->setContentsMargins(0, 0, 0, 0);
  canvasBox->setSpacing(0);
  m_canvas = new CPlotCanvas(*m_data, *m_rows, m_layout, m_scales, canvasPane);
  m_scroll = new QScrollBar(Qt::Vertical, canvasPane);
  m_scroll->setRange(0, 0);
  canvasBox->addWidget(m_canvas, 1);
  canvasBox->addWidget(m_scroll);
  m_tracks = new CTrackPanel(m_layout, m_scales, split);
  split->addWidget(canvasPane);
  split->addWidget(m_tracks);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 0);
  plotBox->addWidget(split, 1);
  m_tabs->addTab(plotPane, QStringLiteral("Plot"));

  m_header = new CLasHeaderView(m_tabs);
  m_tabs->addTab(m_header, QStringLiteral("Header"));
  m_checkPane = new CLasCheckPane(m_path, m_tabs);
  m_tabs->addTab(m_checkPane, QStringLiteral("Check"));

  connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (m_tabs->widget(index) == m_checkPane) m_checkPane->Start();
  });
  connect(m_checkPane, &CLasCheckPane::LineShown, this, &CLasWindow::OnCheckLineShown);
  connect(m_canvas, &CPlotCanvas::ViewChanged, this, &CLasWindow::OnViewChanged);
  connect(m_canvas, &CPlotCanvas::ReadoutChanged, this, &CLasWindow::ReadoutChanged);
  connect(m_scroll, &QScrollBar::valueChanged, this, &CLasWindow::OnScrolled);
  connect(m_showButton, &QPushButton::clicked, this, &CLasWindow::TakeDepthBox);
  connect(m_topBox, &QLineEdit::returnPressed, this, &CLasWindow::TakeDepthBox);
  connect(m_baseBox, &QLineEdit::returnPressed, this, &CLasWindow::TakeDepthBox);
  connect(m_wholeButton, &QPushButton::clicked, m_canvas, &CPlotCanvas::ShowWhole);
  connect(m_strip.Cancel(), &QPushButton::clicked, this, [this] { m_progress.RequestCancel(); });
  connect(m_tracks, &CTrackPanel::LayoutChanged, this, &CLasWindow::OnLayoutChanged);
  connect(m_tracks, &CTrackPanel::DefaultRequested, this, [this] {
    {
      auto lock = m_data->Lock();
      m_layout = CPlotLayout::Default(m_data->Header());
    }
    OnLayoutChanged();
    m_tracks->Rebuild();
  });
  connect(m_tracks, &CTrackPanel::SaveRequested, this, [this] {
    QString error;
    if (!SaveSettings(&error))
      m_dialogs.ShowError(this, QStringLiteral("Failed to save the plot settings."), error);
  });
  connect(m_tracks, &CTrackPanel::SaveTemplateRequested, this, [this] {
    QDir().mkpath(m_templateDir);
    const QString initial =
        QDir(m_templateDir)
            .filePath(QFileInfo(m_path).completeBaseName() + QLatin1String(kPlotSettingsSuffix));
    QString path = m_dialogs.GetSaveFileName(this, QStringLiteral("Save Plot Template"),
                                             QStringLiteral("Plot Settings (*.plot.json)"), initial,
                                             QStringLiteral("json"));
    if (path.isEmpty()) return;
    QString error;
    if (!SaveTemplate(path, &error))
      m_dialogs.ShowError(this, QStringLiteral("Failed to save the plot settings."), error);
  });
}

bool CLasWindow::Open(QString* error) {
  QFile file(m_path);
  if (!QFileInfo(m_path).isFile() || !file.open(QIODevice::ReadOnly)) {
    if (error) *error = QFileInfo(m_path).isDir() ? QStringLiteral("It is a folder.") : file.errorString();
    return false;
  }
  file.close();
  m_loader = std::thread([this] { LoadLasFile(*m_data, m_progress); });
  m_poll->start();
  return true;
}

bool CLasWindow::Loading() const {
  auto lock = m_data->Lock();
  return m_data->State() == LoadState::Loading;
}

void CLasWindow::Poll() {
  if (m_finished) return;  // nothing changes once the job has ended
  bool hasHeader = false;
  unsigned generation = 0;
  LoadState state = LoadState::Loading;
  QString error;
  {
    auto lock = m_data->Lock();
    hasHeader = m_data->HasHeader();
    generation = m_data->Generation();
    state = m_data->State();
    error = PlotText(m_data->Error());
  }
  if (hasHeader && !m_headerShown) OnHeaderArrived();
  if (generation != m_generation) {
    m_generation = generation;
    {
      auto lock = m_data->Lock();
      m_scales = ComputeScales(*m_data, m_layout);
    }
    m_canvas->Refresh();
    m_tracks->RefreshEnds();
  }
  m_strip.Show(m_progress);
  if (state == LoadState::Loading) return;
  m_finished = true;
  m_poll->stop();
  if (m_loader.joinable()) m_loader.join();
  m_strip.Ended();
  m_checkPane->Start();
  switch (state) {
    case LoadState::Done:
    case LoadState::Loading:
      m_strip.Label()->clear();
      break;
    case LoadState::Cancelled:
      m_strip.Label()->setText(QStringLiteral("Reading cancelled: the rows read so far are shown."));
      break;
    case LoadState::Failed:
      m_strip.Label()->setText(error);
      emit LoadFailed(error);
      break;
  }
  m_canvas->Refresh();
}

void CLasWindow::OnHeaderArrived() {
  m_headerShown = true;
  CLasHeader header;
  {
    auto lock = m_data->Lock();
    header = m_data->Header();
  }
  m_header->ShowHeader(header);
  QStringList names;
  for (const CCurveInfo& curve : header.curves)
    names.append(curve.unit.empty() ? PlotText(curve.mnemonic)
                                    : PlotText(curve.mnemonic) + " (" + PlotText(curve.unit) + ")");
  m_layout = CPlotLayout::Default(header);
  const QString settings = FindPlotSettings(m_path, m_templateDir, header);
  if (!settings.isEmpty())
    if (auto loaded = LoadPlotSettings(settings, header, nullptr)) {
      m_layout = std::move(*loaded);
      m_settingsSource = settings;
    }
  {
    auto lock = m_data->Lock();
    m_scales = ComputeScales(*m_data, m_layout);
  }
  m_tracks->SetCurveNames(names);
  m_canvas->Refresh();
}

void CLasWindow::OnLayoutChanged() {
  {
    auto lock = m_data->Lock();
    m_scales = ComputeScales(*m_data, m_layout);
  }
  m_canvas->update();
}

void CLasWindow::OnViewChanged(double top, double base) {
  m_topBox->setText(DepthText(top));
  m_baseBox->setText(DepthText(base));
  const auto whole = m_canvas->WholeRange();
  QSignalBlocker block(m_scroll);
  if (!whole || whole->second - whole->first <= base - top + 1e-12) {
    m_scroll->setRange(0, 0);
    return;
  }
  const double span = whole->second - whole->first;
  const int page = std::max(1, static_cast<int>(std::lround((base - top) / span * kScrollSteps)));
  m_scroll->setRange(0, kScrollSteps - page);
  m_scroll->setPageStep(page);
  m_scroll->setSingleStep(std::max(1, page / 10));
  m_scroll->setValue(static_cast<int>(std::lround((top - whole->first) / span * kScrollSteps)));
}

void CLasWindow::OnScrolled(int value) {
  const auto whole = m_canvas->WholeRange();
  if (!whole) return;
  const double span = m_canvas->Base() - m_canvas->Top();
  const double top = whole->first + (whole->second - whole->first) * value / kScrollSteps;
  m_canvas->SetDepthRange(top, top + span);
}

void CLasWindow::TakeDepthBox() {
  bool topOk = false;
  bool baseOk = false;
  const double top = QLocale::c().toDouble(m_topBox->text().trimmed(), &topOk);
  const double base = QLocale::c().toDouble(m_baseBox->text().trimmed(), &baseOk);
  if (topOk && baseOk && top != base)
    m_canvas->SetDepthRange(top, base);
  else
    OnViewChanged(m_canvas->Top(), m_canvas->Base());  // the boxes show the view again
}

void CLasWindow::OnCheckLineShown(quint64 line) {
  double depth = 0;
  double nearTop = 0;
  double nearBase = 0;
  long row = 0;
  QString unit;
  {
    auto lock = m_data->Lock();
    // Lines of the header have no row; the plot moves only to rows it has read.
    if (!m_data->HasHeader() || m_data->Rows() == 0 ||
        line < static_cast<quint64>(m_data->Header().dataLine) ||
        (m_data->State() == LoadState::Loading && line >= m_data->BucketLine(m_data->Buckets() - 1)))
      return;
    const std::optional<long> found = m_rows->RowOfLine(line);
    if (!found) return;
    row = *found;
    const CRowReader::CRows& rows = m_rows->Rows(row, row);
    if (rows.count == 0) return;
    depth = rows.Value(row, 0);
    // About a hundred rows around it, when the view shows many more.
    nearTop = m_data->DepthAtRow(static_cast<double>(row) - 50);
    nearBase = m_data->DepthAtRow(static_cast<double>(row) + 50);
    unit = PlotText(m_data->Header().curves.front().unit);
  }
  const double span = m_canvas->Base() - m_canvas->Top();
  const double near = std::fabs(nearBase - nearTop);
  const double shown = near > 0 && span > 2 * near ? near : span;
  m_canvas->SetDepthRange(depth - shown / 2, depth + shown / 2);
  m_checkPane->AddLineNote(QStringLiteral("row %1 of the plot, at %2%3")
                               .arg(row + 1)
                               .arg(QString::number(depth, 'g', 10))
                               .arg(unit.isEmpty() ? QString() : QStringLiteral(" ") + unit));
}

void CLasWindow::AddPane(QWidget* pane, const QString& title) { m_tabs->addTab(pane, title); }

void CLasWindow::Render(QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat && IsSameFile(printer.outputFileName())) return;
  QPainter painter;
  if (!painter.begin(&printer)) return;
  // The plot is laid out at 96 pixels to the inch, whatever the printer's resolution.
  const double scale = printer.resolution() / 96.0;
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  painter.scale(scale, scale);
  auto lock = m_data->Lock();
  CPlotPainter(*m_data, m_rows.get(), m_layout, m_scales)
      .Paint(painter, QRectF(0, 0, page.width() / scale, page.height() / scale), m_canvas->Top(),
             m_canvas->Base());
  painter.end();
}

bool CLasWindow::SavePlot(const QString& path, QString* error) {
  if (IsSameFile(path)) {
    if (error) *error = QStringLiteral("The picture cannot be written over the LAS file.");
    return false;
  }
  auto lock = m_data->Lock();
  const CPlotPainter painter(*m_data, m_rows.get(), m_layout, m_scales);
  return ExportPlot(painter, m_canvas->Top(), m_canvas->Base(), m_canvas->size().expandedTo(QSize(400, 400)),
                    path, error);
}

bool CLasWindow::SaveSettings(QString* error) {
  auto lock = m_data->Lock();
  return SavePlotSettings(SettingsPathBeside(m_path), m_layout, m_data->Header(), error);
}

bool CLasWindow::SaveTemplate(const QString& path, QString* error) {
  QString target = path;
  // Only "*.plot.json" files are looked at as templates.
  if (!target.endsWith(QLatin1String(kPlotSettingsSuffix), Qt::CaseInsensitive)) {
    if (target.endsWith(QLatin1String(".json"), Qt::CaseInsensitive)) target.chop(5);
    target += QLatin1String(kPlotSettingsSuffix);
  }
  if (IsSameFile(target)) {
    if (error) *error = QStringLiteral("The settings cannot be written over the LAS file.");
    return false;
  }
  auto lock = m_data->Lock();
  return SavePlotSettings(target, m_layout, m_data->Header(), error);
}

}  // namespace corvane
