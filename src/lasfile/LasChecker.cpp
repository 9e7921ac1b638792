#include "lasfile/LasChecker.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <unordered_set>

#include "lasfile/LasDecimal.h"
#include "lasfile/LasHeaderLine.h"
#include "lasfile/LasTextForm.h"
#include "lasfile/LasWellItems.h"
#include "platform/AsciiText.h"
#include "platform/FileError.h"
#include "platform/NumberFormat.h"

namespace corvane {
namespace {

// Mnemonics kept per section to find duplicates; past this the search stops.
constexpr std::size_t kMaxMnemonicsPerSection = 100000;
// A wrapped data line holds at most 80 characters with its CR LF.
constexpr std::size_t kMaxWrappedLine = 80;
// The null values in common use; a NULL that the data never uses while it uses one of
// these is most likely the wrong one.
constexpr std::array<double, 4> kCommonNulls = {-999.25, -9999.0, -9999.25, -999.0};
constexpr std::array<std::string_view, 4> kCommonNullTexts = {"-999.25", "-9999", "-9999.25", "-999"};

bool IsOneOf(const std::string& upper, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names)
    if (upper == name) return true;
  return false;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text.substr(0, 60)) + "\""; }

std::string Number(std::uint64_t n) { return FormatInt(static_cast<long long>(n)); }

std::string Plural(std::uint64_t n, std::string_view one, std::string_view many) {
  return Number(n) + " " + std::string(n == 1 ? one : many);
}

// How a byte outside ASCII 32..126 is named in a reason.
std::string DescribeByte(unsigned char c, std::uint64_t line, std::size_t column) {
  if (line == 1 && column == 1 && c == 0xEF) return "a UTF-8 byte-order mark";
  switch (c) {
    case '\t':
      return "a tab (ASCII 9)";
    case '\r':
      return "a carriage return (ASCII 13) that does not end the line";
    case 0:
      return "a NUL byte (ASCII 0)";
    default:
      break;
  }
  std::string hex = "0x00";
  const char* digits = "0123456789ABCDEF";
  hex[2] = digits[c >> 4];
  hex[3] = digits[c & 15];
  if (c < 32 || c == 127) return "the control character " + hex;
  return "the byte " + hex + " (not ASCII)";
}

// The section of the standard that describes a section letter.
std::string_view SectionClause(char letter) {
  switch (letter) {
    case 'V':
      return "5.3";
    case 'W':
      return "5.4";
    case 'C':
      return "5.5";
    case 'P':
      return "5.6";
    case 'O':
      return "5.7";
    case 'A':
      return "5.8";
    default:
      return "3.0";
  }
}

bool IsStandardSection(char letter) {
  return letter == 'V' || letter == 'W' || letter == 'C' || letter == 'P' || letter == 'O' || letter == 'A';
}

bool IsHeaderSection(char letter) { return letter == 'V' || letter == 'W' || letter == 'C' || letter == 'P'; }

// One line of ~V or ~W that a rule needs later.
struct CItem {
  bool present = false;
  std::uint64_t line = 0;
  std::string text;  // the whole line, cut
  std::string unit;
  std::string value;
};

// The required lines of ~W, in the order they are reported when missing.
enum WellItem {
  kStrt,
  kStop,
  kStep,
  kNull,
  kComp,
  kWell,
  kFld,
  kLoc,
  kProv,
  kCnty,
  kStat,
  kCtry,
  kSrvc,
  kDate,
  kUwi,
  kApi,
  kWellItems
};
constexpr std::array<std::string_view, kWellItems> kWellNames = {
    "STRT", "STOP", "STEP", "NULL", "COMP", "WELL", "FLD", "LOC",
    "PROV", "CNTY", "STAT", "CTRY", "SRVC", "DATE", "UWI", "API"};

struct CCurveStats {
  std::uint64_t values = 0;
  std::uint64_t nulls = 0;
  std::uint64_t unreadable = 0;
};

// An index value as written, with its exact decimal when it has one.
struct CIndexValue {
  std::string text;
  double number = 0;
  std::optional<CLasDecimal> exact;
  std::uint64_t line = 0;
};

}  // namespace

struct CLasChecker::CState {
  explicit CState(CLasReport& r) : report(r) {}

  CLasReport& report;

  // Sections
  std::uint64_t sectionCount = 0;
  char section = 0;                              // current section letter, 0 before the first
  bool firstOfLetter = false;                    // the current section is the first of its letter
  std::array<std::uint64_t, 256> firstLineOf{};  // per letter: line of its first section line
  std::uint64_t wOrdinal = 0;                    // position of ~W among the sections
  bool dataStarted = false;
  bool afterData = false;                     // a section line came after ~A
  std::unordered_set<std::string> mnemonics;  // of the current section, upper case

  // Blank lines not yet judged: they are judged by what follows them.
  std::uint64_t blankStart = 0;
  std::uint64_t blankCount = 0;
  char blankSection = 0;
  bool blankInData = false;

  // Lines
  std::uint64_t lfLines = 0;
  std::uint64_t firstLfLine = 0;
  bool rowLinesDropped = false;

  // ~V, ~W
  CItem vers;
  CItem wrap;
  std::array<CItem, kWellItems> well;

  // ~A
  std::uint64_t rows = 0;
  std::vector<CCurveStats> stats;
  bool nullKnown = false;
  double nullValue = 0;
  std::uint64_t nullUses = 0;
  std::array<std::uint64_t, kCommonNulls.size()> commonUses{};
  std::array<std::uint64_t, kCommonNulls.size()> commonFirstLine{};
  std::optional<CIndexValue> firstIndex;
  std::optional<CIndexValue> lastIndex;
  bool timeIndex = false;  // the first curve is TIME, which must rise
  int direction = 0;       // +1 rising index, -1 falling, 0 not known yet
  bool indexExact = true;
  std::optional<CLasDecimal> increment;  // between the first two index values
  std::uint64_t irregularLine = 0;       // first row whose spacing differs from it
  std::optional<CLasDecimal> irregularIncrement;

  void TakeLineFacts(const CLasLineInfo& info, std::string_view text);
  void FlushBlanks(bool dataFollows);
  void TakeSectionTitle(const CLasRecord& record);
  void TakeHeaderItem(const CLasRecord& record);
  void TakeRow(const CLasRecord& record, const CLasReader& reader);
  void TakeIndex(const CLasRecord& record, const CLasCell& cell, bool isTime);
  void CheckEnd(const CLasReader& reader);
  void CheckCtrlZ(const CLasReader& reader);
  void CheckVersion();
  void CheckWell(const CLasReader& reader);
  void CheckIndexAgainstWell(const CLasReader& reader);
  void FillSummary(const CLasReader& reader);
};

namespace {

// Text of a data row for a finding: its values joined by one blank, cut.
std::string RowText(const CLasRecord& record) {
  std::string text;
  for (const CLasCell& cell : record.cells) {
    if (!text.empty()) text += ' ';
    text.append(cell.text);
    if (text.size() >= CLasReport::kMaxText) break;
  }
  return text;
}

// The values that line `lineIndex` of a row gave, joined by one blank, cut.
std::string RowLineText(const CLasRecord& record, std::size_t lineIndex) {
  std::size_t first = 0;
  for (std::size_t i = 0; i < lineIndex; ++i) first += record.rowLines[i].values;
  const std::size_t last = std::min(first + record.rowLines[lineIndex].values, record.cells.size());
  std::string text;
  for (std::size_t i = first; i < last && text.size() < CLasReport::kMaxText; ++i) {
    if (!text.empty()) text += ' ';
    text.append(record.cells[i].text);
  }
  return text;
}

// The line of a row that holds value `index` (0-based).
std::uint64_t LineOfValue(const CLasRecord& record, std::size_t index) {
  std::size_t seen = 0;
  for (const CLasLineInfo& line : record.rowLines) {
    seen += line.values;
    if (index < seen) return line.number;
  }
  return record.rowLines.empty() ? record.line.number : record.rowLines.back().number;
}

bool ParseHeaderNumber(const CItem& item, double& value) {
  return ReadLasCell(item.value, value) == LasCellKind::Number;
}

bool IsPlainNumber(std::string_view text) {
  double value = 0;
  return ReadLasCell(text, value) == LasCellKind::Number;
}

}  // namespace

CLasChecker::CLasChecker(CLasReport& report) : m_state(std::make_unique<CState>(report)) {}

CLasChecker::~CLasChecker() = default;

void CLasChecker::Take(const CLasRecord& record, const CLasReader& reader) {
  CState& s = *m_state;
  if (record.kind == LasRecordKind::DataRow) {
    for (std::size_t i = 0; i < record.rowLines.size(); ++i) {
      const CLasLineInfo& info = record.rowLines[i];
      if (record.rowLines.size() == 1)
        s.TakeLineFacts(info, record.text);
      else
        s.TakeLineFacts(info, info.badChars > 0 ? RowLineText(record, i) : std::string());
    }
    if (record.rowLinesDropped > 0) s.rowLinesDropped = true;
  } else {
    s.TakeLineFacts(record.line, record.text);
  }

  switch (record.kind) {
    case LasRecordKind::Blank:
      if (s.afterData) return;
      if (s.blankCount == 0) {
        s.blankStart = record.line.number;
        s.blankSection = s.section;
        s.blankInData = s.dataStarted;
      }
      ++s.blankCount;
      return;
    case LasRecordKind::SectionTitle:
      s.FlushBlanks(false);
      s.TakeSectionTitle(record);
      return;
    case LasRecordKind::HeaderItem:
      s.FlushBlanks(false);
      s.TakeHeaderItem(record);
      return;
    case LasRecordKind::Comment:
      if (s.dataStarted && !s.afterData) {
        s.FlushBlanks(true);
        s.report.Add(LasCode::CommentInData, record.line.number, record.text,
                     "comment lines may appear only above the ~A section; inside it every line is data");
      } else {
        s.FlushBlanks(false);
      }
      return;
    case LasRecordKind::Text:
      s.FlushBlanks(false);
      if (s.section == 0)
        s.report.Add(LasCode::TextOutsideSection, record.line.number, record.text,
                     "this line stands before the first section line (~V); only comment lines (#) may "
                     "stand there");
      return;
    case LasRecordKind::DataRow:
      // Blank lines that the row's own lines follow were read while it was gathered.
      if (s.blankCount > 0 && (record.rowLines.empty() || record.rowLines.back().number > s.blankStart))
        s.FlushBlanks(true);
      s.TakeRow(record, reader);
      return;
  }
}

void CLasChecker::CState::TakeLineFacts(const CLasLineInfo& info, std::string_view text) {
  if (info.end == LasLineEnd::Lf && lfLines++ == 0) firstLfLine = info.number;
  if (info.badChars == 0 || !report.Admit(LasCode::CharacterNotAllowed)) return;
  std::string reason = "column " + Number(info.badColumn) + " holds " +
                       DescribeByte(info.badChar, info.number, info.badColumn);
  if (info.badChars > 1) reason += " (" + Number(info.badChars) + " such characters on this line)";
  reason += "; only ASCII 32 to 126 are allowed, with CR LF at the line end";
  report.List(LasCode::CharacterNotAllowed, info.number, text, std::move(reason));
}

void CLasChecker::CState::FlushBlanks(bool dataFollows) {
  if (blankCount == 0) return;
  const std::string lines = blankCount == 1 ? "a blank line" : Number(blankCount) + " blank lines";
  const std::string where =
      blankCount == 1 ? std::string()
                      : " (lines " + Number(blankStart) + " to " + Number(blankStart + blankCount - 1) + ")";
  if (blankInData) {
    if (dataFollows) {
      report.Add(LasCode::BlankLine, blankStart, "",
                 lines + where + " inside the ~A section; embedded blank lines are forbidden there", "5.8");
    } else {
      report.Add(LasCode::BlankLineAtEnd, blankStart, "",
                 lines + where +
                     " after the last data line; readers that take them for rows of missing "
                     "values misread the file");
    }
  } else if (IsHeaderSection(blankSection)) {
    report.Add(LasCode::BlankLine, blankStart, "",
               lines + where + " inside the ~" + std::string(1, blankSection) +
                   " section, where every line other than a comment must hold a dot, a space and a colon");
  } else if (blankSection == 0) {
    report.Add(LasCode::BlankLineInText, blankStart, "",
               lines + where + " before the first section; many LAS readers refuse blank lines", "3.0");
  } else {
    report.Add(LasCode::BlankLineInText, blankStart, "",
               lines + where + " inside the ~" + std::string(1, blankSection) +
                   " section; the standard sets no format there, but many LAS readers refuse blank lines",
               SectionClause(blankSection) == "5.7" ? "5.7" : "3.0");
  }
  blankCount = 0;
}

void CLasChecker::CState::TakeSectionTitle(const CLasRecord& record) {
  const char letter = record.section;
  const std::uint64_t line = record.line.number;
  ++sectionCount;
  if (report.summary.sections.size() < CLasReport::kMaxSections) {
    CLasSectionInfo info;
    info.letter = letter;
    info.title.assign(TrimBlanks(record.text).substr(0, CLasReport::kMaxText));
    info.line = line;
    report.summary.sections.push_back(std::move(info));
  } else {
    ++report.summary.sectionsDropped;
  }
  section = letter;
  mnemonics.clear();

  const std::size_t tilde = record.text.find('~');
  const char written = tilde + 1 < record.text.size() ? record.text[tilde + 1] : ' ';
  if (letter == ' ') {
    report.Add(LasCode::SectionLetterMissing, line, record.text,
               "no letter follows the \"~\"; the character right after it names the section");
  } else if (written >= 'a' && written <= 'z' && IsStandardSection(letter)) {
    report.Add(LasCode::SectionLowercase, line, record.text,
               "the section is read as ~" + std::string(1, letter) +
                   ", but the standard reserves the upper-case letter and some readers look only for it");
  }

  if (sectionCount == 1 && letter != 'V') {
    report.Add(LasCode::VNotFirst, line, record.text,
               "the first section is ~" + std::string(1, letter) +
                   "; the ~V section must be the first section of the file");
  }
  if (dataStarted) {
    afterData = true;
    report.Add(LasCode::SectionAfterA, line, record.text,
               "the ~A section (line " + Number(firstLineOf[static_cast<unsigned char>('A')]) +
                   ") must be the last section of the file");
    firstOfLetter = false;
    return;
  }
  const auto slot = static_cast<unsigned char>(letter);
  firstOfLetter = firstLineOf[slot] == 0;
  if (!firstOfLetter && IsStandardSection(letter)) {
    report.Add(LasCode::SectionDuplicate, line, record.text,
               "a second ~" + std::string(1, letter) + " section (the first is on line " +
                   Number(firstLineOf[slot]) + "); only one may occur in a file",
               SectionClause(letter));
  } else if (firstOfLetter && !IsStandardSection(letter) && letter != ' ') {
    report.Add(
        LasCode::SectionCustom, line, record.text,
        "~" + std::string(1, letter) +
            " is a section of the file's own; it is allowed between ~V and ~A and LAS readers skip it");
  }
  if (firstOfLetter) firstLineOf[slot] = line;
  if (letter == 'W' && firstOfLetter) wOrdinal = sectionCount;
  if (letter == 'A') dataStarted = true;
}

void CLasChecker::CState::TakeHeaderItem(const CLasRecord& record) {
  const CLasHeaderLine& item = record.item;
  const std::uint64_t line = record.line.number;
  if (!item.HasDot()) {
    report.Add(LasCode::DotMissing, line, record.text,
               "the line has no dot; every line of ~" + std::string(1, section) +
                   " other than a comment is MNEM.UNIT VALUE : DESCRIPTION, cut at its first dot");
    return;
  }
  if (!item.HasColonAfterDot()) {
    report.Add(
        LasCode::ColonMissing, line, record.text,
        "the line has no colon after the dot; the last colon separates the value from the description");
  } else if (!item.HasBlankBeforeColon()) {
    report.Add(
        LasCode::SpaceMissing, line, record.text,
        item.blank == CLasHeaderLine::npos || item.blank > item.colon
            ? "no space follows the units before the colon, so the units run into the value and the colon"
            : "no space follows the units; the first space after the dot ends the units");
  }
  if (item.mnemonic.empty()) {
    report.Add(LasCode::MnemonicInvalid, line, record.text, "no mnemonic stands before the dot");
  } else if (item.mnemonic.find_first_of(" \t:") != std::string_view::npos) {
    report.Add(
        LasCode::MnemonicInvalid, line, record.text,
        "the mnemonic " + Quoted(item.mnemonic) +
            (item.mnemonic.find(':') != std::string_view::npos
                 ? " holds a colon, which a mnemonic must not"
                 : " holds a space, which a mnemonic must not; the line's first dot ends the mnemonic, "
                   "so the dot after it may be missing"));
  }
  if (item.unit.find(':') != std::string_view::npos) {
    report.Add(LasCode::UnitInvalid, line, record.text,
               "the units " + Quoted(item.unit) + " hold a colon, which units must not");
  }

  const std::string mnemonic = ToUpperAscii(item.mnemonic);
  if (!mnemonic.empty()) {
    if (mnemonics.count(mnemonic) != 0) {
      report.Add(LasCode::MnemonicDuplicate, line, record.text,
                 "the mnemonic " + Quoted(item.mnemonic) + " is used twice in ~" + std::string(1, section) +
                     "; readers keep one of the two, or rename one",
                 SectionClause(section));
    } else if (mnemonics.size() < kMaxMnemonicsPerSection) {
      mnemonics.insert(mnemonic);
    }
  }

  if (!firstOfLetter) return;
  CItem* target = nullptr;
  if (section == 'V') {
    if (mnemonic == "VERS") target = &vers;
    if (mnemonic == "WRAP") target = &wrap;
  } else if (section == 'W') {
    for (std::size_t i = 0; i < kWellItems; ++i)
      if (mnemonic == kWellNames[i]) target = &well[i];
  }
  if (target == nullptr || target->present) return;
  target->present = true;
  target->line = line;
  target->text.assign(record.text.substr(0, CLasReport::kMaxText));
  target->unit.assign(item.unit.substr(0, CLasReport::kMaxText));
  target->value.assign(item.value.substr(0, CLasReport::kMaxText));
  if (target == &well[kNull]) {
    nullKnown = ParseHeaderNumber(*target, nullValue);
  }
}

void CLasChecker::CState::TakeRow(const CLasRecord& record, const CLasReader& reader) {
  if (++rows == 1) {
    const auto& curves = reader.Curves();
    timeIndex = !curves.empty() && ToUpperAscii(curves.front().mnemonic) == "TIME";
  }
  const std::uint64_t line = record.line.number;
  const std::size_t curves = reader.CurveCount();
  if (curves > 0 && record.valueCount != curves && report.Admit(LasCode::RowValueCount)) {
    report.List(LasCode::RowValueCount, line,
                record.text.empty() ? RowText(record) : std::string(record.text),
                "the row holds " + Plural(record.valueCount, "value", "values") + " but ~C describes " +
                    Plural(curves, "curve", "curves") + "; every row needs one value per curve");
  }
  if (reader.Wrapped()) {
    if (!record.rowLines.empty() && record.rowLines.front().values != 1) {
      report.Add(
          LasCode::WrapIndexNotAlone, line, RowText(record),
          "in wrapped data the index value stands alone on the first line of its row; this line holds " +
              Plural(record.rowLines.front().values, "value", "values"));
    }
    for (const CLasLineInfo& info : record.rowLines) {
      if (info.length + 2 > kMaxWrappedLine && report.Admit(LasCode::WrapLineTooLong)) {
        report.List(LasCode::WrapLineTooLong, info.number,
                    RowLineText(record, static_cast<std::size_t>(&info - record.rowLines.data())),
                    "the line is " + Number(info.length + 2) +
                        " characters long with its CR LF; wrapped data lines may be at most 80");
      }
    }
  }

  if (stats.size() < record.cells.size()) stats.resize(record.cells.size());
  for (std::size_t i = 0; i < record.cells.size(); ++i) {
    const CLasCell& cell = record.cells[i];
    CCurveStats& curve = stats[i];
    ++curve.values;
    if (cell.kind == LasCellKind::Text) {
      ++curve.unreadable;
      if (report.Admit(LasCode::ValueNotNumber)) {
        report.List(LasCode::ValueNotNumber, LineOfValue(record, i), cell.text,
                    "value " + Number(i + 1) +
                        " of the row is not a number; data values must be plain "
                        "floating-point or integer numbers");
      }
      continue;
    }
    if (!std::isfinite(cell.value)) {
      // Digits enough to pass any double: no reader holds the value; most read infinity.
      ++curve.unreadable;
      if (report.Admit(LasCode::ValueNotNumber)) {
        report.List(LasCode::ValueNotNumber, LineOfValue(record, i), cell.text,
                    "value " + Number(i + 1) +
                        " of the row is beyond the range of numbers a 64-bit float holds (about 1.8e308)");
      }
      continue;
    }
    if (cell.kind == LasCellKind::Exponent && report.Admit(LasCode::ValueExponent)) {
      report.List(LasCode::ValueExponent, LineOfValue(record, i), cell.text,
                  "value " + Number(i + 1) +
                      " of the row is written with an exponent, which the standard "
                      "does not support; change the units instead");
    }
    if (nullKnown && cell.value == nullValue) {
      ++curve.nulls;
      if (i > 0) ++nullUses;
      continue;
    }
    if (i == 0) continue;
    for (std::size_t k = 0; k < kCommonNulls.size(); ++k) {
      if (cell.value == kCommonNulls[k] && commonUses[k]++ == 0) commonFirstLine[k] = LineOfValue(record, i);
    }
  }

  if (!record.cells.empty()) {
    TakeIndex(record, record.cells.front(), timeIndex);
  }
}

void CLasChecker::CState::TakeIndex(const CLasRecord& record, const CLasCell& cell, bool isTime) {
  if (cell.kind == LasCellKind::Text || !std::isfinite(cell.value)) return;  // reported as a value
  const std::uint64_t line = record.line.number;
  if (nullKnown && cell.value == nullValue) {
    report.Add(
        LasCode::IndexNull, line, cell.text,
        "the index value is the null value " + well[kNull].value + "; every row needs a real index value");
    return;
  }
  CIndexValue value;
  value.text.assign(cell.text.substr(0, CLasReport::kMaxText));
  value.number = cell.value;
  value.line = line;
  CLasDecimal exact;
  if (cell.kind == LasCellKind::Number && CLasDecimal::Parse(cell.text, exact))
    value.exact = exact;
  else
    indexExact = false;

  if (!firstIndex) {
    firstIndex = value;
    lastIndex = std::move(value);
    return;
  }
  const CIndexValue& previous = *lastIndex;
  int order = 0;
  if (value.exact && previous.exact)
    order = CLasDecimal::Compare(*value.exact, *previous.exact);
  else
    order = value.number < previous.number ? -1 : (value.number > previous.number ? 1 : 0);

  if (order == 0) {
    report.Add(LasCode::IndexNotMonotonic, line, cell.text,
               "the index value " + value.text + " repeats the one of line " + Number(previous.line) +
                   "; the index must rise or fall at every row");
  } else if (direction == 0) {
    direction = order;
    if (isTime && order < 0) {
      report.Add(LasCode::IndexNotMonotonic, line, cell.text,
                 "the time index falls from " + previous.text + " to " + value.text +
                     "; successive time values must increase");
    }
  } else if (order != direction) {
    report.Add(LasCode::IndexNotMonotonic, line, cell.text,
               "the index turns back from " + previous.text + " (line " + Number(previous.line) + ") to " +
                   value.text + "; a file holds one continuous interval in one direction",
               "3.0");
  }

  if (indexExact && value.exact && previous.exact) {
    const CLasDecimal step = CLasDecimal::Difference(*value.exact, *previous.exact);
    if (!increment) {
      increment = step;
    } else if (irregularLine == 0 && !(step == *increment)) {
      irregularLine = line;
      irregularIncrement = step;
    }
  }
  lastIndex = std::move(value);
}

void CLasChecker::Finish(const CLasReader& reader, bool complete) {
  CState& s = *m_state;
  s.report.complete = complete;
  if (complete) {
    s.FlushBlanks(false);
    s.CheckCtrlZ(reader);
    s.CheckEnd(reader);
  }
  s.FillSummary(reader);
  s.report.SortFindings();
}

void CLasChecker::CState::CheckEnd(const CLasReader& reader) {
  const std::uint64_t lastLine = reader.LinesRead();
  if (lastLine == 0) {
    report.Add(LasCode::FileEmpty, 0, "",
               "the file holds nothing; a LAS file holds at least ~V, ~W, ~C and ~A");
    return;
  }
  const std::uint64_t dataLine = firstLineOf[static_cast<unsigned char>('A')];
  const auto lineOf = [&](char letter) { return firstLineOf[static_cast<unsigned char>(letter)]; };
  if (lineOf('V') == 0)
    report.Add(LasCode::SectionMissing, 1, "~V",
               "the file has no ~V section; it is required and must be the first section", "5.3");
  if (lineOf('W') == 0)
    report.Add(LasCode::SectionMissing, dataLine != 0 ? dataLine : lastLine, "~W",
               "the file has no ~W section; it is required and holds STRT, STOP, STEP, NULL and the well's "
               "identity",
               "5.4");
  if (lineOf('C') == 0)
    report.Add(LasCode::SectionMissing, dataLine != 0 ? dataLine : lastLine, "~C",
               "the file has no ~C section; it is required and names the curves of the data", "5.5");
  if (dataLine == 0)
    report.Add(LasCode::SectionMissing, lastLine, "~A",
               "the file has no ~A section; it is required and holds the data, as the last section", "5.8");
  const bool vFirst = !report.summary.sections.empty() && report.summary.sections.front().letter == 'V';
  if (vFirst && lineOf('W') != 0 && wOrdinal != 2) {
    report.Add(
        LasCode::WNotSecond, lineOf('W'), "~W",
        "~W is section " + Number(wOrdinal) + " of the file; it is preferably the second, right after ~V");
  }
  if (rowLinesDropped) {
    report.Add(LasCode::CheckLimit, dataLine, "",
               "a wrapped row spreads over more than " + Number(CLasReader::kMaxRowLines) +
                   " lines; the lines past that were not checked for characters and length");
  }

  CheckVersion();
  CheckWell(reader);
  CheckIndexAgainstWell(reader);

  if (dataLine != 0 && rows == 0) {
    report.Add(LasCode::DataEmpty, dataLine, "~A",
               "the ~A section holds no data row; STRT and STOP cannot match any depth");
  }
  if (lfLines > 0) {
    report.Add(LasCode::LineEndNotCrLf, firstLfLine, "",
               (lfLines == 1 ? std::string("this line ends")
                             : "this line and " + Plural(lfLines - 1, "other", "others") + " end") +
                   " with a line feed alone; LAS lines end with CR LF (most readers accept both)");
  }
}

// The reader takes a Ctrl-Z for the end of the text, as the programs of the systems
// that wrote such marks did. Readers that go on past it see whatever follows, and
// the mark itself as a character that LAS does not allow.
void CLasChecker::CState::CheckCtrlZ(const CLasReader& reader) {
  if (!reader.StoppedAtCtrlZ()) return;
  const std::uint64_t at = reader.BytesRead();
  const std::uint64_t after = reader.Size() > at ? reader.Size() - at - 1 : 0;
  const std::string mark = "a Ctrl-Z byte (0x1A) in column " + Number(reader.CtrlZColumn());
  if (after == 0) {
    report.Add(LasCode::CtrlZAtEnd, reader.CtrlZLine(), "",
               mark +
                   " is the last byte of the file, the end-of-text mark of older systems; most "
                   "readers drop it, some take it for a stray character");
  } else {
    report.Add(LasCode::TextAfterCtrlZ, reader.CtrlZLine(), "",
               mark + " ends the text here, and the " + Plural(after, "byte", "bytes") +
                   " after it are not checked; other LAS readers may read on past it and see them");
  }
}

void CLasChecker::CState::CheckVersion() {
  const std::uint64_t vLine = firstLineOf[static_cast<unsigned char>('V')];
  if (vLine == 0) return;
  if (!vers.present)
    report.Add(LasCode::VItemMissing, vLine, "VERS",
               "the ~V section has no VERS line; it must hold \"VERS. 2.0 : CWLS LOG ASCII STANDARD - "
               "VERSION 2.0\"");
  if (!wrap.present)
    report.Add(LasCode::VItemMissing, vLine, "WRAP",
               "the ~V section has no WRAP line; it must say WRAP. YES or WRAP. NO");
  if (vers.present) {
    double version = 0;
    if (!ParseHeaderNumber(vers, version)) {
      report.Add(LasCode::VersInvalid, vers.line, vers.text,
                 "VERS holds " + Quoted(vers.value) + ", not a version number; a LAS 2.0 file says 2.0");
    } else if (version == 1.2) {
      report.Add(LasCode::Vers12, vers.line, vers.text,
                 "the file declares LAS 1.2; it is checked by the LAS 2.0 rules, and what it breaks of them "
                 "is what it would have to change to be a LAS 2.0 file");
    } else if (version != 2.0) {
      report.Add(
          LasCode::VersInvalid, vers.line, vers.text,
          "VERS is " + vers.value + "; this check knows LAS 2.0 (and 1.2), and a LAS 2.0 file says 2.0");
    }
  }
  if (wrap.present) {
    const std::string value = ToUpperAscii(wrap.value);
    if (value != "YES" && value != "NO")
      report.Add(LasCode::WrapInvalid, wrap.line, wrap.text,
                 "WRAP holds " + Quoted(wrap.value) + "; it must be YES or NO");
  }
}

void CLasChecker::CState::CheckWell(const CLasReader& reader) {
  const std::uint64_t wLine = firstLineOf[static_cast<unsigned char>('W')];
  if (wLine == 0) return;
  const auto missing = [&](std::string_view name, std::string reason) {
    report.Add(LasCode::WItemMissing, wLine, name, std::move(reason));
  };
  const auto present = [&](std::string_view name) {
    for (std::size_t i = 0; i < kWellItems; ++i)
      if (kWellNames[i] == name) return well[i].present;
    return false;
  };
  for (const CRequiredWellItem& item : RequiredWellItems()) {
    std::vector<std::string_view> standIns;
    for (std::string_view standIn : item.standIns)
      if (!standIn.empty()) standIns.push_back(standIn);
    if (present(item.mnemonic) || std::any_of(standIns.begin(), standIns.end(), present)) continue;
    const std::string name(item.mnemonic);
    if (standIns.empty()) {
      missing(name, "the ~W section has no " + name + " line (" + std::string(item.describes) +
                        "); it is required");
      continue;
    }
    std::string others;
    for (std::size_t i = 0; i < standIns.size(); ++i) {
      if (i > 0) others += i + 1 == standIns.size() ? " or " : ", ";
      others += standIns[i];
    }
    std::string reason = "the ~W section has no " + name;
    reason += " line, nor ";
    reason += others;
    reason += " in its place; one is required";
    missing(name, reason);
  }

  // A required line that is there but says nothing (a template line left blank), for
  // every line that could stand for the item.
  for (const CRequiredWellItem& item : RequiredWellItems()) {
    if (IsNumericWellItem(item)) continue;  // W_VALUE_NOT_NUMBER speaks for them
    const CItem* first = nullptr;
    bool valued = false;
    for (std::size_t i = 0; i < kWellItems; ++i) {
      if (!well[i].present || !SatisfiesWellItem(item, kWellNames[i])) continue;
      if (first == nullptr || well[i].line < first->line) first = &well[i];
      valued = valued || !TrimBlanks(well[i].value).empty();
    }
    if (first == nullptr || valued) continue;
    report.Add(LasCode::WItemEmpty, first->line, first->text,
               "the " + std::string(item.mnemonic) + " line has no value (" + std::string(item.describes) +
                   "); the standard requires one");
  }

  for (int i : {kStrt, kStop, kStep, kNull}) {
    const CItem& item = well[static_cast<std::size_t>(i)];
    if (!item.present) continue;
    double value = 0;
    const LasCellKind kind = ReadLasCell(item.value, value);
    if (kind == LasCellKind::Number && std::isfinite(value)) continue;
    const std::string name(kWellNames[static_cast<std::size_t>(i)]);
    std::string reason;
    if (kind != LasCellKind::Text && !std::isfinite(value)) {
      reason = name + " holds " + Quoted(item.value) +
               ", a number beyond the range a 64-bit float holds (about 1.8e308); no reader can hold it";
    } else if (item.value.empty() && ReadLasCell(item.unit, value) != LasCellKind::Text) {
      reason = name + " has no value: " + Quoted(item.unit) +
               " stands right after the dot, where the units go; a space must separate units and value";
    } else if (kind == LasCellKind::Exponent) {
      reason =
          name + " holds " + Quoted(item.value) + ", a number with an exponent; it must be a plain number";
    } else {
      reason = name + " holds " + Quoted(item.value) + ", which is not a number; it must be one";
    }
    report.Add(LasCode::WValueNotNumber, item.line, item.text, std::move(reason));
  }

  // Units of the index: on the curve line and on STRT, STOP and STEP.
  const auto& curves = reader.Curves();
  const std::uint64_t cLine = firstLineOf[static_cast<unsigned char>('C')];
  if (cLine != 0 && reader.CurveCount() == 0) {
    report.Add(LasCode::CurvesNone, cLine, "~C",
               "the ~C section describes no curve; its first curve is the index of the data");
  }
  if (reader.CurveCount() > CLasReader::kMaxCurves) {
    report.Add(LasCode::CheckLimit, cLine, "",
               "~C describes " + Number(reader.CurveCount()) + " curves; only the first " +
                   Number(CLasReader::kMaxCurves) + " are summarised and checked value by value");
  }
  if (curves.empty()) return;
  const CLasCurve& index = curves.front();
  const std::string name = ToUpperAscii(index.mnemonic);
  const bool depth = name == "DEPT" || name == "DEPTH";
  if (name == "INDEX") {
    report.Add(
        LasCode::IndexNamedIndex, index.line, index.mnemonic,
        "the index curve is named INDEX, as in the standard's own examples, though its text names only "
        "DEPT, DEPTH and TIME");
  } else if (!depth && name != "TIME") {
    report.Add(LasCode::IndexMnemonic, index.line, index.mnemonic,
               "the first curve, " + Quoted(index.mnemonic) +
                   ", is the index of the data and must be named DEPT, DEPTH or TIME");
  }
  const std::string unit = ToUpperAscii(index.unit);
  if (depth && !IsOneOf(unit, {"M", "F", "FT"})) {
    report.Add(LasCode::DepthUnitInvalid, index.line, index.unit,
               "the depth index is in " +
                   (index.unit.empty() ? std::string("no units") : Quoted(index.unit)) +
                   "; depth units must be M, F or FT");
  }
  for (int i : {kStrt, kStop, kStep}) {
    const CItem& item = well[static_cast<std::size_t>(i)];
    if (!item.present || ToUpperAscii(item.unit) == unit) continue;
    report.Add(LasCode::IndexUnitMismatch, item.line, item.text,
               std::string(kWellNames[static_cast<std::size_t>(i)]) + " is in " +
                   (item.unit.empty() ? std::string("no units") : Quoted(item.unit)) + " but the index " +
                   index.mnemonic.substr(0, 60) + " (line " + Number(index.line) + ") is in " +
                   (index.unit.empty() ? std::string("none") : Quoted(index.unit)) +
                   "; they must be the same");
  }
}

void CLasChecker::CState::CheckIndexAgainstWell(const CLasReader& reader) {
  const CItem& strt = well[kStrt];
  const CItem& stop = well[kStop];
  const CItem& step = well[kStep];
  CLasDecimal strtValue, stopValue, stepValue;
  const bool strtExact = strt.present && CLasDecimal::Parse(strt.value, strtValue);
  const bool stopExact = stop.present && CLasDecimal::Parse(stop.value, stopValue);
  const bool stepExact = step.present && CLasDecimal::Parse(step.value, stepValue);

  // A depth divided by the step must be a whole number. With the spacing equal to STEP
  // (checked below) STRT and STOP stand for every index value.
  const auto wholeMultiple = [&](const CItem& item, bool exact, const CLasDecimal& value) {
    if (!exact || !stepExact || stepValue.IsZero() || CLasDecimal::IsWholeMultiple(value, stepValue)) return;
    report.Add(LasCode::NotMultipleOfStep, item.line, item.text,
               std::string(&item == &strt ? "STRT " : "STOP ") + item.value + " divided by STEP " +
                   step.value + " is not a whole number; it must be");
  };
  wholeMultiple(strt, strtExact, strtValue);
  wholeMultiple(stop, stopExact, stopValue);

  if (!firstIndex) return;
  const auto sameValue = [](const CItem& item, bool exact, const CLasDecimal& decimal,
                            const CIndexValue& index) {
    if (exact && index.exact) return decimal == *index.exact;
    double value = 0;
    return ParseHeaderNumber(item, value) && value == index.number;
  };
  if (strt.present && IsPlainNumber(strt.value) && !sameValue(strt, strtExact, strtValue, *firstIndex)) {
    report.Add(LasCode::StrtMismatch, strt.line, strt.text,
               "STRT is " + strt.value + " but the first index value is " + firstIndex->text + " (line " +
                   Number(firstIndex->line) + "); they must be the same value");
  }
  if (stop.present && IsPlainNumber(stop.value) && !sameValue(stop, stopExact, stopValue, *lastIndex)) {
    report.Add(LasCode::StopMismatch, stop.line, stop.text,
               "STOP is " + stop.value + " but the last index value is " + lastIndex->text + " (line " +
                   Number(lastIndex->line) + "); they must be the same value");
  }
  if (stepExact && indexExact && increment) {
    if (irregularLine == 0 && !(stepValue == *increment)) {
      report.Add(LasCode::StepMismatch, step.line, step.text,
                 "STEP is " + step.value + " but every index value differs from the one before by " +
                     increment->ToString() + "; STEP must be that difference");
    } else if (irregularLine != 0 && !stepValue.IsZero()) {
      report.Add(LasCode::StepMismatch, step.line, step.text,
                 "STEP is " + step.value + " but the index spacing changes from " + increment->ToString() +
                     " to " + irregularIncrement->ToString() + " at line " + Number(irregularLine) +
                     "; with irregular spacing STEP must be 0");
    }
  }

  if (nullKnown && nullUses == 0) {
    for (std::size_t k = 0; k < kCommonNulls.size(); ++k) {
      if (commonUses[k] == 0 || kCommonNulls[k] == nullValue) continue;
      const CItem& null = well[kNull];
      report.Add(LasCode::NullUnused, null.line, null.text,
                 "NULL is " + null.value + ", which no data value uses, while " +
                     std::string(kCommonNullTexts[k]) + " occurs " + Plural(commonUses[k], "time", "times") +
                     " (first on line " + Number(commonFirstLine[k]) +
                     "); readers will take those for real readings");
      break;
    }
  }
  const auto& curves = reader.Curves();
  for (std::size_t i = 1; i < curves.size() && i < stats.size(); ++i) {
    if (stats[i].values == 0 || stats[i].nulls != stats[i].values) continue;
    report.Add(LasCode::CurveAllNull, curves[i].line, curves[i].mnemonic,
               "every value of " + Quoted(curves[i].mnemonic) + " is the null value " + well[kNull].value +
                   ", in all " + Plural(stats[i].values, "row", "rows") + "; the curve carries no data");
  }
}

void CLasChecker::CState::FillSummary(const CLasReader& reader) {
  CLasSummary& summary = report.summary;
  summary.version = vers.value;
  summary.wrap = wrap.value;
  summary.nullValue = well[kNull].value;
  summary.rows = rows;
  summary.lines = reader.LinesRead();
  summary.bytes = reader.BytesRead();
  const auto& curves = reader.Curves();
  summary.curves.clear();
  for (std::size_t i = 0; i < curves.size(); ++i) {
    CLasCurveSummary curve;
    curve.mnemonic = curves[i].mnemonic.substr(0, CLasReport::kMaxText);
    curve.unit = curves[i].unit.substr(0, CLasReport::kMaxText);
    curve.line = curves[i].line;
    if (i < stats.size()) {
      curve.values = stats[i].values;
      curve.nulls = stats[i].nulls;
      curve.unreadable = stats[i].unreadable;
    }
    curve.missing = rows > curve.values ? rows - curve.values : 0;
    summary.curves.push_back(std::move(curve));
  }
  summary.curvesDropped = reader.CurveCount() - curves.size();
  summary.hasIndex = firstIndex.has_value();
  if (firstIndex) {
    if (!curves.empty()) {
      summary.indexMnemonic = curves.front().mnemonic;
      summary.indexUnit = curves.front().unit;
    }
    summary.firstIndex = firstIndex->text;
    summary.firstIndexLine = firstIndex->line;
    summary.lastIndex = lastIndex->text;
    summary.lastIndexLine = lastIndex->line;
  }
}

CLasReport CheckLasFile(const std::string& path) {
  CNullProgress silent;
  return CheckLasFile(path, silent);
}

CLasReport CheckLasFile(const std::string& path, CJobProgress& progress,
                        const std::function<void(const CLasRecord&)>& onRecord) {
  // A look at the display every so many bytes: often enough for a prompt cancel, rarely
  // enough to cost nothing beside the rules.
  constexpr std::uint64_t kPollBytes = 256 * 1024;
  CLasReport report;
  report.path = path;
  CLasReader reader;
  try {
    reader.Open(path);
  } catch (const CFileError& e) {
    report.Add(LasCode::FileUnreadable, 0, "", std::string("the file cannot be opened: ") + e.what());
    report.complete = false;
    return report;
  }
  // Byte by byte such a file would give an error for nearly every character.
  if (const auto form = ForeignTextFormOf(path)) {
    report.Add(LasCode::FileUnreadable, 1, "", "the file cannot be read as LAS: " + *form);
    report.complete = false;
    return report;
  }
  std::int32_t cancelFlag = 0;
  const CProgressScope shown(progress, kLasCheckTitle, cancelFlag);
  CLineProgressText lineText;
  std::uint64_t nextPoll = 0;  // the first record looks at once
  CLasChecker checker(report);
  CLasRecord record;
  bool complete = true;
  try {
    while (reader.Next(record)) {
      checker.Take(record, reader);
      if (onRecord) onRecord(record);
      if (reader.BytesRead() < nextPoll) continue;
      nextPoll = reader.BytesRead() + kPollBytes;
      progress.SetLineText(lineText.Line(static_cast<long>(record.line.number)));
      progress.SetPercent(CLineProgressText::Percent(reader.BytesRead(), reader.Size()));
      if (progress.PollCancel()) {
        complete = false;
        report.cancelled = true;
        break;
      }
    }
  } catch (const CFileError& e) {
    complete = false;
    if (e.Cause() == EFBIG) {
      report.Add(LasCode::LineTooLong, reader.LinesRead() + 1, "",
                 "the line is longer than 16 MiB, which no LAS file needs; the check stops here");
    } else {
      report.Add(LasCode::FileUnreadable, reader.LinesRead() + 1, "",
                 std::string("the file cannot be read past this line: ") + e.what());
    }
  }
  // A file cut or written to meanwhile was checked in no single version of it.
  if (const std::string change = reader.ChangeSinceOpen(); !change.empty()) {
    complete = false;
    report.Add(LasCode::FileUnreadable, reader.LinesRead(), "",
               "the file changed while it was checked (" + change +
                   "); the findings are of no single version of it: check it again once it is written");
  }
  checker.Finish(reader, complete);
  return report;
}

}  // namespace corvane
