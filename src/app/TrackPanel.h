#pragma once
// The tracks of a LAS window's plot, for the user to arrange: a tree of tracks (a
// check shows or hides one) with their curves; buttons to move a track, to put a curve
// into the track above or give it a track of its own; the log scale of a track; typed
// scale ends of a curve (empty: from the data); and the saving of these settings.
#include <QStringList>
#include <QWidget>

#include "plot/PlotLayout.h"
#include "plot/PlotPainter.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {

class CTrackPanel : public QWidget {
  Q_OBJECT
 public:
  // `layout` and `scales` belong to the window and outlive the panel.
  CTrackPanel(CPlotLayout& layout, const CPlotScales& scales, QWidget* parent = nullptr);

  // "GR (GAPI)" for every curve of the file, by its place in ~C.
  void SetCurveNames(const QStringList& names);
  // Shows the layout again (after it was replaced) and the scale ends of the data.
  void Rebuild();
  // Shows the scale ends from the data again (they move while a file loads).
  void RefreshEnds() { ShowSelection(); }

  // The selection: a track, and a curve in it (-1 when the track itself is selected).
  void Select(int track, int curve);
  int SelectedTrack() const;
  int SelectedCurve() const;

  QTreeWidget* Tree() const { return m_tree; }
  QPushButton* MoveUpButton() const { return m_moveUp; }
  QPushButton* MoveDownButton() const { return m_moveDown; }
  QPushButton* JoinButton() const { return m_join; }
  QPushButton* SplitButton() const { return m_split; }
  QCheckBox* LogBox() const { return m_log; }
  QLineEdit* LeftEndBox() const { return m_left; }
  QLineEdit* RightEndBox() const { return m_right; }
  QPushButton* SaveButton() const { return m_save; }
  QPushButton* SaveTemplateButton() const { return m_saveTemplate; }
  QPushButton* DefaultButton() const { return m_default; }

 signals:
  void LayoutChanged();
  void SaveRequested();
  void SaveTemplateRequested();
  void DefaultRequested();

 private:
  void Changed(int track, int curve);
  void ShowSelection();
  void TakeEnd(bool left);
  void OnItemChanged(QTreeWidgetItem* item);

  CPlotLayout& m_layout;
  const CPlotScales& m_scales;
  QStringList m_names;
  bool m_building = false;
  QTreeWidget* m_tree = nullptr;
  QPushButton* m_moveUp = nullptr;
  QPushButton* m_moveDown = nullptr;
  QPushButton* m_join = nullptr;
  QPushButton* m_split = nullptr;
  QCheckBox* m_log = nullptr;
  QLineEdit* m_left = nullptr;
  QLineEdit* m_right = nullptr;
  QPushButton* m_save = nullptr;
  QPushButton* m_saveTemplate = nullptr;
  QPushButton* m_default = nullptr;
};

}  // namespace corvane
