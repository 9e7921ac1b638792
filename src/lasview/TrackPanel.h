#pragma once
// The tracks of a LAS window's plot, for the user to arrange, a view of its session: a
// tree of tracks (a check shows or hides one) with their curves and the depth track at
// its place; buttons to move a track (or the depth track), to put a curve into the
// track above or give it a track of its own; the log scale and the width of a track and
// its fills, each switched on or off; typed scale ends of a curve (empty: proposed);
// and the saving of these settings.
#include <QStringList>
#include <QWidget>

#include "lasview/LasSession.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {

class CTrackPanel : public QWidget, private CLasSessionObserver {
  Q_OBJECT
 public:
  explicit CTrackPanel(CLasSession& session, QWidget* parent = nullptr);
  ~CTrackPanel() override;

  // The selection: a track, and a curve in it (-1 when the track itself is selected);
  // the depth track is kDepthTrack.
  static constexpr int kDepthTrack = -3;
  void Select(int track, int curve);
  int SelectedTrack() const;
  int SelectedCurve() const;

 signals:
  void SaveRequested();
  void SaveTemplateRequested();
  void DefaultRequested();

 private:
  void OnSessionChanged(unsigned changes) override;
  // Shows the tracks again (after they were replaced) and the scale ends of the data.
  void Rebuild();
  // Applies a change of the panel's own to the tracks; then shows them with `track`,
  // `curve` selected.
  void Change(const std::function<bool(CPlotLayout&)>& change, int track, int curve);
  void ShowSelection();
  void TakeEnd(bool left);
  void OnItemChanged(QTreeWidgetItem* item);
  void Move(int by);
  void ShowFills(int track);

  CLasSession& m_session;
  QStringList m_names;  // "GR (GAPI)" for every curve of the file, by its place in ~C
  bool m_building = false;
  bool m_changing = false;  // the panel's own change is under way: it shows it itself
  QTreeWidget* m_tree = nullptr;
  QPushButton* m_moveUp = nullptr;
  QPushButton* m_moveDown = nullptr;
  QPushButton* m_join = nullptr;
  QPushButton* m_split = nullptr;
  QCheckBox* m_log = nullptr;
  QLineEdit* m_left = nullptr;
  QLineEdit* m_right = nullptr;
  QSpinBox* m_width = nullptr;
  QWidget* m_fills = nullptr;
  QVBoxLayout* m_fillBox = nullptr;
};

}  // namespace corvane
