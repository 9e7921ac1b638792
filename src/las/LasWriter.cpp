#include "las/LasWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#include "ascii/ColumnSplitter.h"
#include "ascii/DateTime.h"
#include "ascii/DigitSamples.h"
#include "las/DataRowWriter.h"
#include "las/IndexTrack.h"
#include "las/JobSlots.h"
#include "platform/AsciiText.h"
#include "platform/FileSystem.h"
#include "platform/NumberFormat.h"

namespace corvane {
namespace {

constexpr int kHeaderValueEnd = 10 + 30 + 1;  // the column of the colon closing a value part
constexpr std::string_view kHyphens30 = "------------------------------";
constexpr std::uint64_t kTailBytes = 5000;  // the depth scan's look at the end of the file

int FirstDataLineIndex(const CConversionSetup& setup) { return std::max(0, setup.firstDigitLineIndex); }

// Curves taken into account: the curve total, never more than the curve list holds.
int ConsideredCurves(const CConversionSetup& setup) {
  return std::min(setup.CurveTotal(), static_cast<int>(setup.curves.size()));
}

bool IsDepthHeading(std::string_view heading) {
  return EqualNoCase(heading, "DEPTH") || EqualNoCase(heading, "DEPT") || EqualNoCase(heading, "DEP");
}

// The three fields of an other-header line, cut as a tokenizer with the separator
// ":" cuts them: runs of colons separate, leading colons are passed over, a missing
// field is empty and whatever follows the colon closing the third field is dropped.
std::array<std::string_view, 3> OtherHeaderFields(std::string_view line) {
  std::array<std::string_view, 3> fields;
  std::size_t p = 0;
  for (auto& field : fields) {
    while (p < line.size() && line[p] == ':') ++p;
    if (p >= line.size()) break;
    std::size_t end = line.find(':', p);
    if (end == std::string_view::npos) end = line.size();
    field = line.substr(p, end - p);
    p = end < line.size() ? end + 1 : end;
  }
  return fields;
}

// Places data in a file from its end towards its start. Lines are gathered
// backwards in a large buffer that goes to the file with one positioned write when
// full, so reversing a file costs a few system calls per megabyte, not per line.
class CBackwardFileWriter {
 public:
  static constexpr std::size_t kBufferSize = 4u << 20;

  CBackwardFileWriter(CFile& file, std::uint64_t end)
      : m_file(file), m_start(end), m_buffer(new char[kBufferSize]) {}

  std::uint64_t Start() const noexcept { return m_start; }

  void Prepend(std::string_view data) {
    if (data.size() > m_start)
      throw CFileError(CResult::Failed("no room left before the start of the file", ENOSPC));
    if (m_fill + data.size() > kBufferSize) Flush();
    if (data.size() > kBufferSize) {
      WriteAt(data, m_start - data.size());
    } else {
      m_fill += data.size();
      std::memcpy(m_buffer.get() + kBufferSize - m_fill, data.data(), data.size());
    }
    m_start -= data.size();
  }

  void Flush() {
    if (m_fill == 0) return;
    WriteAt(std::string_view(m_buffer.get() + kBufferSize - m_fill, m_fill), m_start);
    m_fill = 0;
  }

 private:
  void WriteAt(std::string_view data, std::uint64_t offset) {
    CResult written = m_file.WriteAt(data, offset);
    if (!written.Ok()) throw CFileError(written);
  }

  CFile& m_file;
  std::uint64_t m_start;  // file offset of the first byte placed so far
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_fill = 0;  // bytes waiting at the end of the buffer; they belong at m_start
};

// STRT, STOP, STEP and the time origin: what the header says of a range.
bool SameHeaderRange(const CDepthRange& a, const CDepthRange& b) {
  return a.StartValue() == b.StartValue() && a.StopValue() == b.StopValue() &&
         a.StepValue() == b.StepValue() && a.unit == b.unit && a.timeOrigin == b.timeOrigin;
}

double NumberOf(const std::string& text) {
  double value = 0;
  ScanDouble(text, value);
  return value;
}

// "-0.5000" for "0.5000" and back: the step of the same rows in the other order.
std::string Negated(const std::string& text) {
  if (text.empty() || NumberOf(text) == 0) return text;
  return text.front() == '-' ? text.substr(1) : "-" + text;
}

bool IsTimeHeading(std::string_view heading) { return EqualNoCase(heading, "TIME"); }

}  // namespace

std::string CLasWriter::WellUnit(const CConversionSetup& setup, const CDepthRange& range) {
  if (!range.unit.empty()) return range.unit;
  // A depth curve without units is in metres; a time index keeps its own (none).
  return IsTimeHeading(WrittenCurve(setup, range.depthColumn).heading) ? std::string() : std::string("M");
}

namespace {}  // namespace

void CLasWriter::WriteTextLine(std::string_view text) { m_out.WriteLine(text); }

std::string CLasWriter::ComposeHeaderLine(std::string_view mnemonic, std::string_view value,
                                          std::string_view description) {
  const long long pad = static_cast<long long>(kHeaderValueEnd) - static_cast<long long>(mnemonic.size()) -
                        static_cast<long long>(value.size());
  std::string line;
  line.reserve(mnemonic.size() + value.size() + description.size() + 42);
  line.append(mnemonic);
  if (pad > 0) line.append(static_cast<std::size_t>(pad), ' ');
  line.append(value);
  line.push_back(' ');
  line.append(description);
  return line;
}

void CLasWriter::WriteHeaderLine(std::string_view mnemonic, std::string_view value,
                                 std::string_view description) {
  WriteTextLine(ComposeHeaderLine(mnemonic, value, description));
}

void CLasWriter::WriteVersionSection() {
  WriteTextLine("~Version Information");
  WriteTextLine(" VERS.                2.00 : CWLS Log ASCII Standard - Version 2.00");
  WriteTextLine(" WRAP.                  NO : One line per depth");
  m_out.Flush();  // a failure belongs to this section
}

void CLasWriter::WriteWellSection(const CConversionSetup& setup, const CDepthRange& range,
                                  const std::vector<std::string>& otherHeaderLines) {
  m_otherHeaderLines = otherHeaderLines;
  m_wroteWellSection = true;
  for (const std::string& line : WellSectionLines(setup, range, otherHeaderLines)) WriteTextLine(line);
  m_out.Flush();
}

std::vector<std::string> CLasWriter::WellSectionLines(const CConversionSetup& setup, const CDepthRange& range,
                                                      const std::vector<std::string>& otherHeaderLines) {
  std::vector<std::string> lines;
  const std::string unit = WellUnit(setup, range);
  auto depthLine = [&](const char* mnemonic, double value, const std::string& text, const char* description) {
    std::string valuePart = CDepthRange::Stated(value, text);
    valuePart.push_back(':');
    lines.push_back(ComposeHeaderLine(std::string(mnemonic) + unit, valuePart, description));
  };

  lines.emplace_back("~Well Information");
  lines.push_back(ComposeHeaderLine("#MNEM.UNIT", "          Data Type           ", "Information"));
  lines.push_back(ComposeHeaderLine("#---------", kHyphens30, kHyphens30));
  depthLine(" STRT.", range.start, range.startText, "Start Depth");
  depthLine(" STOP.", range.stop, range.stopText, "Stop Depth");
  depthLine(" STEP.", range.step, range.stepText, "Depth Increment");
  depthLine(" NULL.", setup.nullValue, std::string(), "No Data Flag");
  if (!setup.wellName.empty()) lines.push_back(ComposeHeaderLine(" WELL.", setup.wellName + ":", ""));
  if (!setup.logDate.empty()) lines.push_back(ComposeHeaderLine(" DATE.", setup.logDate + ":", "LOG DATE"));
  if (!setup.uwiValue.empty())
    lines.push_back(ComposeHeaderLine(setup.wellLabel == "API" ? " API ." : " UWI .", setup.uwiValue + ":",
                                      "UNIQUE WELL ID"));
  // A line that starts with white space is written like any other: the user typed
  // it, and nothing of an other-header line is validated or corrected.
  for (const std::string& line : otherHeaderLines) {
    if (line.empty()) continue;
    const auto fields = OtherHeaderFields(line);
    std::string mnemonic(" ");
    mnemonic.append(fields[0]);
    std::string value(fields[1]);
    value.push_back(':');
    lines.push_back(ComposeHeaderLine(mnemonic, value, fields[2]));
  }
  return lines;
}

std::vector<std::string> CLasWriter::CurveSectionLines(const CConversionSetup& setup,
                                                       const CDepthRange& range) {
  std::vector<std::string> lines;
  auto curveLine = [&](const CCurveDef& curve, int number) {
    std::string mnemonic(" ");
    mnemonic.append(curve.heading).append(".").append(curve.units);
    std::string description;
    AppendRightAligned(description, FormatInt(number), 3);
    description.push_back(' ');
    description.append(curve.description);
    lines.push_back(ComposeHeaderLine(mnemonic, curve.apiCode + ":", description));
  };
  lines.emplace_back("~Curve Information");
  lines.push_back(ComposeHeaderLine("#MNEM.UNIT", "          API Codes           ", "Curve Description"));
  lines.push_back(ComposeHeaderLine("#---------", kHyphens30, kHyphens30));
  const int total = ConsideredCurves(setup);
  const int d = range.depthColumn;
  if (d >= 0 && d < total) curveLine(WrittenCurve(setup, d), 1);
  int number = 2;  // 1 belongs to the depth curve, whether there is one or not
  for (int i = 0; i < total; ++i) {
    if (i == d) continue;
    const CCurveDef curve = WrittenCurve(setup, i);
    if (!curve.heading.empty()) curveLine(curve, number++);
  }
  return lines;
}

CResult CLasWriter::WriteCurveSection(const CConversionSetup& setup, const CDepthRange& range,
                                      CRunFeedback& feedback) {
  try {
    for (const std::string& line : CurveSectionLines(setup, range)) WriteTextLine(line);
    m_out.Flush();
    return CResult::Done();
  } catch (const CFileError& error) {
    feedback.ShowError("Failed to write to LAS file.", std::string(), error.Result().Reason());
    return error.Result();
  }
}

std::vector<std::string> CLasWriter::OtherSectionLines(const CConversionSetup& setup,
                                                       const CDepthRange& range) {
  if (range.timeOrigin.empty()) return {};
  return {"~Other Information", "TIME 0 S = " + range.timeOrigin + ", the first date-time of column " +
                                    FormatInt(setup.reading.dateTimeColumn) +
                                    " (TIME counts seconds from it)"};
}

void CLasWriter::WriteOtherSection(const CConversionSetup& setup, const CDepthRange& range) {
  for (const std::string& line : OtherSectionLines(setup, range)) WriteTextLine(line);
  m_out.Flush();
}

CCurveDef CLasWriter::WrittenCurve(const CConversionSetup& setup, int column) {
  CCurveDef curve;
  if (column >= 0 && static_cast<std::size_t>(column) < setup.curves.size())
    curve = setup.curves[static_cast<std::size_t>(column)];
  if (column >= 0 && column + 1 == setup.reading.dateTimeColumn) {
    curve.heading = "TIME";
    curve.units = "S";
  }
  return curve;
}

bool CLasWriter::IsBlankLine(std::string_view line) noexcept { return IsBlankText(line); }

std::vector<int> CLasWriter::OutputColumns(const CConversionSetup& setup, const CDepthRange& range) {
  std::vector<int> columns;
  const int total = ConsideredCurves(setup);
  const int d = range.depthColumn;
  if (d >= 0 && d < total) columns.push_back(d);
  for (int i = 0; i < total; ++i)
    if (i != d && !WrittenCurve(setup, i).heading.empty()) columns.push_back(i);
  return columns;
}

std::string CLasWriter::DataTitleLine(const CConversionSetup& setup, const std::vector<int>& columns) {
  std::string title("~A ");
  for (int c : columns) {
    AppendRightAligned(title, WrittenCurve(setup, c).heading, 12);
    title.append("  ");
  }
  return title;
}

int CLasWriter::FindDepthColumn(const CConversionSetup& setup) {
  const int total = ConsideredCurves(setup);
  for (int i = 0; i < total; ++i)
    if (IsDepthHeading(WrittenCurve(setup, i).heading)) return i;
  // A time-indexed log: its TIME curve is the index.
  for (int i = 0; i < total; ++i)
    if (IsTimeHeading(WrittenCurve(setup, i).heading)) return i;
  return -1;
}

CResult CLasWriter::ScanDepthRange(const CConversionSetup& setup, bool inverse, CRunFeedback& feedback,
                                   CDepthRange& range) {
  range = CDepthRange();
  try {
    CTextReader in;
    in.Open(setup.asciiFilePath);
    std::string_view line;
    for (int i = 0; i <= FirstDataLineIndex(setup); ++i)
      if (!in.NextLine(line)) return CResult::Done();

    const int depth = FindDepthColumn(setup);
    if (depth < 0) return CResult::Done();
    range.depthColumn = depth;
    range.unit = WrittenCurve(setup, depth).units;

    const int count = setup.CurveTotal();
    CRowSplitter splitter(CSplitRules::Of(setup), count);
    const int timeColumn = setup.reading.dateTimeColumn - 1;
    const bool findOrigin = timeColumn >= 0 && timeColumn < count;

    // The first two rows, and the first date-time of a date-time column, which every
    // later date-time counts from (in the file's order, inverted or not).
    std::vector<std::string> firstRows;
    std::string lastRow;
    bool originFound = false;
    for (bool more = true; more; more = in.NextLine(line)) {
      if (IsBlankLine(line)) continue;
      if (firstRows.size() < 2) firstRows.emplace_back(line);
      lastRow.assign(line);
      if (findOrigin && !originFound) {
        const auto& cells = splitter.Split(line);
        if (static_cast<std::size_t>(timeColumn) < splitter.Fields()) {
          if (const auto origin = ParseDateTime(cells[static_cast<std::size_t>(timeColumn)])) {
            range.timeOrigin = origin->iso;
            range.timeOriginSeconds = origin->seconds;
            originFound = true;
          }
        }
      }
      if (firstRows.size() >= 2 && (!findOrigin || originFound)) break;
    }
    if (firstRows.empty()) return CResult::Done();  // no row: nothing to declare

    // The index cell of a row as the data section writes it.
    CReadingSummary unused;
    unused.Begin(setup.reading, std::vector<std::string>(static_cast<std::size_t>(count)), std::string());
    CDataRowWriter writer(setup, {depth}, unused);
    if (originFound) writer.SetTimeOrigin(range.timeOriginSeconds);
    std::string cell;
    auto indexOf = [&](std::string_view text) {
      const auto& cells = splitter.Split(text);
      cell.clear();
      if (static_cast<std::size_t>(depth) < splitter.Fields())
        writer.AppendCell(cell, cells[static_cast<std::size_t>(depth)], depth, 0);
      else
        writer.AppendCell(cell, std::string_view(), depth, 0);
      return std::string(TrimCSpace(cell));
    };
    range.startText = indexOf(firstRows.front());
    range.stopText = range.startText;
    range.stepText = "0.0000";
    if (firstRows.size() >= 2) {
      range.stopText = indexOf(firstRows[1]);
      const std::string step = CIndexTrack::Difference(range.startText, range.stopText);
      if (!step.empty()) range.stepText = step;
      // The last row: the last line that is not blank in the last 5000 bytes (a Ctrl-Z
      // there ends the text; one before them is met by the data section). When the
      // reading has met the Ctrl-Z already, the rows up to it are read on instead.
      if (!in.StoppedAtCtrlZ()) {
        const std::uint64_t size = in.Size();
        in.Seek(size > kTailBytes ? size - kTailBytes : 0);
      }
      while (in.NextLine(line))
        if (!IsBlankLine(line)) lastRow.assign(line);
      range.stopText = indexOf(lastRow);
    }
    if (inverse) {
      std::swap(range.startText, range.stopText);
      range.stepText = Negated(range.stepText);
    }
    range.start = NumberOf(range.startText);
    range.stop = NumberOf(range.stopText);
    range.step = NumberOf(range.stepText);
  } catch (const CFileError& error) {
    feedback.ShowError("Failed to open ASCII file.", std::string(), error.Result().Reason());
    return error.Result();
  }
  return CResult::Done();
}

CResult CLasWriter::InvertDataLines(CTextReader& source, CJobProgress& progress, CRunFeedback& feedback,
                                    CFile& temp, std::uint64_t& start, std::uint64_t* lines) {
  try {
    const std::uint64_t dataStart = source.Position();
    const std::uint64_t dataBytes = source.Size() > dataStart ? source.Size() - dataStart : 0;
    CResult created = temp.CreateTemporary(TempDirectory(), "QR");
    if (!created.Ok()) throw CFileError(created);

    // The lines are placed from the end of a file long enough for any data part of
    // this size (a line of n bytes becomes at most n + 2, a line end at most two
    // bytes), so one reading pass does; the unused head stays a hole in the file.
    const std::uint64_t room = 2 * dataBytes + 4;
    CResult sized = temp.Truncate(room);
    if (!sized.Ok()) throw CFileError(sized);

    CBackwardFileWriter out(temp, room);
    bool lastEnded = true;
    std::string_view line;
    std::uint64_t copied = 0;
    while (source.NextLine(line)) {
      if (progress.PollCancel()) return CResult::Cancelled();
      ++copied;
      lastEnded = !line.empty() && line.back() == '\n';
      if (lastEnded) line.remove_suffix(1);
      out.Prepend("\r\n");
      out.Prepend(line);
      progress.SetLineText("Inversing Curve Data...");
      progress.SetPercent(CLineProgressText::Percent(source.Position() - dataStart, dataBytes));
    }
    // The empty first line stands for a final line end (or for an empty data part).
    if (lastEnded) out.Prepend("\r\n");
    out.Flush();
    start = out.Start();
    if (lines != nullptr) *lines = copied;
    return CResult::Done();
  } catch (const CFileError& error) {
    temp.Discard();
    feedback.ShowError("Failed on inverse curve file.", std::string(), error.Result().Reason());
    return error.Result();
  }
}

void CLasWriter::MendHeader(const CConversionSetup& setup, const CDepthRange& declared,
                            const CDepthRange& written, std::uint64_t headerBytes) {
  if (!m_wroteWellSection || SameHeaderRange(declared, written)) return;
  std::string header;
  auto add = [&header](const std::vector<std::string>& lines) {
    for (const std::string& line : lines) header.append(line).append("\r\n");
  };
  add({"~Version Information", " VERS.                2.00 : CWLS Log ASCII Standard - Version 2.00",
       " WRAP.                  NO : One line per depth"});
  add(WellSectionLines(setup, written, m_otherHeaderLines));
  add(CurveSectionLines(setup, written));
  add(OtherSectionLines(setup, written));
  m_out.ReplaceHead(headerBytes, header);
}

CResult CLasWriter::WriteDataSection(const CConversionSetup& setup, const CDepthRange& range, bool inverse,
                                     CJobProgress& progress, CRunFeedback& feedback,
                                     CReadingSummary* reading) {
  CResult result;
  CJobDisplay display(LasCreationJob(), progress);
  CTextReader ascii;
  CTextReader temp;
  m_writtenRange = range;
  const CSplitRules rules = CSplitRules::Of(setup);
  const std::vector<int> columns = OutputColumns(setup, range);
  CReadingSummary summary;
  {
    std::vector<std::string> headings(static_cast<std::size_t>(std::max(setup.CurveTotal(), 0)));
    for (int c : columns) headings[static_cast<std::size_t>(c)] = WrittenCurve(setup, c).heading;
    summary.Begin(setup.reading, std::move(headings),
                  rules.fixedWidth > 0 ? std::string() : rules.delimiterSet);
  }
  try {
    const std::uint64_t headerBytes = m_out.Position();
    WriteTextLine(DataTitleLine(setup, columns));

    ascii.Open(setup.asciiFilePath);
    std::string_view line;
    const int first = FirstDataLineIndex(setup);
    for (int i = 0; i < first; ++i) {
      if (!ascii.NextLine(line)) {
        // The file has shrunk since its lines were counted: nothing to convert.
        feedback.ShowNotice("LAS file created failed or cancelled.");
        return CResult::Failed(NoDataLineReason(setup.asciiFilePath, first, i));
      }
    }

    const int count = setup.CurveTotal();
    CRowSplitter splitter(rules, count);
    if (!display.Acquire("Creating LAS file..."))  // another LAS creation is converting
      return CResult::Failed("another LAS file is being created");

    CTextReader* source = &ascii;
    std::uint64_t base = 0;  // where the data begins in the source
    std::uint64_t dataLines = 0;
    if (inverse) {
      CFile inverted;
      result = InvertDataLines(ascii, progress, feedback, inverted, base, &dataLines);
      if (result.Ok()) {
        temp.Adopt(std::move(inverted));
        temp.Seek(base);
        source = &temp;
      }
    }

    if (result.Ok()) {
      const std::uint64_t length = source->Size() - base;
      CDataRowWriter rows(setup, columns, summary);
      if (!range.timeOrigin.empty()) rows.SetTimeOrigin(range.timeOriginSeconds);
      CIndexTrack index;
      const bool indexed = range.depthColumn >= 0 && !columns.empty() && columns.front() == range.depthColumn;
      // The line's number in the ASCII file, from 1; the inverted copy holds the data
      // lines last first, after an empty line when the last one had a line end.
      bool copyLeadsWithEmpty = false;
      auto lineNumber = [&](long counter) -> std::uint64_t {
        const auto n = static_cast<std::uint64_t>(counter);
        if (!inverse) return static_cast<std::uint64_t>(first) + n;
        const std::uint64_t fromEnd = copyLeadsWithEmpty ? n - 1 : n;  // 1 for the last data line
        return static_cast<std::uint64_t>(first) + dataLines + 1 - fromEnd;
      };
      CRowSplitter counter(rules, -1);  // the fields of a long row, for its example
      CLineProgressText lineText;
      std::string dataLine;
      long lines = 0;
      while (source->NextLine(line)) {
        const std::uint64_t position = source->Position() - base;
        if (progress.PollCancel()) {
          result = CResult::Cancelled();
          break;
        }
        ++lines;
        if (inverse && lines == 1) copyLeadsWithEmpty = line.empty() || line == "\n";
        if (!IsBlankLine(line)) {
          const std::vector<std::string_view>& cells = splitter.Split(line);
          const std::size_t fields = splitter.Fields();
          if (fields < static_cast<std::size_t>(count))
            summary.Record(ReadingKind::ShortRow, lineNumber(lines), -1, line, static_cast<int>(fields));
          else if (splitter.Extra())
            summary.Record(ReadingKind::LongRow, lineNumber(lines), -1, line,
                           static_cast<int>(counter.Split(line).size()));
          dataLine.clear();
          rows.AppendRow(dataLine, cells, fields, lineNumber(lines));
          if (indexed) index.Add(rows.FirstCell(dataLine));
          m_out.WriteRaw(dataLine);
          ++m_rows;
        }
        progress.SetLineText(lineText.Line(lines));
        progress.SetPercent(CLineProgressText::Percent(position, length));
      }
      summary.AddRows(m_rows);
      if (result.Ok() && indexed && !index.Empty()) {
        m_writtenRange.startText = index.First();
        m_writtenRange.stopText = std::string(index.Last());
        m_writtenRange.stepText = index.Step();
        m_writtenRange.start = NumberOf(m_writtenRange.startText);
        m_writtenRange.stop = NumberOf(m_writtenRange.stopText);
        m_writtenRange.step = NumberOf(m_writtenRange.stepText);
        MendHeader(setup, range, m_writtenRange, headerBytes);
      }
    }
    temp.Close();
    ascii.Close();
    // A failed write of the last lines belongs to this section; only a whole file
    // takes the place of the old one.
    if (result.Ok()) m_out.Commit();
  } catch (const CFileError& error) {
    feedback.ShowError("Failed to write to LAS file.", std::string(), error.Result().Reason());
    result = error.Result();
  }
  temp.Close();
  ascii.Close();
  display.Release();
  if (reading != nullptr) *reading = std::move(summary);
  feedback.ShowNotice(result.Ok() ? kLasCreatedMessage : "LAS file created failed or cancelled.");
  return result;
}

}  // namespace corvane
