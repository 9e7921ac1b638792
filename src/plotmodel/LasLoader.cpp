#include "plotmodel/LasLoader.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "lasfile/LasReader.h"
#include "lasfile/LasTextForm.h"
#include "platform/File.h"
#include "platform/FileError.h"
#include "plotmodel/LasRowValues.h"

namespace corvane {
namespace {

// Gathers rows into whole buckets of CLasData::kBucketRows rows.
class CBucketBuilder {
 public:
  CBucketBuilder(std::size_t curves, long stride) : m_curves(curves), m_stride(stride) {}

  void AddRow(const double* values, const CLasLineInfo& line) {
    if (std::isnan(values[0])) return;  // a row without a depth has no place in the plot
    if (m_inBucket == 0) {
      batch.firstDepth.push_back(values[0]);
      batch.offset.push_back(line.offset);
      batch.line.push_back(line.number);
      batch.minMax.resize(batch.minMax.size() + m_curves);
      batch.ends.resize(batch.ends.size() + m_curves);
    }
    CMinMax* bucket = batch.minMax.data() + batch.minMax.size() - m_curves;
    CRowEnds* ends = batch.ends.data() + batch.ends.size() - m_curves;
    for (std::size_t c = 0; c < m_curves; ++c) {
      const auto value = static_cast<float>(values[c]);
      bucket[c].Add(value);
      if (m_inBucket == 0) ends[c].first = value;
      ends[c].last = value;
    }
    if (m_row % m_stride == 0) {
      batch.sampleRows.push_back(m_row);
      for (std::size_t c = 0; c < m_curves; ++c) batch.sampleValues.push_back(static_cast<float>(values[c]));
    }
    batch.lastDepth = values[0];
    ++batch.rows;
    ++m_row;
    if (++m_inBucket == CLasData::kBucketRows) m_inBucket = 0;
  }

  bool AtBucketStart() const { return m_inBucket == 0; }
  void SetStride(long stride) { m_stride = stride; }

  CBucketBatch batch;

 private:
  std::size_t m_curves;
  long m_stride;
  long m_row = 0;
  long m_inBucket = 0;
};

}  // namespace

LoadState LoadLasFile(CLasData& data, CJobProgress& progress) {
  std::int32_t cancelFlag = 0;
  const CProgressScope shown(progress, "Loading " + BaseNameOf(data.Path()), cancelFlag);

  try {
    CLasReader reader;
    reader.Open(data.Path());
    data.SetIdentity(reader.Identity());
    // UTF-16, or lines ended by CR alone, would read as a file without curves: say what it is.
    if (const auto form = ForeignTextFormOf(data.Path())) {
      data.Finish(LoadState::Failed, "The file cannot be read as LAS: " + *form + ".");
      return LoadState::Failed;
    }
    CLasHeader header = ReadLasHeader(reader);
    const bool hasData = header.hasData;
    const std::size_t curves = header.curves.size();
    CLasRowValues values(curves, header.nullValue);
    data.SetHeader(std::move(header));
    if (curves == 0) {
      data.Finish(LoadState::Failed, "The ~C section names no curves.");
      return LoadState::Failed;
    }
    if (!hasData) {
      data.Finish(LoadState::Failed, "The file has no ~A data section.");
      return LoadState::Failed;
    }

    CBucketBuilder builder(curves, 1);
    CLineProgressText lineText;
    std::uint64_t lineNumber = 0;
    long handOverAt = kFirstBatchRows;
    bool reserved = false;
    auto handOver = [&] {
      if (!reserved && !builder.batch.offset.empty()) {
        // The rows to come, judged by the bytes per bucket so far, and a little more.
        reserved = true;
        const double bytes = static_cast<double>(reader.BytesRead() - builder.batch.offset.front());
        const double buckets = static_cast<double>(builder.batch.offset.size());
        const double rest = static_cast<double>(reader.Size() - builder.batch.offset.front());
        if (bytes > 0) data.Reserve(static_cast<long>(rest / bytes * buckets * 1.02) + 1);
      }
      data.Append(builder.batch);
      builder.batch.Clear();
      {
        auto lock = data.Lock();
        builder.SetStride(data.SampleStride());
      }
      progress.SetLineText(lineText.Line(static_cast<long>(lineNumber)));
      progress.SetPercent(CLineProgressText::Percent(reader.BytesRead(), reader.Size()));
      handOverAt = kBatchRows;
    };

    CLasRecord record;
    while (reader.Next(record)) {
      if (record.kind == LasRecordKind::SectionTitle) break;  // the data ends at the next section
      if (record.kind != LasRecordKind::DataRow) continue;
      lineNumber = record.line.number;
      builder.AddRow(values.Take(record), record.line);
      if (builder.batch.rows >= handOverAt && builder.AtBucketStart()) {
        handOver();
        if (progress.PollCancel()) {
          data.Finish(LoadState::Cancelled);
          return LoadState::Cancelled;
        }
      }
    }
    handOver();
    // Rows of a file cut or written meanwhile belong to no single version of it.
    if (const std::string change = reader.ChangeSinceOpen(); !change.empty()) {
      data.Finish(LoadState::Failed,
                  "The file changed while it was read (" + change + "); open it again once it is written.");
      return LoadState::Failed;
    }
    data.Finish(LoadState::Done);
    return LoadState::Done;
  } catch (const CFileError& error) {
    data.Finish(LoadState::Failed, error.what());
    return LoadState::Failed;
  } catch (const std::bad_alloc&) {
    data.Finish(LoadState::Failed, "Not enough memory.");
    return LoadState::Failed;
  }
}

}  // namespace corvane
