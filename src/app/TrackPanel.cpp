#include "app/TrackPanel.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvane {
namespace {

constexpr int kTrackRole = Qt::UserRole;
constexpr int kCurveRole = Qt::UserRole + 1;

QString EndText(double value) { return QString::number(value, 'g', 6); }

}  // namespace

CTrackPanel::CTrackPanel(CPlotLayout& layout, const CPlotScales& scales, QWidget* parent)
    : QWidget(parent), m_layout(layout), m_scales(scales) {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(4, 4, 4, 4);
  m_tree = new QTreeWidget(this);
  m_tree->setObjectName(QStringLiteral("tracks"));
  m_tree->setHeaderLabel(QStringLiteral("Tracks"));
  m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
  box->addWidget(m_tree, 1);

  auto* buttons = new QGridLayout;
  m_moveUp = new QPushButton(QStringLiteral("Move Up"), this);
  m_moveDown = new QPushButton(QStringLiteral("Move Down"), this);
  m_join = new QPushButton(QStringLiteral("Join Track Above"), this);
  m_split = new QPushButton(QStringLiteral("Own Track"), this);
  buttons->addWidget(m_moveUp, 0, 0);
  buttons->addWidget(m_moveDown, 0, 1);
  buttons->addWidget(m_join, 1, 0);
  buttons->addWidget(m_split, 1, 1);
  box->addLayout(buttons);

  m_log = new QCheckBox(QStringLiteral("Log scale"), this);
  box->addWidget(m_log);
  auto* ends = new QFormLayout;
  m_left = new QLineEdit(this);
  m_left->setObjectName(QStringLiteral("leftEnd"));
  m_right = new QLineEdit(this);
  m_right->setObjectName(QStringLiteral("rightEnd"));
  ends->addRow(QStringLiteral("Left end:"), m_left);
  ends->addRow(QStringLiteral("Right end:"), m_right);
  box->addLayout(ends);

  auto* saving = new QGridLayout;
  m_save = new QPushButton(QStringLiteral("Save Settings"), this);
  m_saveTemplate = new QPushButton(QStringLiteral("Save as Template..."), this);
  m_default = new QPushButton(QStringLiteral("Default Tracks"), this);
  saving->addWidget(m_save, 0, 0);
  saving->addWidget(m_saveTemplate, 0, 1);
  saving->addWidget(m_default, 1, 0);
  box->addLayout(saving);
  for (QPushButton* button : {m_moveUp, m_moveDown, m_join, m_split, m_save, m_saveTemplate, m_default})
    button->setAutoDefault(false);

  connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CTrackPanel::ShowSelection);
  connect(m_tree, &QTreeWidget::itemChanged, this, &CTrackPanel::OnItemChanged);
  connect(m_moveUp, &QPushButton::clicked, this, [this] {
    const int track = SelectedTrack();
    if (m_layout.MoveTrack(static_cast<std::size_t>(track), -1)) Changed(track - 1, SelectedCurve());
  });
  connect(m_moveDown, &QPushButton::clicked, this, [this] {
    const int track = SelectedTrack();
    if (m_layout.MoveTrack(static_cast<std::size_t>(track), 1)) Changed(track + 1, SelectedCurve());
  });
  connect(m_join, &QPushButton::clicked, this, [this] {
    const int track = SelectedTrack();
    if (track < 1 || SelectedCurve() < 0) return;
    const int place = static_cast<int>(m_layout.tracks[static_cast<std::size_t>(track - 1)].curves.size());
    if (m_layout.JoinPrevious(static_cast<std::size_t>(track), static_cast<std::size_t>(SelectedCurve())))
      Changed(track - 1, place);
  });
  connect(m_split, &QPushButton::clicked, this, [this] {
    const int track = SelectedTrack();
    if (SelectedCurve() >= 0 &&
        m_layout.Split(static_cast<std::size_t>(track), static_cast<std::size_t>(SelectedCurve())))
      Changed(track + 1, 0);
  });
  connect(m_log, &QCheckBox::clicked, this, [this](bool on) {
    const int track = SelectedTrack();
    if (track < 0) return;
    m_layout.tracks[static_cast<std::size_t>(track)].log = on;
    Changed(track, SelectedCurve());
  });
  connect(m_left, &QLineEdit::editingFinished, this, [this] { TakeEnd(true); });
  connect(m_right, &QLineEdit::editingFinished, this, [this] { TakeEnd(false); });
  connect(m_save, &QPushButton::clicked, this, &CTrackPanel::SaveRequested);
  connect(m_saveTemplate, &QPushButton::clicked, this, &CTrackPanel::SaveTemplateRequested);
  connect(m_default, &QPushButton::clicked, this, &CTrackPanel::DefaultRequested);
  ShowSelection();
}

void CTrackPanel::SetCurveNames(const QStringList& names) {
  m_names = names;
  Rebuild();
}

void CTrackPanel::Rebuild() {
  const int track = SelectedTrack();
  const int curve = SelectedCurve();
  m_building = true;
  m_tree->clear();
  for (std::size_t t = 0; t < m_layout.tracks.size(); ++t) {
    const CTrack& ofLayout = m_layout.tracks[t];
    auto* item = new QTreeWidgetItem(m_tree);
    item->setText(
        0, QStringLiteral("Track %1").arg(t + 1) + (ofLayout.log ? QStringLiteral(" (log)") : QString()));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, ofLayout.hidden ? Qt::Unchecked : Qt::Checked);
    item->setData(0, kTrackRole, static_cast<int>(t));
    item->setData(0, kCurveRole, -1);
    for (std::size_t k = 0; k < ofLayout.curves.size(); ++k) {
      auto* child = new QTreeWidgetItem(item);
      const std::size_t curve = ofLayout.curves[k].curve;
      child->setText(0, curve < static_cast<std::size_t>(m_names.size()) ? m_names.at(static_cast<int>(curve))
                                                                         : QString());
      child->setForeground(0, CPlotPainter::CurveColor(t, k));
      child->setData(0, kTrackRole, static_cast<int>(t));
      child->setData(0, kCurveRole, static_cast<int>(k));
    }
  }
  m_tree->expandAll();
  m_building = false;
  if (track >= 0)
    Select(std::min(track, static_cast<int>(m_layout.tracks.size()) - 1), curve);
  else
    ShowSelection();
}

void CTrackPanel::Select(int track, int curve) {
  if (track < 0 || track >= m_tree->topLevelItemCount()) {
    m_tree->clearSelection();
    ShowSelection();
    return;
  }
  QTreeWidgetItem* item = m_tree->topLevelItem(track);
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
  if (curve < 0 && m_layout.tracks[static_cast<std::size_t>(SelectedTrack())].curves.size() == 1) return 0;
  return curve;
}

void CTrackPanel::Changed(int track, int curve) {
  emit LayoutChanged();
  Rebuild();
  Select(track, curve);
}

void CTrackPanel::ShowSelection() {
  if (m_building) return;
  const int track = SelectedTrack();
  const int curve = SelectedCurve();
  const int tracks = static_cast<int>(m_layout.tracks.size());
  m_moveUp->setEnabled(track > 0);
  m_moveDown->setEnabled(track >= 0 && track + 1 < tracks);
  m_join->setEnabled(track > 0 && curve >= 0);
  m_split->setEnabled(track >= 0 && curve >= 0 &&
                      m_layout.tracks[static_cast<std::size_t>(track)].curves.size() > 1);
  m_log->setEnabled(track >= 0);
  m_log->setChecked(track >= 0 && m_layout.tracks[static_cast<std::size_t>(track)].log);
  const bool oneCurve = track >= 0 && curve >= 0;
  for (QLineEdit* box : {m_left, m_right}) {
    box->setEnabled(oneCurve);
    box->clear();
    box->setPlaceholderText(QString());
  }
  if (!oneCurve) return;
  const CTrackCurve& selected =
      m_layout.tracks[static_cast<std::size_t>(track)].curves[static_cast<std::size_t>(curve)];
  if (selected.left) m_left->setText(EndText(*selected.left));
  if (selected.right) m_right->setText(EndText(*selected.right));
  // The ends from the data stand in the empty boxes.
  if (static_cast<std::size_t>(track) < m_scales.size() &&
      static_cast<std::size_t>(curve) < m_scales[static_cast<std::size_t>(track)].size()) {
    const CTrackScale& scale = m_scales[static_cast<std::size_t>(track)][static_cast<std::size_t>(curve)];
    m_left->setPlaceholderText(EndText(scale.Left()));
    m_right->setPlaceholderText(EndText(scale.Right()));
  }
}

void CTrackPanel::TakeEnd(bool left) {
  const int track = SelectedTrack();
  const int curve = SelectedCurve();
  if (track < 0 || curve < 0) return;
  CTrackCurve& selected =
      m_layout.tracks[static_cast<std::size_t>(track)].curves[static_cast<std::size_t>(curve)];
  QLineEdit* box = left ? m_left : m_right;
  std::optional<double>& end = left ? selected.left : selected.right;
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
  if (typed == end) return;
  end = typed;
  Changed(track, curve);
}

void CTrackPanel::OnItemChanged(QTreeWidgetItem* item) {
  if (m_building || item->parent() != nullptr) return;
  const int track = item->data(0, kTrackRole).toInt();
  const bool hidden = item->checkState(0) != Qt::Checked;
  CTrack& changed = m_layout.tracks[static_cast<std::size_t>(track)];
  if (changed.hidden == hidden) return;
  changed.hidden = hidden;
  emit LayoutChanged();
}

}  // namespace corvane
