#include "lasview/LasWindow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
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
#include <limits>

#include "lasview/CrossplotWindow.h"
#include "lasview/DepthBoxes.h"
#include "lasview/LasCheckPane.h"
#include "lasview/LasHeaderView.h"
#include "lasview/PlotCanvas.h"
#include "lasview/QueuedWake.h"
#include "lasview/TrackPanel.h"
#include "lasview/WindowDialogs.h"
#include "plot/PlotExport.h"
#include "plot/PlotSettings.h"
#include "plotmodel/DepthScale.h"

namespace corvane {
namespace {

constexpr int kScrollSteps = 10000;
// The tallest picture drawn at a print ratio.
constexpr int kMostPictureSide = 32000;
const QString kFitToPage = QStringLiteral("Fit to page");

QString RatioText(double ratio) { return QStringLiteral("1:") + QString::number(std::round(ratio), 'f', 0); }

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
  // A file replaced by another is a change of its folder; one written in place, of itself.
  m_watcher = new QFileSystemWatcher(this);
  m_watcher->addPath(m_path);
  m_watcher->addPath(QFileInfo(m_path).absolutePath());
  auto check = [this] {
    m_session->CheckFile();
    if (!m_watcher->files().contains(m_path) && QFileInfo::exists(m_path)) m_watcher->addPath(m_path);
  };
  connect(m_watcher, &QFileSystemWatcher::fileChanged, this, check);
  connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, check);
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
  m_depthBoxes = new CDepthBoxes(plotPane, bar);
  bar->addSpacing(8);
  bar->addWidget(new QLabel(QStringLiteral("Print scale"), plotPane));
  m_printScale = new QComboBox(plotPane);
  m_printScale->setObjectName(QStringLiteral("printScale"));
  m_printScale->setEditable(true);
  m_printScale->setInsertPolicy(QComboBox::NoInsert);
  m_printScale->addItem(kFitToPage);
  for (const double ratio : kCommonRatios) m_printScale->addItem(RatioText(ratio));
  m_printScale->setToolTip(
      QStringLiteral("The depth scale that Print and Save Plot As draw at (type 1:N for another)"));
  bar->addWidget(m_printScale);
  m_screenScale = new QLabel(plotPane);
  m_screenScale->setObjectName(QStringLiteral("screenScale"));
  bar->addWidget(m_screenScale);
  auto* crossplotButton = new QPushButton(QStringLiteral("Crossplot"), plotPane);
  crossplotButton->setObjectName(QStringLiteral("crossplot"));
  crossplotButton->setAutoDefault(false);
  crossplotButton->setStatusTip(QStringLiteral("Open a crossplot of two curves of the file"));
  bar->addWidget(crossplotButton);
  bar->addStretch(1);
  m_strip.AddTo(plotPane, bar, "load");
  plotBox->addLayout(bar);

  m_changedBar = new QWidget(plotPane);
  m_changedBar->setObjectName(QStringLiteral("fileChangedBar"));
  auto* changedRow = new QHBoxLayout(m_changedBar);
  changedRow->setContentsMargins(0, 0, 0, 0);
  auto* changedText = new QLabel(
      QStringLiteral("The file has changed on disk since it was read: the plot shows it as it was read, and "
                     "nothing more is read from it."),
      m_changedBar);
  changedText->setObjectName(QStringLiteral("fileChanged"));
  changedText->setWordWrap(true);
  auto* loadAgain = new QPushButton(QStringLiteral("Load Again"), m_changedBar);
  loadAgain->setObjectName(QStringLiteral("loadAgain"));
  loadAgain->setAutoDefault(false);
  changedRow->addWidget(changedText, 1);
  changedRow->addWidget(loadAgain);
  m_changedBar->hide();
  plotBox->addWidget(m_changedBar);

  auto* split = new QSplitter(Qt::Horizontal, plotPane);
  auto* canvasPane = new QWidget(split);
  auto* canvasBox = new QHBoxLayout(canvasPane);
  canvasBox->setContentsMargins(0, 0, 0, 0);
  canvasBox->setSpacing(0);
  auto* canvasColumn = new QVBoxLayout;
  canvasColumn->setContentsMargins(0, 0, 0, 0);
  canvasColumn->setSpacing(0);
  m_canvas = new CPlotCanvas(*m_session, canvasPane);
  m_trackScroll = new QScrollBar(Qt::Horizontal, canvasPane);
  m_trackScroll->setObjectName(QStringLiteral("trackScroll"));
  m_trackScroll->setRange(0, 0);
  m_trackScroll->hide();
  canvasColumn->addWidget(m_canvas, 1);
  canvasColumn->addWidget(m_trackScroll);
  m_scroll = new QScrollBar(Qt::Vertical, canvasPane);
  m_scroll->setObjectName(QStringLiteral("depthScroll"));
  m_scroll->setRange(0, 0);
  canvasBox->addLayout(canvasColumn, 1);
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
  connect(m_depthBoxes, &CDepthBoxes::RangeTyped, this,
          [this](double top, double base) { m_session->SetDepthRange(top, base); });
  connect(m_depthBoxes, &CDepthBoxes::WholeRequested, this, [this] { m_session->ShowWhole(); });
  connect(m_strip.Cancel(), &QPushButton::clicked, this, [this] { m_session->CancelLoad(); });
  connect(tracks, &CTrackPanel::DefaultRequested, this, [this] { m_session->DefaultLayout(); });
  connect(tracks, &CTrackPanel::SaveRequested, this, [this] {
    if (const CResult saved = SaveSettings(); !saved)
      m_dialogs.ShowError(this, QStringLiteral("Failed to save the plot settings."),
                          QString::fromLocal8Bit(saved.Reason().c_str()));
  });
  connect(tracks, &CTrackPanel::SaveTemplateRequested, this, &CLasWindow::SaveTemplateAs);
  connect(m_canvas, &CPlotCanvas::OverflowChanged, this, [this] {
    UpdateTrackScroll();
    ShowScreenRatio();
  });
  connect(m_trackScroll, &QScrollBar::valueChanged, m_canvas, &CPlotCanvas::SetScrollX);
  connect(m_printScale, &QComboBox::activated, this, &CLasWindow::TakePrintScale);
  connect(m_printScale->lineEdit(), &QLineEdit::editingFinished, this, &CLasWindow::TakePrintScale);
  connect(crossplotButton, &QPushButton::clicked, this, [this] { OpenCrossplot(); });
  connect(loadAgain, &QPushButton::clicked, this, [this] {
    if (const CResult opened = m_session->Reload(); !opened)
      m_dialogs.ShowError(
          this, QStringLiteral("Failed to open LAS file."),
          QDir::toNativeSeparators(m_path) + ": " + QString::fromLocal8Bit(opened.Reason().c_str()));
  });
}

void CLasWindow::UpdateTrackScroll() {
  const int overflow = m_canvas->OverflowWidth();
  m_trackScroll->setRange(0, overflow);
  m_trackScroll->setPageStep(std::max(1, m_canvas->width()));
  m_trackScroll->setSingleStep(20);
  m_trackScroll->setVisible(overflow > 0);
  m_canvas->SetScrollX(m_trackScroll->value());
}

void CLasWindow::TakePrintScale() {
  const QString text = m_printScale->currentText().trimmed();
  if (text.isEmpty() || text.compare(kFitToPage, Qt::CaseInsensitive) == 0) {
    SetPrintRatio(std::nullopt);
    return;
  }
  const std::optional<double> ratio = ParseRatio(text.toStdString());
  // Not a ratio: the box shows the scale as it was.
  SetPrintRatio(ratio ? ratio : m_printRatio);
}

void CLasWindow::SetPrintRatio(std::optional<double> ratio) {
  m_printRatio = ratio;
  const QSignalBlocker quiet(m_printScale);
  m_printScale->setEditText(ratio ? RatioText(*ratio) : kFitToPage);
}

std::optional<double> CLasWindow::ScreenRatio() const {
  const double perDepth = m_canvas->PixelsPerDepth();
  if (!(perDepth > 0)) return std::nullopt;
  std::string unit;
  {
    auto lock = m_session->Data().Lock();
    if (!m_session->Data().HasHeader() || m_session->Data().Curves() == 0) return std::nullopt;
    unit = m_session->Data().Header().curves.front().unit;
  }
  // The screen's own pixels to the inch where it says; 96 where that is not believable.
  const int dpi = m_canvas->physicalDpiY();
  return RatioOf(perDepth, unit, dpi >= 50 && dpi <= 600 ? dpi : kPictureDpi);
}

void CLasWindow::ShowScreenRatio() {
  const std::optional<double> ratio = ScreenRatio();
  m_screenScale->setText(ratio ? QStringLiteral("Screen ") + RatioText(*ratio) : QString());
}

void CLasWindow::ShowFileState() { m_changedBar->setVisible(m_session->FileChanged()); }

CCrossplotWindow* CLasWindow::OpenCrossplot() {
  auto* window = new CCrossplotWindow(*m_session, m_dialogs);
  emit CrossplotOpened(window);
  return window;
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
  if (changes & (SessionChange::kView | SessionChange::kHeader | SessionChange::kLayout)) ShowScreenRatio();
  if (changes & SessionChange::kFile) {
    ShowFileState();
    if (!m_session->FileChanged()) m_strip.Started();  // read anew
  }
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
      // A file that changed while it was read is said in its own bar.
      if (m_session->FileChanged())
        m_strip.Label()->clear();
      else
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
  m_depthBoxes->Show(top, base);
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
  const double scale = printer.resolution() / kPictureDpi;
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  painter.scale(scale, scale);
  const QRectF area(0, 0, page.width() / scale, page.height() / scale);
  auto lock = m_session->Data().Lock();
  const CPlotPainter plot(m_session->Data(), &m_session->Rows(), m_session->Layout(), m_session->Scales());
  const double top = m_session->Top();
  const double base = m_session->Base();
  if (!m_printRatio || m_session->Data().Curves() == 0) {
    plot.Paint(painter, area, top, base);
    painter.end();
    return;
  }
  // At the print ratio, page after page, each with its headers.
  const double perDepth =
      PixelsPerDepthUnit(*m_printRatio, m_session->Data().Header().curves.front().unit, kPictureDpi);
  const double pageDepths = std::max(1.0, area.height() - plot.HeaderHeight()) / perDepth;
  // A last page of less than a pixel's depths is none.
  for (double from = top; base - from > 0.5 / perDepth; from += pageDepths) {
    if (from > top) printer.newPage();
    const double to = std::min(base, from + pageDepths);
    plot.Paint(painter, QRectF(0, 0, area.width(), plot.HeaderHeight() + (to - from) * perDepth), from, to);
  }
  painter.end();
}

QSize CLasWindow::PictureSize() const {
  auto lock = m_session->Data().Lock();
  const CPlotPainter plot(m_session->Data(), &m_session->Rows(), m_session->Layout(), m_session->Scales());
  QSize size = m_canvas->size().expandedTo(QSize(400, 400));
  size.setWidth(plot.NeededPixels(size.width()));
  if (m_printRatio && m_session->Data().Curves() > 0) {
    const double perDepth =
        PixelsPerDepthUnit(*m_printRatio, m_session->Data().Header().curves.front().unit, kPictureDpi);
    size.setHeight(static_cast<int>(
        std::ceil(std::min<double>(plot.HeaderHeight() + (m_session->Base() - m_session->Top()) * perDepth,
                                   std::numeric_limits<int>::max()))));
  }
  return size;
}

CResult CLasWindow::SavePlot(const QString& path) {
  if (IsSameFile(path)) return CResult::Failed("The picture cannot be written over the LAS file.");
  const QSize size = PictureSize();
  if (m_printRatio && size.height() > kMostPictureSide)
    return CResult::Failed(
        QStringLiteral("At %1 the depths shown make a picture %2 pixels high; the most is %3. "
                       "Show fewer depths or choose a smaller scale.")
            .arg(RatioText(*m_printRatio))
            .arg(size.height())
            .arg(kMostPictureSide)
            .toLocal8Bit()
            .toStdString());
  auto lock = m_session->Data().Lock();
  const CPlotPainter painter(m_session->Data(), &m_session->Rows(), m_session->Layout(), m_session->Scales());
  return ExportPlot(painter, m_session->Top(), m_session->Base(), size, path);
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
