#include "lasview/LasWindow.h"

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
#include <QVBoxLayout>
#include <cmath>

#include "lasview/LasCheckPane.h"
#include "lasview/LasHeaderView.h"
#include "lasview/PlotCanvas.h"
#include "lasview/QueuedWake.h"
#include "lasview/TrackPanel.h"
#include "lasview/WindowDialogs.h"
#include "plot/PlotExport.h"
#include "plot/PlotSettings.h"

namespace corvane {
namespace {

constexpr int kScrollSteps = 10000;

QString DepthText(double depth) { return QString::number(depth, 'f', 3); }

std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

CLasWindow::CLasWindow(const QString& path, CWindowDialogs& dialogs, const QString& templateDir,
                       QWidget* parent)
    : QWidget(parent),
      m_path(QFileInfo(path).absoluteFilePath()),
      m_dialogs(dialogs),
      m_templateDir(templateDir) {
  m_wake = new CQueuedWake(this, [this] { m_session->Update(); });
  // The tracks of saved settings: beside the file, else a template for its mnemonics.
  auto lookup = [lasPath = m_path, templateDir](
                    const CLasHeader& header) -> std::optional<std::pair<CPlotLayout, std::string>> {
    const QString settings = FindPlotSettings(lasPath, templateDir, header);
    CPlotLayout layout;
    if (settings.isEmpty() || !LoadPlotSettings(settings, header, layout)) return std::nullopt;
    return std::make_pair(std::move(layout), PathBytes(settings));
  };
  m_session = std::make_unique<CLasSession>(PathBytes(m_path), m_wake->Caller(), std::move(lookup));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Title());
  BuildWidgets();
  m_session->AddObserver(this);
}

CLasWindow::~CLasWindow() {
  m_session->RemoveObserver(this);
  // The panes are views of the session: they go before it. The session's jobs stop
  // before the wake they call goes with the window's children.
  delete m_tabs;
  m_session.reset();
}

QString CLasWindow::Title() const { return QFileInfo(m_path).fileName(); }

bool CLasWindow::IsSameFile(const QString& path) const { return SameFileName(m_path, path); }

QString CLasWindow::SettingsSource() const {
  return QFile::decodeName(QByteArray::fromStdString(m_session->SettingsSource()));
}

void CLasWindow::BuildWidgets() {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("panes"));
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
  auto* showButton = new QPushButton(QStringLiteral("Show"), plotPane);
  showButton->setObjectName(QStringLiteral("showDepths"));
  auto* wholeButton = new QPushButton(QStringLiteral("Whole Log"), plotPane);
  wholeButton->setObjectName(QStringLiteral("wholeLog"));
  bar->addWidget(showButton);
  bar->addWidget(wholeButton);
  bar->addStretch(1);
  m_strip.AddTo(plotPane, bar, "load");
  for (QPushButton* button : {showButton, wholeButton}) button->setAutoDefault(false);
  plotBox->addLayout(bar);

  auto* split = new QSplitter(Qt::Horizontal, plotPane);
  auto* canvasPane = new QWidget(split);
  auto* canvasBox = new QHBoxLayout(canvasPane);
  canvasBox->setContentsMargins(0, 0, 0, 0);
  canvasBox->setSpacing(0);
  m_canvas = new CPlotCanvas(*m_session, canvasPane);
  m_scroll = new QScrollBar(Qt::Vertical, canvasPane);
  m_scroll->setObjectName(QStringLiteral("depthScroll"));
  m_scroll->setRange(0, 0);
  canvasBox->addWidget(m_canvas, 1);
  canvasBox->addWidget(m_scroll);
  auto* tracks = new CTrackPanel(*m_session, split);
  split->addWidget(canvasPane);
  split->addWidget(tracks);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 0);
  plotBox->addWidget(split, 1);
  m_tabs->addTab(plotPane, QStringLiteral("Plot"));

  m_header = new CLasHeaderView(m_tabs);
  m_tabs->addTab(m_header, QStringLiteral("Header"));
  m_checkPane = new CLasCheckPane(*m_session, m_tabs);
  m_tabs->addTab(m_checkPane, QStringLiteral("Check"));

  connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (m_tabs->widget(index) == m_checkPane) m_session->StartCheck();
  });
  connect(m_canvas, &CPlotCanvas::ReadoutChanged, this, &CLasWindow::ReadoutChanged);
  connect(m_scroll, &QScrollBar::valueChanged, this, &CLasWindow::OnScrolled);
  connect(showButton, &QPushButton::clicked, this, &CLasWindow::TakeDepthBox);
  connect(m_topBox, &QLineEdit::returnPressed, this, &CLasWindow::TakeDepthBox);
  connect(m_baseBox, &QLineEdit::returnPressed, this, &CLasWindow::TakeDepthBox);
  connect(wholeButton, &QPushButton::clicked, this, [this] { m_session->ShowWhole(); });
  connect(m_strip.Cancel(), &QPushButton::clicked, this, [this] { m_session->CancelLoad(); });
  connect(tracks, &CTrackPanel::DefaultRequested, this, [this] { m_session->DefaultLayout(); });
  connect(tracks, &CTrackPanel::SaveRequested, this, [this] {
    if (const CResult saved = SaveSettings(); !saved)
      m_dialogs.ShowError(this, QStringLiteral("Failed to save the plot settings."),
                          QString::fromLocal8Bit(saved.Reason().c_str()));
  });
  connect(tracks, &CTrackPanel::SaveTemplateRequested, this, &CLasWindow::SaveTemplateAs);
}

CResult CLasWindow::Open() { return m_session->Open(); }

void CLasWindow::OnSessionChanged(unsigned changes) {
  if (changes & SessionChange::kHeader) {
    CLasHeader header;
    {
      auto lock = m_session->Data().Lock();
      header = m_session->Data().Header();
    }
    m_header->ShowHeader(header);
  }
  if (changes & SessionChange::kView) ShowView();
  if (changes & SessionChange::kLoadProgress) m_strip.Show(m_session->LoadProgress());
  if (!(changes & SessionChange::kLoadEnded)) return;
  m_strip.Ended();
  LoadState state = LoadState::Loading;
  QString error;
  {
    auto lock = m_session->Data().Lock();
    state = m_session->Data().State();
    error = PlotText(m_session->Data().Error());
  }
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
}

void CLasWindow::ShowView() {
  const double top = m_session->Top();
  const double base = m_session->Base();
  m_topBox->setText(DepthText(top));
  m_baseBox->setText(DepthText(base));
  const auto whole = m_session->WholeRange();
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
  const auto whole = m_session->WholeRange();
  if (!whole) return;
  const double span = m_session->Base() - m_session->Top();
  const double top = whole->first + (whole->second - whole->first) * value / kScrollSteps;
  m_session->SetDepthRange(top, top + span);
}

void CLasWindow::TakeDepthBox() {
  bool topOk = false;
  bool baseOk = false;
  const double top = QLocale::c().toDouble(m_topBox->text().trimmed(), &topOk);
  const double base = QLocale::c().toDouble(m_baseBox->text().trimmed(), &baseOk);
  if (topOk && baseOk && top != base)
    m_session->SetDepthRange(top, base);
  else
    ShowView();  // the boxes show the view again
}

void CLasWindow::SaveTemplateAs() {
  QDir().mkpath(m_templateDir);
  const QString initial =
      QDir(m_templateDir).filePath(QFileInfo(m_path).completeBaseName() + QLatin1String(kPlotSettingsSuffix));
  const QString path = m_dialogs.GetSaveFileName(this, QStringLiteral("Save Plot Template"),
                                                 QStringLiteral("Plot Settings (*.plot.json)"), initial,
                                                 QStringLiteral("json"));
  if (path.isEmpty()) return;
  if (const CResult saved = SaveTemplate(path); !saved)
    m_dialogs.ShowError(this, QStringLiteral("Failed to save the plot settings."),
                        QString::fromLocal8Bit(saved.Reason().c_str()));
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
  auto lock = m_session->Data().Lock();
  CPlotPainter(m_session->Data(), &m_session->Rows(), m_session->Layout(), m_session->Scales())
      .Paint(painter, QRectF(0, 0, page.width() / scale, page.height() / scale), m_session->Top(),
             m_session->Base());
  painter.end();
}

CResult CLasWindow::SavePlot(const QString& path) {
  if (IsSameFile(path)) return CResult::Failed("The picture cannot be written over the LAS file.");
  auto lock = m_session->Data().Lock();
  const CPlotPainter painter(m_session->Data(), &m_session->Rows(), m_session->Layout(), m_session->Scales());
  return ExportPlot(painter, m_session->Top(), m_session->Base(),
                    m_canvas->size().expandedTo(QSize(400, 400)), path);
}

CResult CLasWindow::SaveSettings() {
  auto lock = m_session->Data().Lock();
  return SavePlotSettings(SettingsPathBeside(m_path), m_session->Layout(), m_session->Data().Header());
}

CResult CLasWindow::SaveTemplate(const QString& path) {
  QString target = path;
  // Only "*.plot.json" files are looked at as templates.
  if (!target.endsWith(QLatin1String(kPlotSettingsSuffix), Qt::CaseInsensitive)) {
    if (target.endsWith(QLatin1String(".json"), Qt::CaseInsensitive)) target.chop(5);
    target += QLatin1String(kPlotSettingsSuffix);
  }
  if (IsSameFile(target)) return CResult::Failed("The settings cannot be written over the LAS file.");
  auto lock = m_session->Data().Lock();
  return SavePlotSettings(target, m_session->Layout(), m_session->Data().Header());
}

std::optional<CChildWindow::CSaveDialog> CLasWindow::SaveDialog(SaveKind kind) const {
  if (kind != SaveKind::Plot) return std::nullopt;
  const QFileInfo file(m_path);
  return CSaveDialog{QStringLiteral("Save Plot As"),
                     QStringLiteral("PNG Pictures (*.png);;SVG Pictures (*.svg);;PDF Files (*.pdf)"),
                     file.dir().filePath(file.completeBaseName() + ".png"),
                     QStringLiteral("png"),
                     QStringLiteral("Failed to save the plot."),
                     false};
}

CResult CLasWindow::Save(SaveKind kind, const QString& path) {
  if (kind != SaveKind::Plot) return CResult::Failed("The LAS window saves its plot only.");
  return SavePlot(path);
}

}  // namespace corvane
