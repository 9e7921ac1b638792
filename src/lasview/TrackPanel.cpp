#include "lasview/TrackPanel.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "plot/PlotPainter.h"
#include "plotmodel/LasData.h"

namespace corvane {
namespace {

constexpr int kTrackRole = Qt::UserRole;
constexpr int kCurveRole = Qt::UserRole + 1;
constexpr int kMostWidth = 2000;

QString EndText(double value) { return QString::number(value, 'g', 6); }

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QLatin1String(text), parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CTrackPanel::CTrackPanel(CLasSession& session, QWidget* parent) : QWidget(parent), m_session(session) {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(4, 4, 4, 4);
  m_tree = new QTreeWidget(this);
  m_tree->setObjectName(QStringLiteral("tracks"));
  m_tree->setHeaderLabel(QStringLiteral("Tracks"));
  m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
  box->addWidget(m_tree, 1);

  auto* buttons = new QGridLayout;
  m_moveUp = Button("Move Up", "moveUp", this);
  m_moveDown = Button("Move Down", "moveDown", this);
  m_join = Button("Join Track Above", "joinTrack", this);
  m_split = Button("Own Track", "ownTrack", this);
  buttons->addWidget(m_moveUp, 0, 0);
  buttons->addWidget(m_moveDown, 0, 1);
  buttons->addWidget(m_join, 1, 0);
  buttons->addWidget(m_split, 1, 1);
  box->addLayout(buttons);

  m_log = new QCheckBox(QStringLiteral("Log scale"), this);
  m_log->setObjectName(QStringLiteral("logScale"));
  box->addWidget(m_log);
  m_fills = new QWidget(this);
  m_fillBox = new QVBoxLayout(m_fills);
  m_fillBox->setContentsMargins(0, 0, 0, 0);
  box->addWidget(m_fills);
  auto* ends = new QFormLayout;
  m_width = new QSpinBox(this);
  m_width->setObjectName(QStringLiteral("trackWidth"));
  m_width->setRange(0, kMostWidth);
  m_width->setSpecialValueText(QStringLiteral("Auto"));
  m_width->setSuffix(QStringLiteral(" px"));
  m_width->setKeyboardTracking(false);
  ends->addRow(QStringLiteral("Track width:"), m_width);
  m_left = new QLineEdit(this);
  m_left->setObjectName(QStringLiteral("leftEnd"));
  m_right = new QLineEdit(this);
  m_right->setObjectName(QStringLiteral("rightEnd"));
  ends->addRow(QStringLiteral("Left end:"), m_left);
  ends->addRow(QStringLiteral("Right end:"), m_right);
  box->addLayout(ends);

  auto* saving = new QGridLayout;
  QPushButton* save = Button("Save Settings", "saveSettings", this);
  QPushButton* saveTemplate = Button("Save as Template...", "saveTemplate", this);
  QPushButton* byDefault = Button("Default Tracks", "defaultTracks", this);
  saving->addWidget(save, 0, 0);
  saving->addWidget(saveTemplate, 0, 1);
  saving->addWidget(byDefault, 1, 0);
  box->addLayout(saving);

  connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CTrackPanel::ShowSelection);
  connect(m_tree, &QTreeWidget::itemChanged, this, &CTrackPanel::OnItemChanged);
  connect(m_moveUp, &QPushButton::clicked, this, [this] { Move(-1); });
  connect(m_moveDown, &QPushButton::clicked, this, [this] { Move(1); });
  connect(m_width, &QSpinBox::valueChanged, this, [this](int value) {
    const int track = SelectedTrack();
    if (m_building || track < 0) return;
    const std::optional<double> width = value > 0 ? std::optional<double>(value) : std::nullopt;
    if (m_session.Layout().tracks[static_cast<std::size_t>(track)].width == width) return;
    Change(
        [track, width](CPlotLayout& layout) {
          layout.tracks[static_cast<std::size_t>(track)].width = width;
          return true;
        },
        track, -2);
  });
  connect(m_join, &QPushButton::clicked, this, [this] {
    const int track = SelectedTrack();
    const int curve = SelectedCurve();
    if (track < 1 || curve < 0) return;
    const int place =
        static_cast<int>(m_session.Layout().tracks[static_cast<std::size_t>(track - 1)].curves.size());
    Change(
        [track, curve](CPlotLayout& layout) {
          return layout.JoinPrevious(static_cast<std::size_t>(track), static_cast<std::size_t>(curve));
        },
        track - 1, place);
  });
  connect(m_split, &QPushButton::clicked, this, [this] {
    const int track = SelectedTrack();
    const int curve = SelectedCurve();
    if (curve < 0) return;
    Change(
        [track, curve](CPlotLayout& layout) {
          return layout.Split(static_cast<std::size_t>(track), static_cast<std::size_t>(curve));
        },
        track + 1, 0);
  });
  connect(m_log, &QCheckBox::clicked, this, [this](bool on) {
    const int track = SelectedTrack();
    if (track < 0) return;
    Change(
        [track, on](CPlotLayout& layout) {
          layout.tracks[static_cast<std::size_t>(track)].log = on;
          return true;
        },
        track, -2);
  });
  connect(m_left, &QLineEdit::editingFinished, this, [this] { TakeEnd(true); });
  connect(m_right, &QLineEdit::editingFinished, this, [this] { TakeEnd(false); });
  connect(save, &QPushButton::clicked, this, &CTrackPanel::SaveRequested);
  connect(saveTemplate, &QPushButton::clicked, this, &CTrackPanel::SaveTemplateRequested);
  connect(byDefault, &QPushButton::clicked, this, &CTrackPanel::DefaultRequested);
  m_session.AddObserver(this);
  ShowSelection();
}

CTrackPanel::~CTrackPanel() { m_session.RemoveObserver(this); }

void CTrackPanel::OnSessionChanged(unsigned changes) {
  if (changes & SessionChange::kHeader) {
    m_names.clear();
    auto lock = m_session.Data().Lock();
    for (const CCurveInfo& curve : m_session.Data().Header().curves)
      m_names.append(curve.unit.empty() ? PlotText(curve.mnemonic)
                                        : PlotText(curve.mnemonic) + " (" + PlotText(curve.unit) + ")");
  }
  // A change of the panel's own is shown by the panel once it is made.
  if (!m_changing && (changes & (SessionChange::kHeader | SessionChange::kLayout)))
    Rebuild();
  else if (changes & SessionChange::kRows)
    ShowSelection();  // the scale ends from the data move while a file loads
}

void CTrackPanel::Change(const std::function<bool(CPlotLayout&)>& change, int track, int curve) {
  m_changing = true;
  const bool changed = m_session.ChangeLayout(change);
  m_changing = false;
  if (!changed) return;
  // -2: the curve selected, as the changed tracks see it.
  if (curve == -2) curve = SelectedCurve();
  Rebuild();
  Select(track, curve);
}

void CTrackPanel::Move(int by) {
  const int track = SelectedTrack();
  if (track == kDepthTrack) {
    // The depth track moves among the tracks; it stays selected.
    m_changing = true;
    const bool moved = m_session.ChangeLayout([by](CPlotLayout& layout) {
      const long to = static_cast<long>(layout.depthTrack) + by;
      if (to < 0 || to > static_cast<long>(layout.tracks.size())) return false;
      layout.depthTrack = static_cast<std::size_t>(to);
      return true;
    });
    m_changing = false;
    if (!moved) return;
    Rebuild();
    Select(kDepthTrack, -1);
    return;
  }
  if (track < 0) return;
  // Past the depth track a track keeps its place among the tracks.
  const std::size_t depthBefore = m_session.Layout().depthTrack;
  const auto from = static_cast<std::size_t>(track);
  const bool crosses = (by < 0 && from == depthBefore) || (by > 0 && from + 1 == depthBefore);
  Change([from, by](CPlotLayout& layout) { return layout.MoveTrack(from, by); }, crosses ? track : track + by,
         -2);
}

void CTrackPanel::ShowFills(int track) {
  while (QLayoutItem* item = m_fillBox->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  m_fills->setVisible(track >= 0 &&
                      !m_session.Layout().tracks[static_cast<std::size_t>(track)].fills.empty());
  if (track < 0) return;
  const CTrack& shown = m_session.Layout().tracks[static_cast<std::size_t>(track)];
  auto name = [this](std::size_t curve) {
    const QString text =
        curve < static_cast<std::size_t>(m_names.size()) ? m_names.at(static_cast<int>(curve)) : QString();
    return text.section(QLatin1Char(' '), 0, 0);
  };
  for (std::size_t f = 0; f < shown.fills.size(); ++f) {
    const CTrackFill& fill = shown.fills[f];
    auto* check =
        new QCheckBox(fill.kind == FillKind::Crossover
                          ? QStringLiteral("Crossover fill (%1, %2)").arg(name(fill.curve), name(fill.other))
                          : QStringLiteral("Fill from the left edge (%1)").arg(name(fill.curve)),
                      m_fills);
    check->setObjectName(QStringLiteral("fill%1").arg(f));
    check->setChecked(fill.on);
    m_fillBox->addWidget(check);
    connect(check, &QCheckBox::clicked, this, [this, track, f](bool on) {
      m_changing = true;
      m_session.ChangeLayout([track, f, on](CPlotLayout& layout) {
        std::vector<CTrackFill>& fills = layout.tracks[static_cast<std::size_t>(track)].fills;
        if (f >= fills.size() || fills[f].on == on) return false;
        fills[f].on = on;
        return true;
      });
      m_changing = false;
    });
  }
}

void CTrackPanel::Rebuild() {
  const CPlotLayout& layout = m_session.Layout();
  const int track = SelectedTrack();
  const int curve = SelectedCurve();
  m_building = true;
  m_tree->clear();
  std::vector<CurveFamily> families;
  {
    auto lock = m_session.Data().Lock();
    families = layout.families.size() == m_session.Data().Curves() ? layout.families
                                                                   : FamiliesOf(m_session.Data().Header());
  }
  const std::vector<std::vector<CRgb>> colors = TrackColors(layout, families);
  auto addDepthTrack = [this] {
    auto* item = new QTreeWidgetItem(m_tree);
    item->setText(0, QStringLiteral("Depth track"));
    item->setData(0, kTrackRole, kDepthTrack);
    item->setData(0, kCurveRole, -1);
  };
  for (std::size_t t = 0; t < layout.tracks.size(); ++t) {
    if (t == layout.depthTrack) addDepthTrack();
    const CTrack& ofLayout = layout.tracks[t];
    auto* item = new QTreeWidgetItem(m_tree);
    item->setText(
        0, QStringLiteral("Track %1").arg(t + 1) + (ofLayout.log ? QStringLiteral(" (log)") : QString()));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, ofLayout.hidden ? Qt::Unchecked : Qt::Checked);
    item->setData(0, kTrackRole, static_cast<int>(t));
    item->setData(0, kCurveRole, -1);
    for (std::size_t k = 0; k < ofLayout.curves.size(); ++k) {
      auto* child = new QTreeWidgetItem(item);
      const std::size_t curveOfFile = ofLayout.curves[k].curve;
      child->setText(0, curveOfFile < static_cast<std::size_t>(m_names.size())
                            ? m_names.at(static_cast<int>(curveOfFile))
                            : QString());
      child->setForeground(0, ToQColor(colors[t][k]));
      child->setData(0, kTrackRole, static_cast<int>(t));
      child->setData(0, kCurveRole, static_cast<int>(k));
    }
  }
  if (layout.depthTrack >= layout.tracks.size()) addDepthTrack();
  m_tree->expandAll();
  m_building = false;
  if (track >= 0 || track == kDepthTrack)
    Select(track == kDepthTrack ? track : std::min(track, static_cast<int>(layout.tracks.size()) - 1), curve);
  else
    ShowSelection();
}

void CTrackPanel::Select(int track, int curve) {
  QTreeWidgetItem* item = nullptr;
  for (int i = 0; i < m_tree->topLevelItemCount() && track != -1; ++i)
    if (m_tree->topLevelItem(i)->data(0, kTrackRole).toInt() == track) item = m_tree->topLevelItem(i);
  if (item == nullptr) {
    m_tree->clearSelection();
    ShowSelection();
    return;
  }
  if (curve >= 0 && curve < item->childCount()) item = item->child(curve);
  m_tree->setCurrentItem(item);
  ShowSelection();
}

int CTrackPanel::SelectedTrack() const {
  const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
  return selected.isEmpty() ? -1 : selected.front()->data(0, kTrackRole).toInt();
}

int CTrackPanel::SelectedCurve() const {
  const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
  if (selected.isEmpty()) return -1;
  const int curve = selected.front()->data(0, kCurveRole).toInt();
  // A track of one curve stands for that curve.
  if (curve < 0 && SelectedTrack() >= 0 &&
      m_session.Layout().tracks[static_cast<std::size_t>(SelectedTrack())].curves.size() == 1)
    return 0;
  return curve;
}

void CTrackPanel::ShowSelection() {
  if (m_building) return;
  const CPlotLayout& layout = m_session.Layout();
  const CPlotScales& scales = m_session.Scales();
  const int track = SelectedTrack();
  const int curve = SelectedCurve();
  const int tracks = static_cast<int>(layout.tracks.size());
  const int depth = static_cast<int>(std::min(layout.depthTrack, layout.tracks.size()));
  if (track == kDepthTrack) {
    m_moveUp->setEnabled(depth > 0);
    m_moveDown->setEnabled(depth < tracks);
  } else {
    // A track moves past the depth track, and the first track left of it or the last right.
    m_moveUp->setEnabled(track > 0 || (track == 0 && depth == 0));
    m_moveDown->setEnabled(track >= 0 && (track + 1 < tracks || depth == tracks));
  }
  m_join->setEnabled(track > 0 && curve >= 0);
  m_split->setEnabled(track >= 0 && curve >= 0 &&
                      layout.tracks[static_cast<std::size_t>(track)].curves.size() > 1);
  m_log->setEnabled(track >= 0);
  m_log->setChecked(track >= 0 && layout.tracks[static_cast<std::size_t>(track)].log);
  {
    const QSignalBlocker quiet(m_width);
    m_width->setEnabled(track >= 0);
    const std::optional<double> width =
        track >= 0 ? layout.tracks[static_cast<std::size_t>(track)].width : std::nullopt;
    m_width->setValue(width ? static_cast<int>(std::lround(*width)) : 0);
  }
  ShowFills(track);
  const bool oneCurve = track >= 0 && curve >= 0;
  for (QLineEdit* box : {m_left, m_right}) {
    box->setEnabled(oneCurve);
    box->clear();
    box->setPlaceholderText(QString());
  }
  if (!oneCurve) return;
  const CTrackCurve& selected =
      layout.tracks[static_cast<std::size_t>(track)].curves[static_cast<std::size_t>(curve)];
  if (selected.left) m_left->setText(EndText(*selected.left));
  if (selected.right) m_right->setText(EndText(*selected.right));
  // The ends from the data stand in the empty boxes.
  if (static_cast<std::size_t>(track) < scales.size() &&
      static_cast<std::size_t>(curve) < scales[static_cast<std::size_t>(track)].size()) {
    const CTrackScale& scale = scales[static_cast<std::size_t>(track)][static_cast<std::size_t>(curve)];
    m_left->setPlaceholderText(EndText(scale.Left()));
    m_right->setPlaceholderText(EndText(scale.Right()));
  }
}

void CTrackPanel::TakeEnd(bool left) {
  const int track = SelectedTrack();
  const int curve = SelectedCurve();
  if (track < 0 || curve < 0) return;
  const CTrackCurve& selected =
      m_session.Layout().tracks[static_cast<std::size_t>(track)].curves[static_cast<std::size_t>(curve)];
  QLineEdit* box = left ? m_left : m_right;
  std::optional<double> typed;
  if (!box->text().trimmed().isEmpty()) {
    bool ok = false;
    const double value = QLocale::c().toDouble(box->text().trimmed(), &ok);
    if (!ok) {
      ShowSelection();  // not a number: the box shows the end as it was
      return;
    }
    typed = value;
  }
  if (typed == (left ? selected.left : selected.right)) return;
  Change(
      [track, curve, left, typed](CPlotLayout& layout) {
        CTrackCurve& changed =
            layout.tracks[static_cast<std::size_t>(track)].curves[static_cast<std::size_t>(curve)];
        (left ? changed.left : changed.right) = typed;
        return true;
      },
      track, curve);
}

void CTrackPanel::OnItemChanged(QTreeWidgetItem* item) {
  if (m_building || item->parent() != nullptr) return;
  const int track = item->data(0, kTrackRole).toInt();
  if (track < 0) return;
  const bool hidden = item->checkState(0) != Qt::Checked;
  if (m_session.Layout().tracks[static_cast<std::size_t>(track)].hidden == hidden) return;
  // The tree shows the check already: nothing to build again.
  m_changing = true;
  m_session.ChangeLayout([track, hidden](CPlotLayout& layout) {
    layout.tracks[static_cast<std::size_t>(track)].hidden = hidden;
    return true;
  });
  m_changing = false;
}

}  // namespace corvane
