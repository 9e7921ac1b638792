#include "las/LasWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#include "ascii/ColumnSplitter.h"
#include "ascii/DigitSamples.h"
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

double CellValue(std::string_view cell, double nullValue) {
  double value;
  return ScanDouble(cell, value) ? value : nullValue;
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

// Most cells of a log are plain decimals with at most four decimals ("1000.5",
// "-999.25", "55"). For those the "%12.4lf" cell of the nearest double is the text
// itself with its decimals padded to four: the double lies closer to that text than
// half a unit of the fourth decimal, because the number has few enough digits (at
// most 15 in all, at most 10 before the point when there are decimals). Writing the
// text then spares the scan and the formatting, the bulk of a conversion's work.
// Anything else (exponents, more digits, no number) is left to the general route.
bool AppendPlainDecimalCell(std::string& out, std::string_view cell) {
  const char* p = cell.data();
  const char* const end = p + cell.size();
  while (p < end && IsCSpace(*p)) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  while (p < end && *p == '0' && p + 1 < end && IsAsciiDigit(p[1])) ++p;  // leading zeros
  const char* const intBegin = p;
  while (p < end && IsAsciiDigit(*p)) ++p;
  const char* const intEnd = p;
  const char* fracBegin = p;
  const char* fracEnd = p;
  if (p < end && *p == '.') {
    fracBegin = ++p;
    while (p < end && IsAsciiDigit(*p)) ++p;
    fracEnd = p;
  }
  const auto intDigits = static_cast<std::size_t>(intEnd - intBegin);
  const auto fracDigits = static_cast<std::size_t>(fracEnd - fracBegin);
  if (intDigits + fracDigits == 0 || fracDigits > 4) return false;
  if (p < end && (*p == 'e' || *p == 'E')) return false;
  if (fracDigits > 0 ? intDigits > 10 : intDigits > 15) return false;

  // Composed in place and appended at once: the cell and its two trailing blanks.
  // The pieces are a few bytes each, so plain loops beat calls to memcpy.
  char buffer[32];
  const std::size_t intLength = intDigits == 0 ? 1 : intDigits;  // an empty integer part reads "0"
  const std::size_t length = (negative ? 1 : 0) + intLength + 5;
  char* w = buffer;
  for (std::size_t i = length; i < 12; ++i) *w++ = ' ';
  if (negative) *w++ = '-';
  if (intDigits == 0) *w++ = '0';
  for (const char* q = intBegin; q < intEnd; ++q) *w++ = *q;
  *w++ = '.';
  for (const char* q = fracBegin; q < fracEnd; ++q) *w++ = *q;
  for (std::size_t i = fracDigits; i < 4; ++i) *w++ = '0';
  *w++ = ' ';
  *w++ = ' ';
  out.append(buffer, static_cast<std::size_t>(w - buffer));
  return true;
}

}  // namespace

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
  for (const std::string& line : WellSectionLines(setup, range, otherHeaderLines)) WriteTextLine(line);
  m_out.Flush();
}

std::vector<std::string> CLasWriter::WellSectionLines(const CConversionSetup& setup, const CDepthRange& range,
                                                      const std::vector<std::string>& otherHeaderLines) {
  std::vector<std::string> lines;
  const std::string unit = range.unit.empty() ? std::string("M") : range.unit;
  auto depthLine = [&](const char* mnemonic, double value, const char* description) {
    std::string valuePart = FormatFixed(value, 4);
    valuePart.push_back(':');
    lines.push_back(ComposeHeaderLine(std::string(mnemonic) + unit, valuePart, description));
  };

  lines.emplace_back("~Well Information");
  lines.push_back(ComposeHeaderLine("#MNEM.UNIT", "          Data Type           ", "Information"));
  lines.push_back(ComposeHeaderLine("#---------", kHyphens30, kHyphens30));
  depthLine(" STRT.", range.start, "Start Depth");
  depthLine(" STOP.", range.stop, "Stop Depth");
  depthLine(" STEP.", range.step, "Depth Increment");
  depthLine(" NULL.", setup.nullValue, "No Data Flag");
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

CResult CLasWriter::WriteCurveSection(const CConversionSetup& setup, const CDepthRange& range,
                                      CRunFeedback& feedback) {
  auto curveLine = [&](const CCurveDef& curve, int number) {
    std::string mnemonic(" ");
    mnemonic.append(curve.heading).append(".").append(curve.units);
    std::string description;
    AppendRightAligned(description, FormatInt(number), 3);
    description.push_back(' ');
    description.append(curve.description);
    WriteHeaderLine(mnemonic, curve.apiCode + ":", description);
  };
  try {
    WriteTextLine("~Curve Information");
    WriteHeaderLine("#MNEM.UNIT", "          API Codes           ", "Curve Description");
    WriteHeaderLine("#---------", kHyphens30, kHyphens30);
    const int total = ConsideredCurves(setup);
    const int d = range.depthColumn;
    if (d >= 0 && d < total) curveLine(setup.curves[static_cast<std::size_t>(d)], 1);
    int number = 2;  // 1 belongs to the depth curve, whether there is one or not
    for (int i = 0; i < total; ++i) {
      const CCurveDef& curve = setup.curves[static_cast<std::size_t>(i)];
      if (i == d || curve.heading.empty()) continue;
      curveLine(curve, number++);
    }
    m_out.Flush();
    return CResult::Done();
  } catch (const CFileError& error) {
    feedback.ShowError("Failed to write to LAS file.", std::string(), error.Result().Reason());
    return error.Result();
  }
}

bool CLasWriter::IsBlankLine(std::string_view line) noexcept { return IsBlankText(line); }

std::vector<int> CLasWriter::OutputColumns(const CConversionSetup& setup, const CDepthRange& range) {
  std::vector<int> columns;
  const int total = ConsideredCurves(setup);
  const int d = range.depthColumn;
  if (d >= 0 && d < total) columns.push_back(d);
  for (int i = 0; i < total; ++i)
    if (i != d && !setup.curves[static_cast<std::size_t>(i)].heading.empty()) columns.push_back(i);
  return columns;
}

std::string CLasWriter::DataTitleLine(const CConversionSetup& setup, const std::vector<int>& columns) {
  std::string title("~A ");
  for (int c : columns) {
    AppendRightAligned(title, setup.curves[static_cast<std::size_t>(c)].heading, 12);
    title.append("  ");
  }
  return title;
}

int CLasWriter::FindDepthColumn(const CConversionSetup& setup) {
  const int total = ConsideredCurves(setup);
  for (int i = 0; i < total; ++i)
    if (IsDepthHeading(setup.curves[static_cast<std::size_t>(i)].heading)) return i;
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
    range.unit = setup.curves[static_cast<std::size_t>(depth)].units;

    CRowSplitter splitter(setup.fixedWidth, setup.skipWidth, GetDelimiterSet(setup.delimiterText),
                          setup.CurveTotal());
    auto depthOf = [&](std::string_view text) {
      return CellValue(splitter.Split(text)[static_cast<std::size_t>(depth)], setup.nullValue);
    };
    range.start = depthOf(line);
    range.stop = range.start;
    // A single data line: stop equals start and the step stays 0, inverted or not.
    if (!in.NextLine(line)) return CResult::Done();
    range.stop = depthOf(line);
    range.step = range.stop - range.start;

    const std::uint64_t size = in.Size();
    in.Seek(size > kTailBytes ? size - kTailBytes : 0);
    std::string lastFilled;
    bool found = false;
    while (in.NextLine(line)) {
      if (IsBlankLine(line)) continue;
      lastFilled.assign(line);
      found = true;
    }
    // Without a non-blank line at the end, the second line's depth stands.
    if (found) range.stop = depthOf(lastFilled);
    if (inverse) {
      std::swap(range.start, range.stop);
      range.step = -range.step;
    }
  } catch (const CFileError& error) {
    feedback.ShowError("Failed to open ASCII file.", std::string(), error.Result().Reason());
    return error.Result();
  }
  return CResult::Done();
}

CResult CLasWriter::InvertDataLines(CTextReader& source, CJobProgress& progress, CRunFeedback& feedback,
                                    CFile& temp, std::uint64_t& start) {
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
    while (source.NextLine(line)) {
      if (progress.PollCancel()) return CResult::Cancelled();
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
    return CResult::Done();
  } catch (const CFileError& error) {
    temp.Discard();
    feedback.ShowError("Failed on inverse curve file.", std::string(), error.Result().Reason());
    return error.Result();
  }
}

CResult CLasWriter::WriteDataSection(const CConversionSetup& setup, const CDepthRange& range, bool inverse,
                                     CJobProgress& progress, CRunFeedback& feedback) {
  CResult result;
  CJobDisplay display(LasCreationJob(), progress);
  CTextReader ascii;
  CTextReader temp;
  try {
    const std::vector<int> columns = OutputColumns(setup, range);
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

    CRowSplitter splitter(setup.fixedWidth, setup.skipWidth, GetDelimiterSet(setup.delimiterText),
                          setup.CurveTotal());
    if (!display.Acquire("Creating LAS file..."))  // another LAS creation is converting
      return CResult::Failed("another LAS file is being created");

    CTextReader* source = &ascii;
    std::uint64_t base = 0;  // where the data begins in the source
    if (inverse) {
      CFile inverted;
      result = InvertDataLines(ascii, progress, feedback, inverted, base);
      if (result.Ok()) {
        temp.Adopt(std::move(inverted));
        temp.Seek(base);
        source = &temp;
      }
    }

    if (result.Ok()) {
      const std::uint64_t length = source->Size() - base;
      std::string nullCell;
      AppendFixed(nullCell, setup.nullValue, 4, 12);
      CLineProgressText lineText;
      std::string dataLine;
      long counter = 0;
      while (source->NextLine(line)) {
        const std::uint64_t position = source->Position() - base;
        if (progress.PollCancel()) {
          result = CResult::Cancelled();
          break;
        }
        if (!IsBlankLine(line)) {
          const std::vector<std::string_view>& cells = splitter.Split(line);
          dataLine.assign("   ");
          for (int c : columns) {
            const std::string_view cell = cells[static_cast<std::size_t>(c)];
            if (AppendPlainDecimalCell(dataLine, cell)) continue;
            double value;
            if (ScanDouble(cell, value))
              AppendFixed(dataLine, value, 4, 12);
            else
              dataLine.append(nullCell);
            dataLine.append("  ");
          }
          dataLine.append("\r\n");
          m_out.WriteRaw(dataLine);
          ++m_rows;
        }
        ++counter;
        progress.SetLineText(lineText.Line(counter));
        progress.SetPercent(CLineProgressText::Percent(position, length));
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
  feedback.ShowNotice(result.Ok() ? kLasCreatedMessage : "LAS file created failed or cancelled.");
  return result;
}

}  // namespace corvane
