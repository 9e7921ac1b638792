#pragma once
// One LAS file open for viewing, without any window: its decimated curves read on a
// loader thread (CLasData), the rows read again for close-ups, the tracks and their
// scales, the depth range in view and the LAS check of the file. The windows, the
// canvas, the track panel and the check pane are views of it: they change it through
// its operations and hear what changed through CLasSessionObserver.
//
// The jobs run on threads of their own; they never call an observer. When they have
// news they call `wake` (on their thread); the session's owner then calls Update on
// its own thread, which takes the news and tells the observers. Everything else is
// called on the owner's thread.
//
// The file cannot change under the session: rows and lines are read again only from
// the file the loader read (by its identity: device, inode, size, time), checked
// before every reading and whenever the owner asks (CheckFile, when a watcher of the
// folder says something happened). A file replaced or changed on disk is not read
// again: the session says so (FileChanged) and reads it anew on Reload.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "lasview/LasCheckJob.h"
#include "platform/Result.h"
#include "plotmodel/LasData.h"
#include "plotmodel/PlotLayout.h"
#include "plotmodel/PlotScales.h"
#include "plotmodel/RowReader.h"
#include "plotmodel/SharedProgress.h"

namespace corvane {

// What changed, as flags of one unsigned.
namespace SessionChange {
inline constexpr unsigned kHeader = 1u << 0;         // the header arrived; the tracks are set up for it
inline constexpr unsigned kRows = 1u << 1;           // more rows or the reading ended: scales and range moved
inline constexpr unsigned kLayout = 1u << 2;         // the tracks changed, and their scales with them
inline constexpr unsigned kView = 1u << 3;           // the depth range in view moved
inline constexpr unsigned kLoadProgress = 1u << 4;   // the reading's progress
inline constexpr unsigned kLoadEnded = 1u << 5;      // the reading ended (done, cancelled or failed)
inline constexpr unsigned kCheckStarted = 1u << 6;   // a check started
inline constexpr unsigned kCheckProgress = 1u << 7;  // the check's progress
inline constexpr unsigned kCheckEnded = 1u << 8;     // the check ended; its report is there
inline constexpr unsigned kFile = 1u << 9;           // the file changed on disk, or is being read anew
inline constexpr unsigned kClosing = 1u << 10;       // the session goes: its observers let go of it
}  // namespace SessionChange

class CLasSessionObserver {
 public:
  // `changes`: the SessionChange flags of what changed since the last call.
  virtual void OnSessionChanged(unsigned changes) = 0;

 protected:
  ~CLasSessionObserver() = default;
};

class CLasSession {
 public:
  // Views may not be narrower than this many rows.
  static constexpr double kFewestRows = 4;

  // The tracks that saved settings give a file of this header, with where they came
  // from; none for the default tracks.
  using CLayoutLookup =
      std::function<std::optional<std::pair<CPlotLayout, std::string>>(const CLasHeader& header)>;

  // The file is not touched until Open.
  CLasSession(std::string path, std::function<void()> wake, CLayoutLookup lookup = {});
  // Cancels the jobs and waits for their threads; the observers hear kClosing.
  ~CLasSession();
  CLasSession(const CLasSession&) = delete;
  CLasSession& operator=(const CLasSession&) = delete;

  const std::string& Path() const { return m_data->Path(); }

  // Starts reading the file. Failed when it cannot be read at all, with the reason
  // alone ("It is a folder.", "No such file or directory"): the caller names the file.
  CResult Open();
  // Takes the jobs' news on the owner's thread and tells the observers.
  void Update();
  // Blocks until the reading and a check that runs have ended, then takes their news:
  // for an owner without an event loop.
  void Wait();

  // Observers are told in the order they were added; one that goes removes itself.
  void AddObserver(CLasSessionObserver* observer);
  void RemoveObserver(CLasSessionObserver* observer);

  // The reading. Data() and Rows() are read under Data().Lock().
  CLasData& Data() { return *m_data; }
  const CLasData& Data() const { return *m_data; }
  CRowReader& Rows() { return *m_rows; }
  // From Open until Update has taken the end of the reading (and told the observers).
  bool Loading() const;
  void CancelLoad() { m_progress.RequestCancel(); }
  CSharedProgress::CState LoadProgress() const { return m_progress.State(); }

  // The file on disk is no longer the one read (replaced or changed): nothing is read
  // from it until Reload.
  bool FileChanged() const { return m_fileChanged; }
  // Compares the file on disk with the one read; the observers hear kFile when it has
  // changed (once).
  void CheckFile();
  // Reads the file anew: the reading and the check start again, the tracks stay when
  // the file has the same curves. Failed as Open is.
  CResult Reload();
  // Lines first..last of the file as the check read it (see CLasLineIndex::ReadLines);
  // throws CFileError, of cause ESTALE when the file is no longer the one checked.
  std::vector<std::string> ReadLines(std::uint64_t first, std::uint64_t last, std::size_t maxLength);

  // The check: started once the reading has ended, or earlier by StartCheck.
  CLasCheckJob& Check() { return m_check; }
  const CLasCheckJob& Check() const { return m_check; }
  void StartCheck();
  void CheckAgain();

  // The tracks and the scales of their curves.
  const CPlotLayout& Layout() const { return m_layout; }
  const CPlotScales& Scales() const { return m_scales; }
  // Where the tracks came from when the header arrived; empty for the default ones.
  const std::string& SettingsSource() const { return m_settingsSource; }
  // `change` edits the tracks and answers whether it did; the scales follow.
  bool ChangeLayout(const std::function<bool(CPlotLayout&)>& change);
  // The standard layout, as for a file without settings.
  void DefaultLayout();

  // The depth range in view, top above base.
  double Top() const { return m_top; }
  double Base() const { return m_base; }
  // The view shows the whole file and goes on doing so while it loads.
  bool FollowsWhole() const { return m_followWhole; }
  // The depths of the whole file: its rows so far, with STRT and STOP while it loads.
  std::optional<std::pair<double, double>> WholeRange() const;
  // The view (either order); kept within the depths of the file and no narrower than
  // kFewestRows rows. It stops following the whole file unless it shows all of it.
  void SetDepthRange(double top, double base);
  void ShowWhole();
  // Moves the view by a share of its height (down for positive shares).
  void ScrollBy(double share);
  // Narrows (factor above 1) or widens the view around a depth that stays in place.
  void ZoomBy(double factor, double aroundDepth);

  // The row that line `line` of the file belongs to, or the last row before it.
  struct CLineRow {
    long row = 0;
    double depth = 0;
  };
  // Centres the view on the row of a line (about a hundred rows around it, when the
  // view shows many more). None for a line of the header or one past the rows read.
  std::optional<CLineRow> ShowLine(std::uint64_t line);

 private:
  void Notify(unsigned changes);
  void TakeHeader();
  void ComputeScales();
  // Applies a range; true when the view moved.
  bool ApplyRange(double top, double base);
  bool FitWhole();
  // The file is found changed: the jobs stop reading it. True when this is news.
  bool NoteFileChanged();

  std::function<void()> m_wake;
  CLayoutLookup m_lookup;
  std::unique_ptr<CLasData> m_data;
  std::unique_ptr<CRowReader> m_rows;
  CSharedProgress m_progress;
  std::thread m_loader;
  CLasCheckJob m_check;
  std::vector<CLasSessionObserver*> m_observers;

  bool m_loadStarted = false;
  bool m_headerTaken = false;
  bool m_loadEnded = false;
  bool m_fileChanged = false;
  // After a Reload: the tracks stay if the file has these curves still.
  std::optional<std::vector<std::string>> m_keptCurves;
  unsigned m_generation = 0;
  CPlotLayout m_layout;
  CPlotScales m_scales;
  std::string m_settingsSource;
  double m_top = 0;
  double m_base = 1;
  bool m_followWhole = true;
};

}  // namespace corvane
