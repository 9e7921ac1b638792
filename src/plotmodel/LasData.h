#pragma once
// What the plot keeps of a LAS file: its header, and of its rows only the decimated
// curves (CCurvePyramid), an even sample of every curve for its scale ends, the depth
// of every 16th row and where in the file that row starts, by offset and line (so
// that the rows themselves can be read again when the user zooms in close, and a line
// of the file be found among the rows). Memory stays a small share of the file's size.
//
// A loader thread appends while the window draws: every reader holds Lock() while it
// looks; the loader takes it only for the moment of handing over a batch. A listener
// hears (on the loader's thread, the lock released) after the header, every batch and
// the end, so that a window need not look for news on a timer.
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/File.h"
#include "plotmodel/CurvePyramid.h"
#include "plotmodel/LasHeader.h"
#include "plotmodel/ValueSample.h"

namespace corvane {

enum class LoadState { Loading, Done, Cancelled, Failed };

// Whole buckets of rows as the loader hands them over.
struct CBucketBatch {
  std::vector<double> firstDepth;     // per bucket: the depth of its first row
  std::vector<std::uint64_t> offset;  // per bucket: the file offset of its first row
  std::vector<std::uint64_t> line;    // per bucket: the line number of its first row
  std::vector<CMinMax> minMax;        // per bucket, per curve (bucket-major)
  std::vector<CRowEnds> ends;         // per bucket, per curve: its first and last readings
  long rows = 0;                      // rows in these buckets (the last one may be short)
  double lastDepth = 0;               // the depth of the last row
  std::vector<long> sampleRows;       // rows offered to the samples ...
  std::vector<float> sampleValues;    // ... with their readings (row-major)
  void Clear();
};

class CLasData {
 public:
  static constexpr long kBucketRows = 16;

  explicit CLasData(std::string path);
  const std::string& Path() const { return m_path; }

  std::unique_lock<std::mutex> Lock() const { return std::unique_lock<std::mutex>(m_mutex); }

  // Everything below is read under Lock().
  bool HasHeader() const { return m_hasHeader; }
  const CLasHeader& Header() const { return m_header; }
  std::size_t Curves() const { return m_header.curves.size(); }
  LoadState State() const { return m_state; }
  const std::string& Error() const { return m_error; }
  // Grows with every batch and state change: what was drawn before is out of date.
  unsigned Generation() const { return m_generation; }
  long Rows() const { return m_rows; }
  long Buckets() const { return static_cast<long>(m_bucketDepth.size()); }
  // The shallowest and deepest depth of the rows so far; none before the first row.
  std::optional<std::pair<double, double>> DepthExtent() const;
  // A row number (fractional, between rows) for a depth, clamped to the rows so far;
  // and the other way round. Depths are taken to run one way through the file.
  double RowAtDepth(double depth) const;
  double DepthAtRow(double row) const;
  const CCurvePyramid& Pyramid(std::size_t curve) const { return m_pyramids[curve]; }
  const CValueSample& Sample(std::size_t curve) const { return m_samples[curve]; }
  double BucketDepth(long bucket) const { return m_bucketDepth[static_cast<std::size_t>(bucket)]; }
  std::uint64_t BucketOffset(long bucket) const { return m_bucketOffset[static_cast<std::size_t>(bucket)]; }
  std::uint64_t BucketLine(long bucket) const { return m_bucketLine[static_cast<std::size_t>(bucket)]; }
  // The bucket whose rows start at or before line `line` of the file (the first bucket
  // for a line before the data); -1 when there are no rows yet.
  long BucketOfLine(std::uint64_t line) const;
  // The file the loader read, as it was when it opened it; none before. Rows and lines
  // are read again only from that file.
  const std::optional<CFileIdentity>& Identity() const { return m_identity; }
  // Bytes held for the rows (decimated curves, depths, offsets, samples).
  std::size_t MemoryBytes() const;
  // The stride of the samples (the loader offers the rows that are a multiple of it).
  long SampleStride() const;

  // Set before the loader starts; called after each of the loader's calls below.
  void SetListener(std::function<void()> listener) { m_listener = std::move(listener); }

  // The loader's side; each takes the lock itself.
  void SetIdentity(const CFileIdentity& identity);
  void SetHeader(CLasHeader header);
  // Room for about this many buckets, so that a long file's arrays do not grow by
  // doubling (and hold up to twice what they need).
  void Reserve(long buckets);
  void Append(const CBucketBatch& batch);
  void Finish(LoadState state, std::string error = std::string());
  // Forgets the file (header, rows, identity) for a reading anew; no loader may run.
  void Reset();

 private:
  void AddBatch(const CBucketBatch& batch);
  double KnotRow(std::size_t knot) const;
  double KnotDepth(std::size_t knot) const;

  void Tell() const {
    if (m_listener) m_listener();
  }

  std::string m_path;
  std::function<void()> m_listener;
  mutable std::mutex m_mutex;
  bool m_hasHeader = false;
  CLasHeader m_header;
  std::optional<CFileIdentity> m_identity;
  LoadState m_state = LoadState::Loading;
  std::string m_error;
  unsigned m_generation = 0;
  long m_rows = 0;
  double m_lastDepth = 0;
  std::vector<double> m_bucketDepth;
  std::vector<std::uint64_t> m_bucketOffset;
  std::vector<std::uint64_t> m_bucketLine;
  std::vector<CCurvePyramid> m_pyramids;
  std::vector<CValueSample> m_samples;
};

}  // namespace corvane
