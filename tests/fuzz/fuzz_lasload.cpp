// libFuzzer driver of the plot's LAS loader: any bytes as a LAS file, loaded into
// decimated curves, then read again as the window reads it (rows for close-ups, the row
// of a line, what a view draws of every curve at several zooms, the scales of the
// default tracks), with the model's own invariants asserted.
//
// Built with clang and -DCORVANE_FUZZ=ON (see fuzz_lascheck.cpp):
//   cmake --build build-fuzz --target fuzz_lasload
//   build-fuzz/tests/fuzz/fuzz_lasload /tmp/las-corpus -max_len=65536 -max_total_time=300
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/JobProgress.h"
#include "plotmodel/CurveTracer.h"
#include "plotmodel/LasLoader.h"
#include "plotmodel/PlotScales.h"
#include "plotmodel/RowReader.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace corvane;
  static const int fd = memfd_create("fuzz.las", 0);
  Require(fd >= 0);
  Require(ftruncate(fd, 0) == 0);
  Require(pwrite(fd, bytes, size, 0) == static_cast<ssize_t>(size));
  const std::string path = "/proc/self/fd/" + std::to_string(fd);

  CLasData data(path);
  CNullProgress progress;
  const LoadState state = LoadLasFile(data, progress);
  auto lock = data.Lock();
  Require(state == data.State());
  Require(state == LoadState::Done || state == LoadState::Failed);
  Require(state == LoadState::Done || !data.Error().empty());
  Require(data.Rows() >= 0 &&
          data.Buckets() == (data.Rows() + CLasData::kBucketRows - 1) / CLasData::kBucketRows);
  if (state != LoadState::Done || data.Rows() == 0) return 0;

  const std::size_t curves = data.Curves();
  for (std::size_t c = 0; c < curves; ++c) {
    const CCurvePyramid& pyramid = data.Pyramid(c);
    for (std::size_t level = 0; level < pyramid.Levels(); ++level)
      for (const CMinMax& bucket : pyramid.Level(level)) Require(bucket.Empty() || bucket.lo <= bucket.hi);
  }
  const auto extent = data.DepthExtent();
  Require(extent.has_value() && !(extent->second < extent->first));

  // The rows read again are the rows loaded; every line of the file has a row.
  CRowReader rows(data);
  const long last = data.Rows() - 1;
  const CRowReader::CRows& read = rows.Rows(0, std::min(last, 63L));
  Require(read.Holds(0, std::min(last, 63L)) && read.curves == curves);
  for (long row = read.first; row < read.first + read.count; ++row) Require(!std::isnan(read.Value(row, 0)));
  for (const std::uint64_t line :
       {std::uint64_t{1}, static_cast<std::uint64_t>(data.Header().dataLine),
        static_cast<std::uint64_t>(data.Header().dataLine) + 7, std::uint64_t{1} << 40})
    if (const std::optional<long> row = rows.RowOfLine(line)) Require(*row >= 0 && *row <= last);

  // What views draw: whole and closer, from the pyramid and from the rows.
  const double top = extent->first;
  const double span = std::max(extent->second - extent->first, 1e-6);
  CCurveTracer tracer(data, &rows);
  for (const auto& [from, to, pixels] : {std::tuple{0.0, 1.0, 300}, std::tuple{0.25, 0.3, 500},
                                         std::tuple{0.5, 0.5001, 50}, std::tuple{-1.0, 2.0, 1}}) {
    tracer.SetView(top + span * from, top + span * to, pixels);
    for (std::size_t c = 0; c < curves; ++c)
      for (const CTraceRun& run : tracer.Trace(c)) {
        Require(!run.empty());
        for (const CTracePoint& point : run) Require(!(point.hi < point.lo));
      }
  }
  const CPlotLayout layout = CPlotLayout::Standard(data.Header());
  for (const std::vector<CTrackScale>& track : ComputeScales(data, layout))
    for (const CTrackScale& scale : track)
      Require(std::isfinite(scale.Left()) && std::isfinite(scale.Right()));
  return 0;
}
