#include "lasview/LasSession.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "platform/File.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "plotmodel/LasLoader.h"

namespace corvane {

CLasSession::CLasSession(std::string path, std::function<void()> wake, CLayoutLookup lookup)
    : m_wake(std::move(wake)),
      m_lookup(std::move(lookup)),
      m_data(std::make_unique<CLasData>(path)),
      m_rows(std::make_unique<CRowReader>(*m_data)),
      m_progress(m_wake),
      m_check(std::move(path), m_wake) {
  m_data->SetListener(m_wake);
  m_rows->SetChangeListener(m_wake);
}

CLasSession::~CLasSession() {
  m_progress.RequestCancel();
  if (m_loader.joinable()) m_loader.join();
  Notify(SessionChange::kClosing);
}

CResult CLasSession::Open() {
  CFile file;
  const CResult opened = file.OpenForReading(Path(), CFile::Lock::None);
  if (!opened) {
    if (opened.Error() == EISDIR) return CResult::Failed("It is a folder.", EISDIR);
    // The platform names the file; the caller does that itself.
    std::string reason = opened.Reason();
    if (const std::string named = Path() + ": "; reason.starts_with(named)) reason.erase(0, named.size());
    return CResult::Failed(std::move(reason), opened.Error());
  }
  file.Discard();
  if (!m_loadStarted) {
    m_loadStarted = true;
    m_loader = std::thread([this] { LoadLasFile(*m_data, m_progress); });
  }
  return CResult::Done();
}

bool CLasSession::Loading() const { return m_loadStarted && !m_loadEnded; }

void CLasSession::AddObserver(CLasSessionObserver* observer) { m_observers.push_back(observer); }

void CLasSession::RemoveObserver(CLasSessionObserver* observer) { std::erase(m_observers, observer); }

void CLasSession::Notify(unsigned changes) {
  if (changes == 0) return;
  // An observer may remove itself (or another) while it hears.
  const std::vector<CLasSessionObserver*> observers = m_observers;
  for (CLasSessionObserver* observer : observers)
    if (std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end())
      observer->OnSessionChanged(changes);
}

void CLasSession::Update() {
  unsigned changes = 0;
  bool hasHeader = false;
  unsigned generation = 0;
  LoadState state = LoadState::Loading;
  {
    auto lock = m_data->Lock();
    hasHeader = m_data->HasHeader();
    generation = m_data->Generation();
    state = m_data->State();
  }
  if (hasHeader && !m_headerTaken) {
    TakeHeader();
    changes |= SessionChange::kHeader | SessionChange::kLayout;
    if (m_followWhole && FitWhole()) changes |= SessionChange::kView;
  }
  if (generation != m_generation) {
    m_generation = generation;
    ComputeScales();
    changes |= SessionChange::kRows;
    if (m_followWhole && FitWhole()) changes |= SessionChange::kView;
  }
  if (m_rows->FileChanged() && NoteFileChanged()) changes |= SessionChange::kFile;
  if (m_loadStarted && !m_loadEnded) {
    changes |= SessionChange::kLoadProgress;
    if (state != LoadState::Loading) {
      if (m_loader.joinable()) m_loader.join();
      m_loadEnded = true;
      changes |= SessionChange::kLoadEnded;
      // A file written to while it was read has rows of two versions.
      auto now = IdentityOf(Path());
      std::optional<CFileIdentity> read;
      {
        auto lock = m_data->Lock();
        read = m_data->Identity();
      }
      if (read && now != read && NoteFileChanged()) changes |= SessionChange::kFile;
      // The check waits for the reading, so that the two do not share the machine.
      if (!m_check.Started() && !m_fileChanged) {
        m_check.Start();
        changes |= SessionChange::kCheckStarted;
      }
    }
  }
  if (m_check.TakeOutcome())
    changes |= SessionChange::kCheckEnded;
  else if (m_check.Running())
    changes |= SessionChange::kCheckProgress;
  Notify(changes);
}

void CLasSession::Wait() {
  if (m_loader.joinable()) m_loader.join();
  Update();  // starts the check once the reading has ended
  m_check.Wait();
  Update();
}

bool CLasSession::NoteFileChanged() {
  if (m_fileChanged) return false;
  m_fileChanged = true;
  m_progress.RequestCancel();
  m_check.Cancel();
  return true;
}

void CLasSession::CheckFile() {
  if (m_fileChanged) return;
  std::optional<CFileIdentity> read;
  {
    auto lock = m_data->Lock();
    read = m_data->Identity();
  }
  if (read && IdentityOf(Path()) != read && NoteFileChanged()) Notify(SessionChange::kFile);
}

CResult CLasSession::Reload() {
  m_progress.RequestCancel();
  if (m_loader.joinable()) m_loader.join();
  m_check.Reset();
  {
    auto lock = m_data->Lock();
    if (m_data->HasHeader()) {
      std::vector<std::string> curves;
      for (const CCurveInfo& curve : m_data->Header().curves) curves.push_back(curve.mnemonic);
      m_keptCurves = std::move(curves);
    }
  }
  m_data->Reset();
  {
    auto lock = m_data->Lock();
    m_rows->Reset();
  }
  m_progress.Reset();
  m_loadStarted = false;
  m_loadEnded = false;
  m_headerTaken = false;
  m_fileChanged = false;
  m_generation = 0;
  Notify(SessionChange::kFile);
  return Open();
}

std::vector<std::string> CLasSession::ReadLines(std::uint64_t first, std::uint64_t last,
                                                std::size_t maxLength) {
  const std::optional<CFileIdentity>& checked = m_check.Identity();
  if (!checked)
    throw CFileError(CResult::Failed("the file changed while it was checked; check it again", ESTALE));
  try {
    return m_check.Index().ReadLines(Path(), first, last, maxLength, &*checked);
  } catch (const CFileError& error) {
    if (error.Cause() == ESTALE) CheckFile();
    throw;
  }
}

void CLasSession::StartCheck() {
  if (m_check.Started()) return;
  m_check.Start();
  Notify(SessionChange::kCheckStarted);
}

void CLasSession::CheckAgain() {
  if (m_check.Running()) return;
  m_check.Again();
  Notify(SessionChange::kCheckStarted);
}

void CLasSession::TakeHeader() {
  m_headerTaken = true;
  CLasHeader header;
  {
    auto lock = m_data->Lock();
    header = m_data->Header();
  }
  // Read anew with the same curves: the tracks stay as the user left them.
  std::vector<std::string> curves;
  for (const CCurveInfo& curve : header.curves) curves.push_back(curve.mnemonic);
  const bool keep = m_keptCurves && *m_keptCurves == curves;
  m_keptCurves.reset();
  if (keep) {
    ComputeScales();
    return;
  }
  m_settingsSource.clear();
  m_layout = CPlotLayout::Standard(header);
  if (m_lookup)
    if (auto found = m_lookup(header)) {
      m_layout = std::move(found->first);
      m_settingsSource = std::move(found->second);
    }
  ComputeScales();
}

void CLasSession::ComputeScales() {
  auto lock = m_data->Lock();
  m_scales = corvane::ComputeScales(*m_data, m_layout);
}

bool CLasSession::ChangeLayout(const std::function<bool(CPlotLayout&)>& change) {
  if (!change(m_layout)) return false;
  ComputeScales();
  Notify(SessionChange::kLayout);
  return true;
}

void CLasSession::DefaultLayout() {
  {
    auto lock = m_data->Lock();
    m_layout = CPlotLayout::Standard(m_data->Header());
  }
  ComputeScales();
  Notify(SessionChange::kLayout);
}

std::optional<std::pair<double, double>> CLasSession::WholeRange() const {
  auto lock = m_data->Lock();
  auto range = m_data->DepthExtent();
  const CLasHeader& header = m_data->Header();
  if (m_data->State() == LoadState::Loading && header.start && header.stop) {
    const double low = std::min(*header.start, *header.stop);
    const double high = std::max(*header.start, *header.stop);
    range = range ? std::make_pair(std::min(range->first, low), std::max(range->second, high))
                  : std::make_pair(low, high);
  }
  if (range && range->second <= range->first) range->second = range->first + 1;
  return range;
}

bool CLasSession::ApplyRange(double top, double base) {
  if (base < top) std::swap(top, base);
  if (const auto whole = WholeRange()) {
    // No narrower than a few rows, no wider than the file, and within it.
    double fewest = 0;
    {
      auto lock = m_data->Lock();
      if (m_data->Rows() > 1)
        fewest =
            std::fabs(m_data->DepthAtRow(static_cast<double>(m_data->Rows() - 1)) - m_data->DepthAtRow(0)) /
            static_cast<double>(m_data->Rows() - 1) * kFewestRows;
    }
    const double span = std::clamp(base - top, std::max(fewest, 1e-9), whole->second - whole->first);
    const double middle = (top + base) / 2;
    top = std::clamp(middle - span / 2, whole->first, whole->second - span);
    base = top + span;
  } else if (base == top) {
    base = top + 1;
  }
  if (top == m_top && base == m_base) return false;
  m_top = top;
  m_base = base;
  return true;
}

bool CLasSession::FitWhole() {
  const auto whole = WholeRange();
  return whole && ApplyRange(whole->first, whole->second);
}

void CLasSession::SetDepthRange(double top, double base) {
  m_followWhole = false;
  const bool moved = ApplyRange(top, base);
  // Widened to the whole file: it is followed again as it loads.
  if (const auto whole = WholeRange()) m_followWhole = m_top <= whole->first && m_base >= whole->second;
  if (moved) Notify(SessionChange::kView);
}

void CLasSession::ShowWhole() {
  m_followWhole = true;
  if (FitWhole()) Notify(SessionChange::kView);
}

void CLasSession::ScrollBy(double share) {
  const double shift = (m_base - m_top) * share;
  SetDepthRange(m_top + shift, m_base + shift);
}

void CLasSession::ZoomBy(double factor, double aroundDepth) {
  if (!(factor > 0)) return;
  const double top = aroundDepth - (aroundDepth - m_top) / factor;
  const double base = aroundDepth + (m_base - aroundDepth) / factor;
  SetDepthRange(top, base);
}

std::optional<CLasSession::CLineRow> CLasSession::ShowLine(std::uint64_t line) {
  CLineRow found;
  double nearTop = 0;
  double nearBase = 0;
  {
    auto lock = m_data->Lock();
    // Lines of the header have no row; the plot moves only to rows it has read.
    if (!m_data->HasHeader() || m_data->Rows() == 0 ||
        line < static_cast<std::uint64_t>(m_data->Header().dataLine) ||
        (m_data->State() == LoadState::Loading && line >= m_data->BucketLine(m_data->Buckets() - 1)))
      return std::nullopt;
    const std::optional<long> row = m_rows->RowOfLine(line);
    if (!row) return std::nullopt;
    const CRowReader::CRows& rows = m_rows->Rows(*row, *row);
    if (rows.count == 0) return std::nullopt;
    found = {*row, rows.Value(*row, 0)};
    // About a hundred rows around it, when the view shows many more.
    nearTop = m_data->DepthAtRow(static_cast<double>(*row) - 50);
    nearBase = m_data->DepthAtRow(static_cast<double>(*row) + 50);
  }
  const double span = m_base - m_top;
  const double near = std::fabs(nearBase - nearTop);
  const double shown = near > 0 && span > 2 * near ? near : span;
  SetDepthRange(found.depth - shown / 2, found.depth + shown / 2);
  return found;
}

}  // namespace corvane
