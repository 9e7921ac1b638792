#pragma once
// The tracks of a LAS window's plot, for the user to arrange, a view of its session: a
// tree of tracks (a check shows or hides one) with their curves; buttons to move a
// track, to put a curve into the track above or give it a track of its own; the log
// scale of a track; typed scale ends of a curve (empty: from the data); and the saving
// of these settings.
#include <QStringList>
#include <QWidget>

#include "lasview/LasSession.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {

class CTrackPanel : public QWidget, private CLasSessionObserver {
  Q_OBJECT
 public:
  explicit CTrackPanel(CLasSession& session, QWidget* parent = nullptr);
  ~CTrackPanel() override;

  // The selection: a track, and a curve in it (-1 when the track itself is selected).
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
};

}  // namespace corvane
