#include "lasview/CrossplotWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "lasview/DepthBoxes.h"
#include "lasview/LasWindowHelp.h"
#include "lasview/QueuedWake.h"
#include "lasview/WindowDialogs.h"
#include "plot/CrossplotPainter.h"
#include "plot/PlotExport.h"
#include "plot/PlotPainter.h"
#include "plotmodel/CurveStyle.h"

namespace corvane {
namespace {

// A point within this share of the axes is the one under the pointer.
constexpr double kPointerReach = 0.015;

QString ValueText(double value) { return QString::number(value, 'g', 6); }

}  // namespace

class CCrossplotWindow::CCanvas : public QWidget {
 public:
  explicit CCanvas(CCrossplotWindow& window) : QWidget(&window), m_window(window) {
    setObjectName(QStringLiteral("crossplotCanvas"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 240);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    m_window.PaintPlot(painter, QRectF(rect()));
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    const QString text = m_window.ReadoutAt(event->position());
    m_window.m_readout->setText(text);
    emit m_window.ReadoutChanged(text);
  }
  void leaveEvent(QEvent*) override {
    m_window.m_readout->clear();
    emit m_window.ReadoutChanged(QString());
  }

 private:
  CCrossplotWindow& m_window;
};

CCrossplotWindow::CCrossplotWindow(CLasSession& session, CWindowDialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      m_session(&session),
      m_dialogs(dialogs),
      m_path(QFile::decodeName(QByteArray::fromStdString(session.Path()))),
      m_job([this] { m_wake->Wake(); }) {
  m_wake = new CQueuedWake(this, [this] { TakeOutcome(); });
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Title());
  BuildWidgets();
  m_session->AddObserver(this);
  m_top = m_session->Top();
  m_base = m_session->Base();
  TakeHeader();
}

CCrossplotWindow::~CCrossplotWindow() { Detach(); }

void CCrossplotWindow::Detach() {
  if (m_session == nullptr) return;
  m_session->RemoveObserver(this);
  m_session = nullptr;
  m_job.Cancel();
  m_job.Wait();
}

QString CCrossplotWindow::Title() const {
  return QStringLiteral("Crossplot of ") + QFileInfo(m_path).fileName();
}

bool CCrossplotWindow::IsSameFile(const QString& path) const { return SameFileName(m_path, path); }

QString CCrossplotWindow::HelpTopic() const { return QLatin1String(kLasWindowHelpTopic); }

unsigned CCrossplotWindow::HelpResource() const { return kLasWindowHelpResource; }

QSize CCrossplotWindow::InitialSize(const QSize& area) const {
  return QSize(std::min(area.width(), 760), std::min(area.height(), 700)).expandedTo(QSize(480, 480));
}

void CCrossplotWindow::BuildWidgets() {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(4, 4, 4, 4);
  auto* curves = new QHBoxLayout;
  auto combo = [this](const char* name) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QLatin1String(name));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
  };
  m_xBox = combo("xCurve");
  m_yBox = combo("yCurve");
  m_colorBox = combo("colorCurve");
  curves->addWidget(new QLabel(QStringLiteral("Across"), this));
  curves->addWidget(m_xBox);
  curves->addWidget(new QLabel(QStringLiteral("Up"), this));
  curves->addWidget(m_yBox);
  curves->addWidget(new QLabel(QStringLiteral("Colour"), this));
  curves->addWidget(m_colorBox);
  curves->addStretch(1);
  box->addLayout(curves);

  auto* depths = new QHBoxLayout;
  m_depthBoxes = new CDepthBoxes(this, depths);
  m_followBox = new QCheckBox(QStringLiteral("Follow the log"), this);
  m_followBox->setObjectName(QStringLiteral("followLog"));
  m_followBox->setChecked(true);
  m_followBox->setStatusTip(QStringLiteral("Show the depths the LAS window shows, and show these there"));
  depths->addWidget(m_followBox);
  depths->addStretch(1);
  m_strip.AddTo(this, depths, "crossplot");
  box->addLayout(depths);

  m_canvas = new CCanvas(*this);
  box->addWidget(m_canvas, 1);
  m_readout = new QLabel(this);
  m_readout->setObjectName(QStringLiteral("crossplotReadout"));
  m_readout->setTextFormat(Qt::PlainText);
  box->addWidget(m_readout);

  for (QComboBox* curveBox : {m_xBox, m_yBox, m_colorBox})
    connect(curveBox, &QComboBox::activated, this, &CCrossplotWindow::TakeCurves);
  connect(m_depthBoxes, &CDepthBoxes::RangeTyped, this, &CCrossplotWindow::SetDepthRange);
  connect(m_depthBoxes, &CDepthBoxes::WholeRequested, this, [this] {
    if (m_session == nullptr) return;
    if (m_follow) {
      m_session->ShowWhole();
    } else if (const auto range = m_session->WholeRange()) {
      SetDepthRange(range->first, range->second);
    }
  });
  connect(m_followBox, &QCheckBox::toggled, this, &CCrossplotWindow::SetFollowsLog);
  connect(m_strip.Cancel(), &QPushButton::clicked, this, [this] { m_job.Cancel(); });
}

void CCrossplotWindow::TakeHeader() {
  if (m_session == nullptr) return;
  std::vector<CurveFamily> families;
  {
    auto lock = m_session->Data().Lock();
    if (!m_session->Data().HasHeader()) return;
    m_header = m_session->Data().Header();
  }
  m_hasHeader = true;
  families = FamiliesOf(m_header);
  for (QComboBox* curveBox : {m_xBox, m_yBox, m_colorBox}) {
    const QSignalBlocker quiet(curveBox);
    curveBox->clear();
  }
  m_colorBox->addItem(QStringLiteral("(none)"));
  for (std::size_t c = 1; c < m_header.curves.size(); ++c) {
    const QString name = PlotText(m_header.curves[c].mnemonic);
    m_xBox->addItem(name);
    m_yBox->addItem(name);
    m_colorBox->addItem(name);
  }
  // Neutron porosity against density, coloured by gamma ray, where the file has them.
  auto first = [&](CurveFamily family) -> std::optional<std::size_t> {
    for (std::size_t c = 1; c < families.size(); ++c)
      if (families[c] == family) return c;
    return std::nullopt;
  };
  const std::size_t last = m_header.curves.size() > 1 ? m_header.curves.size() - 1 : 0;
  const std::size_t x = first(CurveFamily::NeutronPorosity).value_or(std::min<std::size_t>(1, last));
  std::size_t y = first(CurveFamily::Density).value_or(std::min<std::size_t>(2, last));
  if (y == x && last > 1) y = x == 1 ? 2 : 1;
  SetCurves(x, y, first(CurveFamily::GammaRay));
}

void CCrossplotWindow::SetCurves(std::size_t x, std::size_t y, std::optional<std::size_t> color) {
  if (!m_hasHeader || m_header.curves.size() < 2) return;
  const std::size_t last = m_header.curves.size() - 1;
  m_x = std::clamp<std::size_t>(x, 1, last);
  m_y = std::clamp<std::size_t>(y, 1, last);
  m_color = color && *color >= 1 && *color <= last ? color : std::nullopt;
  m_xBox->setCurrentIndex(static_cast<int>(m_x) - 1);
  m_yBox->setCurrentIndex(static_cast<int>(m_y) - 1);
  m_colorBox->setCurrentIndex(m_color ? static_cast<int>(*m_color) : 0);
  Restart();
}

void CCrossplotWindow::TakeCurves() {
  const int color = m_colorBox->currentIndex();
  SetCurves(static_cast<std::size_t>(m_xBox->currentIndex()) + 1,
            static_cast<std::size_t>(m_yBox->currentIndex()) + 1,
            color > 0 ? std::optional<std::size_t>(color) : std::nullopt);
}

bool CCrossplotWindow::FollowsLog() const { return m_follow; }

void CCrossplotWindow::SetFollowsLog(bool follow) {
  m_follow = follow;
  const QSignalBlocker quiet(m_followBox);
  m_followBox->setChecked(follow);
  if (follow && m_session != nullptr) SetDepthRange(m_session->Top(), m_session->Base());
}

void CCrossplotWindow::SetDepthRange(double top, double base) {
  if (base < top) std::swap(top, base);
  // Linked: the LAS window shows them too (within its file), and its view comes back here.
  if (m_follow && m_session != nullptr) {
    m_session->SetDepthRange(top, base);
    top = m_session->Top();
    base = m_session->Base();
  }
  if (top == m_top && base == m_base && (m_job.Result() || m_job.Running())) {
    ShowDepths();
    return;
  }
  m_top = top;
  m_base = base;
  ShowDepths();
  Restart();
}

void CCrossplotWindow::ShowDepths() { m_depthBoxes->Show(m_top, m_base); }

void CCrossplotWindow::Restart() {
  ShowDepths();
  if (m_session == nullptr || !m_hasHeader || m_header.curves.size() < 2 || m_session->FileChanged()) return;
  CCrossplotSetup setup;
  std::optional<CCrossplotStart> start;
  {
    const CLasData& data = m_session->Data();
    auto lock = data.Lock();
    if (data.Curves() != m_header.curves.size()) return;
    const std::vector<CurveFamily> families = FamiliesOf(m_header);
    setup.x = m_x;
    setup.y = m_y;
    setup.color = m_color;
    setup.xAxis = CrossplotAxis(data.Sample(m_x), families[m_x], m_header.curves[m_x].unit, false);
    setup.yAxis = CrossplotAxis(data.Sample(m_y), families[m_y], m_header.curves[m_y].unit, true);
    if (m_color)
      setup.colorScale = CTrackScale::Proposed(data.Sample(*m_color), false, families[*m_color],
                                               m_header.curves[*m_color].unit);
    setup.top = m_top;
    setup.base = m_base;
    start = CrossplotStartOf(data, m_top, m_base);
  }
  if (!start) return;
  m_job.Start(setup, *start);
  m_strip.Started();
}

void CCrossplotWindow::TakeOutcome() {
  if (!m_job.TakeOutcome()) {
    if (m_job.Running()) m_strip.Show(m_job.Progress());
    return;
  }
  m_strip.Ended();
  const CCrossplotRead& read = m_job.Outcome();
  switch (read.state) {
    case LoadState::Cancelled:
      m_strip.Label()->setText(QStringLiteral("Crossplot cancelled: the readings read so far are shown."));
      break;
    case LoadState::Failed:
      m_strip.Label()->setText(QString::fromLocal8Bit(read.error.c_str()));
      if (read.fileChanged && m_session != nullptr) m_session->CheckFile();
      break;
    default:
      m_strip.Label()->clear();
      break;
  }
  m_canvas->update();
}

void CCrossplotWindow::Wait() {
  m_job.Wait();
  TakeOutcome();
}

void CCrossplotWindow::OnSessionChanged(unsigned changes) {
  if (changes & SessionChange::kClosing) {
    // Its LAS window goes, and the crossplot with it.
    Detach();
    if (QWidget* frame = parentWidget(); frame != nullptr && frame->isWindow() == false)
      frame->close();
    else
      close();
    return;
  }
  if ((changes & SessionChange::kHeader) && !m_hasHeader) TakeHeader();
  if ((changes & SessionChange::kView) && m_follow) SetDepthRange(m_session->Top(), m_session->Base());
  // The file read anew, or read to its end: read again.
  if (changes & SessionChange::kLoadEnded) {
    if (!m_hasHeader)
      TakeHeader();
    else
      Restart();
  }
  if ((changes & SessionChange::kFile) && !m_session->FileChanged()) m_hasHeader = false;
}

void CCrossplotWindow::PaintPlot(QPainter& painter, const QRectF& area) const {
  const CCrossplot* plot = m_job.Result();
  if (plot == nullptr || !m_hasHeader) {
    painter.fillRect(area, Qt::white);
    return;
  }
  CCrossplotPainter(*plot, m_header, QFileInfo(m_path).fileName()).Paint(painter, area);
}

QString CCrossplotWindow::ReadoutAt(const QPointF& point) const {
  const CCrossplot* plot = m_job.Result();
  if (plot == nullptr || !m_hasHeader) return {};
  const CCrossplotPainter painter(*plot, m_header, QFileInfo(m_path).fileName());
  const auto [fx, fy] = painter.FractionsAt(QRectF(m_canvas->rect()), point);
  if (!(fx >= 0 && fx <= 1 && fy >= 0 && fy <= 1)) return {};
  const CCrossplotSetup& setup = plot->Setup();
  auto named = [this](std::size_t curve, const QString& value) {
    const CCurveInfo& info = m_header.curves[curve];
    return PlotText(info.mnemonic) + ' ' + value +
           (info.unit.empty() ? QString() : ' ' + PlotText(info.unit));
  };
  const QString depthUnit = m_header.curves.empty() || m_header.curves.front().unit.empty()
                                ? QString()
                                : ' ' + PlotText(m_header.curves.front().unit);
  if (plot->ShowsPoints()) {
    if (const CCrossplot::CPoint* near = plot->Nearest(fx, fy, kPointerReach)) {
      QString text =
          named(setup.x, ValueText(near->x)) + QStringLiteral("   ") + named(setup.y, ValueText(near->y));
      if (setup.color)
        text += QStringLiteral("   ") +
                named(*setup.color, std::isnan(near->color) ? QStringLiteral("-") : ValueText(near->color));
      return text + QStringLiteral("   at ") + QString::number(near->depth, 'g', 10) + depthUnit;
    }
  } else if (const auto bin = CCrossplot::BinAt(fx, fy)) {
    if (const auto depths = plot->BinDepths(bin->first, bin->second)) {
      auto range = [](const CTrackScale& axis, int index) {
        const double low = axis.ValueAt(static_cast<double>(index) / CCrossplot::kBins);
        const double high = axis.ValueAt(static_cast<double>(index + 1) / CCrossplot::kBins);
        return ValueText(std::min(low, high)) + QStringLiteral(" to ") + ValueText(std::max(low, high));
      };
      return named(setup.x, range(setup.xAxis, bin->first)) + QStringLiteral("   ") +
             named(setup.y, range(setup.yAxis, bin->second)) +
             QStringLiteral("   %1 readings at %2 to %3%4")
                 .arg(plot->Count(bin->first, bin->second))
                 .arg(QString::number(depths->first, 'g', 10), QString::number(depths->second, 'g', 10),
                      depthUnit);
    }
  }
  // Off the readings: where the pointer stands on the axes.
  return named(setup.x, ValueText(setup.xAxis.ValueAt(fx))) + QStringLiteral("   ") +
         named(setup.y, ValueText(setup.yAxis.ValueAt(fy)));
}

void CCrossplotWindow::Render(QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat && IsSameFile(printer.outputFileName())) return;
  QPainter painter;
  if (!painter.begin(&printer)) return;
  const double scale = printer.resolution() / 96.0;
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  painter.scale(scale, scale);
  const double side = std::min(page.width(), page.height()) / scale;
  PaintPlot(painter, QRectF(0, 0, side, side));
  painter.end();
}

std::optional<CChildWindow::CSaveDialog> CCrossplotWindow::SaveDialog(SaveKind kind) const {
  if (kind != SaveKind::Plot) return std::nullopt;
  const QFileInfo file(m_path);
  return CSaveDialog{QStringLiteral("Save Crossplot As"),
                     QStringLiteral("PNG Pictures (*.png);;SVG Pictures (*.svg);;PDF Files (*.pdf)"),
                     file.dir().filePath(file.completeBaseName() + "-crossplot.png"),
                     QStringLiteral("png"),
                     QStringLiteral("Failed to save the plot."),
                     false};
}

CResult CCrossplotWindow::Save(SaveKind kind, const QString& path) {
  if (kind != SaveKind::Plot) return CResult::Failed("The crossplot window saves its plot only.");
  if (IsSameFile(path)) return CResult::Failed("The picture cannot be written over the LAS file.");
  if (m_job.Result() == nullptr) return CResult::Failed("The crossplot has not been read yet.");
  return ExportPicture(m_canvas->size().expandedTo(QSize(400, 400)), path,
                       [this](QPainter& painter, const QRectF& area) { PaintPlot(painter, area); });
}

}  // namespace corvane
