// The LAS viewer's session without any window: what it refuses to open, what its
// observers hear and in which order while a file loads and is checked, the depth range
// in view and its rules, the tracks and where they came from, the row of a line of the
// file, and cancels of the reading and of the check driven by a gate the test opens.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <mutex>

#include <cstdio>

#include "ReadGate.h"
#include "TestSupport.h"
#include "lasview/CrossplotJob.h"
#include "lasview/DepthLink.h"
#include "lasview/LasSession.h"
#include "platform/FileError.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;

// The owner's side of a session without an event loop: the jobs' wake is noted, and the
// test takes the news (Update) on its own thread until what it waits for holds.
class CPump {
 public:
  std::function<void()> Wake() {
    return [this] {
      std::lock_guard lock(m_mutex);
      m_woken = true;
      m_wake.notify_all();
    };
  }
  // False when it did not hold within 60 s.
  bool Until(CLasSession& session, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!done()) {
      std::unique_lock lock(m_mutex);
      if (!m_wake.wait_until(lock, deadline, [this] { return m_woken; })) return false;
      m_woken = false;
      lock.unlock();
      session.Update();
    }
    return true;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_woken = false;
};

// Hears a session from its making to its end (or the session's, whichever comes first).
class CRecorder : public CLasSessionObserver {
 public:
  explicit CRecorder(CLasSession& session) : m_session(&session) { session.AddObserver(this); }
  ~CRecorder() { Leave(); }
  CRecorder(const CRecorder&) = delete;
  CRecorder& operator=(const CRecorder&) = delete;
  void Leave() {
    if (m_session != nullptr) m_session->RemoveObserver(this);
    m_session = nullptr;
  }
  void OnSessionChanged(unsigned changes) override {
    heard.push_back(changes);
    all |= changes;
    if (changes & SessionChange::kClosing) m_session = nullptr;
  }
  // How many calls carried the flag.
  int Count(unsigned flag) const {
    int count = 0;
    for (unsigned changes : heard) count += (changes & flag) ? 1 : 0;
    return count;
  }
  std::vector<unsigned> heard;
  unsigned all = 0;

 private:
  CLasSession* m_session;
};

class LasSessionTest : public ::testing::Test {
 protected:
  // The example well (400 rows of 9 curves, 1500 to 1549.875 m; its data from line 32),
  // with `extraRows` more rows after it.
  std::string Well(const std::string& name, int extraRows = 0) {
    std::string text = test::ReadBytes(test::DataFile("plot_well.las"));
    std::string more;
    for (int row = 0; row < extraRows; ++row)
      more += std::to_string(1550 + row * 0.125) + " 50 0.2 2.5 300 220 " + std::to_string(1 + row % 11) +
              " -40 3\r\n";
    test::WriteBytes(m_dir.File(name), text + more);
    return m_dir.File(name);
  }

  test::CScratchDir m_dir;
  CPump m_pump;
};

TEST_F(LasSessionTest, OpenRefusesWhatCannotBeRead) {
  const std::string fifo = m_dir.File("pipe.las");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct CCase {
    std::string path;
    std::string reason;
  };
  const CCase cases[] = {
      {m_dir.File("missing.las"), "No such file or directory"},
      {m_dir.Path(), "It is a folder."},
      {fifo, "not a regular file"},
  };
  for (const CCase& c : cases) {
    CLasSession session(c.path, m_pump.Wake());
    const CResult opened = session.Open();
    EXPECT_TRUE(opened.IsFailed()) << c.path;
    EXPECT_EQ(opened.Reason(), c.reason);
    EXPECT_FALSE(session.Loading());
    EXPECT_FALSE(session.Check().Started());
  }
}

TEST_F(LasSessionTest, ObserversHearTheFileArriveThenItsCheck) {
  CLasSession session(Well("well.las"), m_pump.Wake());
  CRecorder recorder(session);
  ASSERT_TRUE(session.Open());
  ASSERT_TRUE(m_pump.Until(session, [&] { return session.Check().Report() != nullptr; }));
  // The header with its tracks before any rows, the end of the reading once, then the
  // check (started by the end of the reading) and its end once.
  const auto header = std::find_if(recorder.heard.begin(), recorder.heard.end(),
                                   [](unsigned changes) { return changes & SessionChange::kHeader; });
  ASSERT_NE(header, recorder.heard.end());
  EXPECT_TRUE(*header & SessionChange::kLayout);
  EXPECT_TRUE(std::none_of(recorder.heard.begin(), header,
                           [](unsigned changes) { return changes & SessionChange::kRows; }));
  EXPECT_EQ(recorder.Count(SessionChange::kHeader), 1);
  EXPECT_EQ(recorder.Count(SessionChange::kLoadEnded), 1);
  EXPECT_EQ(recorder.Count(SessionChange::kCheckStarted), 1);
  EXPECT_EQ(recorder.Count(SessionChange::kCheckEnded), 1);
  EXPECT_TRUE(recorder.all & SessionChange::kRows);
  EXPECT_TRUE(recorder.heard.back() & SessionChange::kCheckEnded);
  EXPECT_FALSE(session.Loading());
  EXPECT_FALSE(session.Check().Running());
  EXPECT_TRUE(session.Check().Report()->complete);
  // The view followed the file to its whole range; the default tracks, resistivity on a log scale.
  EXPECT_TRUE(session.FollowsWhole());
  EXPECT_EQ(session.Top(), 1500.0);
  EXPECT_EQ(session.Base(), 1549.875);
  EXPECT_EQ(session.Layout(), CPlotLayout::Standard(session.Data().Header()));
  EXPECT_TRUE(session.Layout().tracks[1].log);
  ASSERT_EQ(session.Scales().size(), 5u);
  EXPECT_TRUE(session.SettingsSource().empty());

  // An observer that goes hears nothing more; the one that stays does.
  CRecorder staying(session);
  recorder.Leave();
  const std::size_t heard = recorder.heard.size();
  session.ScrollBy(-0.5);  // already at the top: nothing moves, nobody hears
  session.SetDepthRange(1510, 1520);
  EXPECT_EQ(recorder.heard.size(), heard);
  EXPECT_EQ(staying.heard, std::vector<unsigned>{SessionChange::kView});
}

TEST_F(LasSessionTest, ViewStaysWithinTheFileAndFewRows) {
  CLasSession session(Well("well.las"), m_pump.Wake());
  ASSERT_TRUE(session.Open());
  session.Wait();
  struct CCase {
    const char* name;
    std::function<void(CLasSession&)> step;
    double top, base;
    bool follows;
  };
  const CCase cases[] = {
      {"a range", [](CLasSession& s) { s.SetDepthRange(1510, 1520); }, 1510, 1520, false},
      {"either order", [](CLasSession& s) { s.SetDepthRange(1520, 1510); }, 1510, 1520, false},
      {"scrolled down a tenth", [](CLasSession& s) { s.ScrollBy(0.1); }, 1511, 1521, false},
      {"zoomed around a depth", [](CLasSession& s) { s.ZoomBy(2, 1513); }, 1512, 1517, false},
      {"no closer than four rows", [](CLasSession& s) { s.ZoomBy(1000, 1514.5); }, 1514.25, 1514.75, false},
      {"never past the base", [](CLasSession& s) { s.SetDepthRange(1545, 1555); }, 1539.875, 1549.875, false},
      {"never above the top", [](CLasSession& s) { s.SetDepthRange(1400, 1410); }, 1500, 1510, false},
      {"no wider than the file: followed again", [](CLasSession& s) { s.ZoomBy(0.001, 1520); }, 1500,
       1549.875, true},
      {"a narrower view stops following", [](CLasSession& s) { s.SetDepthRange(1500, 1549); }, 1500, 1549,
       false},
      {"the whole log", [](CLasSession& s) { s.ShowWhole(); }, 1500, 1549.875, true},
  };
  for (const CCase& c : cases) {
    c.step(session);
    EXPECT_NEAR(session.Top(), c.top, 1e-9) << c.name;
    EXPECT_NEAR(session.Base(), c.base, 1e-9) << c.name;
    EXPECT_EQ(session.FollowsWhole(), c.follows) << c.name;
  }
}

TEST_F(LasSessionTest, TracksFromSettingsAndTheirChanges) {
  const std::string path = Well("well.las");
  // The lookup of saved settings sees the header once; it may find nothing.
  int lookups = 0;
  CLasSession session(path, m_pump.Wake(), [&lookups](const CLasHeader& header) {
    ++lookups;
    CPlotLayout layout = CPlotLayout::Standard(header);
    layout.JoinPrevious(2, 0);
    return std::make_optional(std::make_pair(layout, std::string("/settings/well.plot.json")));
  });
  CRecorder recorder(session);
  ASSERT_TRUE(session.Open());
  session.Wait();
  EXPECT_EQ(lookups, 1);
  EXPECT_EQ(session.SettingsSource(), "/settings/well.plot.json");
  ASSERT_EQ(session.Layout().tracks.size(), 5u);
  ASSERT_EQ(session.Scales()[1].size(), 2u);

  // A change that is made: the scales follow, the observers hear; one that is not: nothing.
  recorder.heard.clear();
  EXPECT_TRUE(session.ChangeLayout([](CPlotLayout& layout) {
    layout.tracks[0].curves[0].left = 0;
    layout.tracks[0].curves[0].right = 150;
    return true;
  }));
  EXPECT_EQ(session.Scales()[0][0].Right(), 150.0);
  EXPECT_FALSE(session.ChangeLayout([](CPlotLayout& layout) { return layout.JoinPrevious(0, 0); }));
  EXPECT_EQ(recorder.heard, std::vector<unsigned>{SessionChange::kLayout});
  session.DefaultLayout();
  EXPECT_EQ(session.Layout().tracks.size(), 5u);
  EXPECT_EQ(session.Scales().size(), 5u);
}

TEST_F(LasSessionTest, TheRowOfALineOfTheFile) {
  CLasSession session(Well("well.las"), m_pump.Wake());
  ASSERT_TRUE(session.Open());
  session.Wait();
  session.SetDepthRange(1500, 1549);
  // A line of the header has no row; a line of the data centres the view on its row,
  // about a hundred rows around it when the view shows many more.
  EXPECT_FALSE(session.ShowLine(12));
  const auto at = session.ShowLine(132);
  ASSERT_TRUE(at);
  EXPECT_EQ(at->row, 100);
  EXPECT_EQ(at->depth, 1512.5);
  EXPECT_NEAR((session.Top() + session.Base()) / 2, 1512.5, 1e-9);
  EXPECT_NEAR(session.Base() - session.Top(), 12.5, 1e-9);
  // Past the rows: the last row.
  EXPECT_EQ(session.ShowLine(10000)->row, 399);
}

TEST_F(LasSessionTest, CancelsKeepWhatWasDone) {
  // The reading: held after its first block, cancelled, then let go. It stops at its
  // next batch with the rows so far, and the check that follows reads the whole file.
  const std::string path = Well("big.las", 200000);
  {
    test::CReadGate gate("big.las", 1);
    CLasSession session(path, m_pump.Wake());
    ASSERT_TRUE(session.Open());
    ASSERT_TRUE(gate.WaitUntilHeld(1));
    session.CancelLoad();
    gate.Open();
    session.Wait();
    auto lock = session.Data().Lock();
    EXPECT_EQ(session.Data().State(), LoadState::Cancelled);
    EXPECT_GT(session.Data().Rows(), 0);
    EXPECT_LT(session.Data().Rows(), 200400);
    ASSERT_TRUE(session.Check().Report());
    EXPECT_EQ(session.Check().Report()->summary.rows, 200400u);
  }
  // The check, started before the reading ends: held, cancelled, let go; it keeps the
  // findings of the lines so far. Check Again checks the whole file.
  test::CReadGate gate("big.las", 1);
  CLasSession session(path, m_pump.Wake());
  ASSERT_TRUE(session.Open());
  session.StartCheck();
  ASSERT_TRUE(gate.WaitUntilHeld(2));
  session.Check().Cancel();
  gate.Open();
  ASSERT_TRUE(m_pump.Until(session, [&] { return !session.Loading() && session.Check().Report(); }));
  EXPECT_TRUE(session.Check().Report()->cancelled);
  EXPECT_LT(session.Check().Report()->summary.rows, 200400u);
  session.CheckAgain();
  session.Wait();
  EXPECT_FALSE(session.Check().Report()->cancelled);
  EXPECT_EQ(session.Check().Report()->summary.rows, 200400u);
}

TEST_F(LasSessionTest, GoesWhileItsJobsRun) {
  // A session closed in the middle of its reading and its check stops both and waits
  // for them; nothing is heard afterwards.
  const std::string path = Well("big.las", 100000);
  test::CReadGate gate("big.las", 1);
  auto session = std::make_unique<CLasSession>(path, m_pump.Wake());
  CRecorder recorder(*session);
  ASSERT_TRUE(session->Open());
  session->StartCheck();
  ASSERT_TRUE(gate.WaitUntilHeld(2));
  gate.Open();
  session.reset();
  EXPECT_EQ(recorder.Count(SessionChange::kLoadEnded), 0);
}

TEST_F(LasSessionTest, AFileChangedOnDiskIsToldAndReadAnew) {
  const std::string path = Well("well.las");
  CLasSession session(path, m_pump.Wake());
  CRecorder recorder(session);
  ASSERT_TRUE(session.Open());
  session.Wait();
  ASSERT_TRUE(session.Check().Report());
  EXPECT_EQ(session.ReadLines(132, 132, 100).size(), 1u);
  session.CheckFile();  // unchanged: nothing to tell
  EXPECT_EQ(recorder.Count(SessionChange::kFile), 0);
  // A typed end the user made stays when the file is read anew with the same curves.
  ASSERT_TRUE(session.ChangeLayout([](CPlotLayout& layout) {
    layout.tracks[0].curves[0].right = 200.0;
    return true;
  }));

  // Converted again into the same path (a new file put in its place) with 100 rows more.
  const std::string newer = Well("newer.las", 100);
  ASSERT_EQ(std::rename(newer.c_str(), path.c_str()), 0);
  session.CheckFile();
  session.CheckFile();
  EXPECT_EQ(recorder.Count(SessionChange::kFile), 1);
  EXPECT_TRUE(session.FileChanged());
  // Nothing is read from it: no row for a line, no line of a finding.
  session.SetDepthRange(1500, 1549);
  EXPECT_FALSE(session.ShowLine(132));
  try {
    session.ReadLines(132, 132, 100);
    ADD_FAILURE() << "a line of the new file was read";
  } catch (const CFileError& error) {
    EXPECT_EQ(error.Cause(), ESTALE);
  }
  {
    auto lock = session.Data().Lock();
    EXPECT_EQ(session.Data().Rows(), 400);  // the plot shows the file as it was read
  }

  // Load Again: the new file, its rows, its check; the tracks as the user left them.
  ASSERT_TRUE(session.Reload());
  EXPECT_FALSE(session.FileChanged());
  session.Wait();
  {
    auto lock = session.Data().Lock();
    EXPECT_EQ(session.Data().Rows(), 500);
  }
  EXPECT_EQ(session.Layout().tracks[0].curves[0].right, std::optional<double>(200.0));
  EXPECT_EQ(session.Check().Report()->summary.rows, 500u);
  EXPECT_EQ(session.ShowLine(480)->depth, 1556.0);
  EXPECT_EQ(recorder.Count(SessionChange::kFile), 2);
}

TEST_F(LasSessionTest, AFileWrittenInPlaceIsFoundAtItsNextReading) {
  // No watcher: the close-up reading finds it, and the owner hears at the next Update.
  const std::string path = Well("well.las");
  CLasSession session(path, m_pump.Wake());
  CRecorder recorder(session);
  ASSERT_TRUE(session.Open());
  session.Wait();
  std::string text = test::ReadBytes(path);
  text.replace(text.find("1520.0000"), 9, "1520.5000");
  test::WriteBytes(path, text + "\r\n");
  {
    auto lock = session.Data().Lock();
    EXPECT_EQ(session.Rows().Rows(150, 170).count, 0);
  }
  ASSERT_TRUE(m_pump.Until(session, [&] { return session.FileChanged(); }));
  EXPECT_EQ(recorder.Count(SessionChange::kFile), 1);
}

TEST_F(LasSessionTest, LinkedDepthsMoveTogether) {
  auto first = std::make_unique<CLasSession>(Well("a.las"), m_pump.Wake());
  auto second = std::make_unique<CLasSession>(Well("b.las", 400), m_pump.Wake());
  CLasSession third(Well("c.las"), m_pump.Wake());
  for (CLasSession* session : {first.get(), second.get(), &third}) {
    ASSERT_TRUE(session->Open());
    session->Wait();
  }
  second->SetDepthRange(1560, 1570);
  CDepthLink link;
  link.Add(*first);
  link.Add(*second, true);  // it leads: the first takes its depths, kept within its file
  EXPECT_NEAR(first->Top(), 1539.875, 1e-9);
  EXPECT_NEAR(first->Base(), 1549.875, 1e-9);
  first->SetDepthRange(1510, 1520);
  EXPECT_EQ(second->Top(), 1510.0);
  EXPECT_EQ(second->Base(), 1520.0);
  EXPECT_EQ(third.Top(), 1500.0);  // not linked
  link.Add(third);                 // it takes theirs
  EXPECT_EQ(third.Top(), 1510.0);
  second->ZoomBy(2, 1515);
  EXPECT_EQ(first->Top(), 1512.5);
  EXPECT_EQ(third.Base(), 1517.5);
  // A session that goes leaves the link; the others stay linked.
  second.reset();
  EXPECT_EQ(link.Size(), 2u);
  first->ScrollBy(0.2);
  EXPECT_EQ(third.Top(), first->Top());
  link.Clear();
  first->ScrollBy(0.2);
  EXPECT_NE(third.Top(), first->Top());
}

TEST_F(LasSessionTest, ACrossplotIsReadInTheBackground) {
  CLasSession session(Well("well.las", 30000), m_pump.Wake());
  ASSERT_TRUE(session.Open());
  session.Wait();
  CCrossplotSetup setup;
  setup.x = 2;  // NPHI
  setup.y = 3;  // RHOB
  setup.xAxis = CTrackScale(-0.15, 0.45, false);
  setup.yAxis = CTrackScale(2.95, 1.95, false);
  setup.top = 1500;
  setup.base = 1549.875;
  std::optional<CCrossplotStart> start;
  {
    auto lock = session.Data().Lock();
    start = CrossplotStartOf(session.Data(), setup.top, setup.base);
  }
  ASSERT_TRUE(start);
  CCrossplotJob job(m_pump.Wake());
  job.Start(setup, *start);
  EXPECT_TRUE(job.Running());
  job.Wait();
  ASSERT_TRUE(job.TakeOutcome());
  EXPECT_FALSE(job.Running());
  EXPECT_EQ(job.Outcome().state, LoadState::Done);
  EXPECT_EQ(job.Result()->RowsInRange(), 400);
  EXPECT_EQ(job.Result()->Readings(), 360);  // RHOB is null in the first 40 rows
  // The whole file, started and started again at once: the first is cancelled, the
  // second's outcome is taken.
  setup.base = 6000;
  {
    auto lock = session.Data().Lock();
    start = CrossplotStartOf(session.Data(), setup.top, setup.base);
  }
  job.Start(setup, *start);
  job.Start(setup, *start);
  job.Wait();
  ASSERT_TRUE(job.TakeOutcome());
  EXPECT_EQ(job.Result()->Readings(), 30360);
  EXPECT_FALSE(job.Result()->ShowsPoints());
}

}  // namespace
}  // namespace corvane
