// Reading LAS files: header lines cut at their delimiters, exact decimals, data cells,
// and the records of a file (wrapped rows gathered across lines, line facts).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "LasTestFiles.h"
#include "lasfile/LasDecimal.h"
#include "lasfile/LasHeaderLine.h"
#include "lasfile/LasReader.h"
#include "platform/NumberFormat.h"

namespace corvane {
namespace {

TEST(LasHeaderLineTest, CutsAtFirstDotFirstBlankAfterItAndLastColon) {
  struct CCase {
    const char* line;
    const char* mnemonic;
    const char* unit;
    const char* value;
    const char* description;
    bool complete;
  };
  const CCase cases[] = {
      {" STRT.M        1670.0000 : START DEPTH", "STRT", "M", "1670.0000", "START DEPTH", true},
      {"DEPT .M : 1 DEPTH\r\n", "DEPT", "M", "", "1 DEPTH", true},
      {" PEF .                   : 14 PhotoElectric Factor", "PEF", "", "", "14 PhotoElectric Factor", true},
      {" DATE.  13:00 on 1.1.2020 : LOGGED AT", "DATE", "", "13:00 on 1.1.2020", "LOGGED AT", true},
      {" BHT .DEGC\t35.5 :T", "BHT", "DEGC", "35.5", "T", true},
      {"  RHOB  .K/M3   45 350 : : DENSITY", "RHOB", "K/M3", "45 350 :", "DENSITY", true},
      {" DEPT.M: 1 DEPTH", "DEPT", "M", "", "1 DEPTH", false},  // the units run into the colon
      {" NULL.-999.25", "NULL", "-999.25", "", "", false},
      {" COMP  ANY OIL : COMPANY", "COMP  ANY OIL", "", "", "COMPANY", false},
      {"Version 2.00", "Version 2", "00", "", "", false},
      {"", "", "", "", "", false},
      // The lines the plot's header tables are read from.
      {" DEPT   .M                 :  1  DEPTH", "DEPT", "M", "", "1  DEPTH", true},
      {"NULL    .    -999.25      :NULL VALUE", "NULL", "", "-999.25", "NULL VALUE", true},
      {" RHOB .K/M3  45 350 01 00 : BULK DENSITY", "RHOB", "K/M3", "45 350 01 00", "BULK DENSITY", true},
      {"TIME.   12:30:00 : TIME OF DAY", "TIME", "", "12:30:00", "TIME OF DAY", true},
      {"COMP.   ANY OIL CO. INC. : COMPANY", "COMP", "", "ANY OIL CO. INC.", "COMPANY", true},
      {"\tGR\t.GAPI\t45 310\t: Gamma\r\n", "GR", "GAPI", "45 310", "Gamma", true},
      {"UNIT.M", "UNIT", "M", "", "", false},
      // The first dot after the last colon: cut as it stands (the plot's tables take the
      // line as "MNEM : description" instead).
      {"MNEM : a note. More", "MNEM : a note", "", "More", "", false},
  };
  for (const CCase& c : cases) {
    const CLasHeaderLine item = ParseLasHeaderLine(c.line);
    EXPECT_EQ(item.mnemonic, c.mnemonic) << c.line;
    EXPECT_EQ(item.unit, c.unit) << c.line;
    EXPECT_EQ(item.value, c.value) << c.line;
    EXPECT_EQ(item.description, c.description) << c.line;
    EXPECT_EQ(item.HasAllDelimiters(), c.complete) << c.line;
  }
  const CLasHeaderLine item = ParseLasHeaderLine(" STRT.M  10 : A");
  EXPECT_EQ(item.dot, 5u);
  EXPECT_EQ(item.blank, 7u);
  EXPECT_EQ(item.colon, 12u);
}

TEST(LasDecimalTest, ExactArithmeticOnWrittenDecimals) {
  const auto d = [](const char* text) {
    CLasDecimal value;
    EXPECT_TRUE(CLasDecimal::Parse(text, value)) << text;
    return value;
  };
  EXPECT_EQ(d("123.45"), d("+123.45000"));
  EXPECT_EQ(d("-0.0"), d("0"));
  EXPECT_EQ(d(".5"), d("0.50"));
  EXPECT_EQ(CLasDecimal::Difference(d("1000.1"), d("1000.0")), d("0.1"));  // not 0.10000000000002274
  EXPECT_EQ(CLasDecimal::Difference(d("1669.875"), d("1670")).ToString(), "-0.125");
  EXPECT_EQ(CLasDecimal::Compare(d("-2.5"), d("-2.49")), -1);
  EXPECT_TRUE(CLasDecimal::IsWholeMultiple(d("1670"), d("-0.125")));
  EXPECT_TRUE(CLasDecimal::IsWholeMultiple(d("0.3"), d("0.1")));
  EXPECT_FALSE(CLasDecimal::IsWholeMultiple(d("1670.0625"), d("0.125")));
  EXPECT_FALSE(CLasDecimal::IsWholeMultiple(d("1"), d("0")));
  EXPECT_EQ(d("123456789012345678").ToString(), "123456789012345678");
  EXPECT_EQ(d("0.000000000000000001").ToString(), "0.000000000000000001");
  CLasDecimal out;
  for (const char* bad :
       {"", "-", ".", "1e5", "1.2.3", " 1", "1,5", "1234567890123456789", "1.0000000000000000001"})
    EXPECT_FALSE(CLasDecimal::Parse(bad, out)) << bad;
}

TEST(LasCellTest, KindsAndValuesAgreeWithScanDouble) {
  double value = 0;
  EXPECT_EQ(ReadLasCell("-999.25", value), LasCellKind::Number);
  EXPECT_EQ(value, -999.25);
  EXPECT_EQ(ReadLasCell("1.5E+02", value), LasCellKind::Exponent);
  EXPECT_EQ(value, 150.0);
  for (const char* text : {"n/a", "1,5", "1.2.3", "-", "1e", "1e+", "nan", "inf", "0x10", "12abc", ""}) {
    EXPECT_EQ(ReadLasCell(text, value), LasCellKind::Text) << text;
    EXPECT_TRUE(std::isnan(value)) << text;
  }
  // The quick path for short numbers gives exactly what ScanDouble gives.
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    std::string text = (random() % 3 == 0) ? "-" : "";
    const int digits = 1 + static_cast<int>(random() % 19);
    const int point = static_cast<int>(random() % (digits + 1));
    for (int k = 0; k < digits; ++k) {
      if (k == point) text += '.';
      text += static_cast<char>('0' + random() % 10);
    }
    double expected = 0;
    ASSERT_TRUE(ScanDouble(text, expected));
    ASSERT_EQ(ReadLasCell(text, value), LasCellKind::Number) << text;
    ASSERT_EQ(value, expected) << text;
    ASSERT_EQ(std::signbit(value), std::signbit(expected)) << text;
  }
}

// What the reader makes of a file, one record per line (wrapped rows as one).
std::vector<std::string> Records(const std::string& bytes, CLasReader& reader) {
  test::CScratchDir dir;
  test::WriteBytes(dir.File("r.las"), bytes);
  reader.Open(dir.File("r.las"));
  std::vector<std::string> out;
  CLasRecord record;
  const char* const kinds[] = {"title", "item", "comment", "blank", "text", "row"};
  while (reader.Next(record)) {
    std::string line = std::to_string(record.line.number) + " " + kinds[static_cast<int>(record.kind)] + " " +
                       (record.section == 0 ? '-' : record.section);
    if (record.kind == LasRecordKind::HeaderItem) line += " " + std::string(record.item.mnemonic);
    if (record.kind == LasRecordKind::DataRow) {
      line += " [";
      for (const CLasLineInfo& info : record.rowLines) line += std::to_string(info.number) + ",";
      line += "]";
      for (const CLasCell& cell : record.cells) line += " " + std::string(cell.text);
      if (record.valueCount != record.cells.size()) line += " +" + std::to_string(record.valueCount);
    }
    out.push_back(line);
  }
  return out;
}

// A wrapped file whose rows are interrupted by a blank and a comment line.
const std::string kWrappedBytes =
    "# exported\r\n"
    "~Version\r\n"
    " VERS. 2.0 : V\r\n"
    " WRAP. YES : W\r\n"
    "~Curves\r\n"
    " DEPT.M : depth\r\n"
    " GR  .GAPI : gamma\r\n"
    " SP  .MV : sp\r\n"
    "~Other\r\n"
    "free text\r\n"
    "~A\r\n"
    "100.0\r\n"
    "  1 2\r\n"
    "100.5\r\n"
    "\r\n"
    "  3\r\n"
    "#c\r\n"
    "  4\r\n"
    "101.0\r\n"
    "  5\r\n"
    "~X\r\n"
    "6 7";

TEST(LasReaderTest, RecordsOfAWrappedFile) {
  CLasReader reader;
  const std::vector<std::string> expected = {"1 comment -",
                                             "2 title V",
                                             "3 item V VERS",
                                             "4 item V WRAP",
                                             "5 title C",
                                             "6 item C DEPT",
                                             "7 item C GR",
                                             "8 item C SP",
                                             "9 title O",
                                             "10 text O",
                                             "11 title A",
                                             "12 row A [12,13,] 100.0 1 2",
                                             "15 blank A",
                                             "17 comment A",
                                             "14 row A [14,16,18,] 100.5 3 4",
                                             "19 row A [19,20,] 101.0 5",
                                             "21 title X",
                                             "22 text X"};
  EXPECT_EQ(Records(kWrappedBytes, reader), expected);
  EXPECT_TRUE(reader.Wrapped());
  ASSERT_EQ(reader.Curves().size(), 3u);
  EXPECT_EQ(reader.Curves()[1].mnemonic, "GR");
  EXPECT_EQ(reader.Curves()[1].unit, "GAPI");
  EXPECT_EQ(reader.Curves()[1].line, 7u);
}

TEST(LasReaderTest, DataReadAgainFromARowsOffset) {
  test::CScratchDir dir;
  test::WriteBytes(dir.File("w.las"), kWrappedBytes);
  CLasReader reader;
  reader.Open(dir.File("w.las"));
  CLasRecord record;
  std::vector<std::uint64_t> lineStarts = {0};
  for (std::size_t i = 0; i < kWrappedBytes.size(); ++i)
    if (kWrappedBytes[i] == '\n') lineStarts.push_back(i + 1);
  std::vector<std::pair<std::uint64_t, std::uint64_t>> rows;  // line, offset
  while (reader.Next(record)) {
    EXPECT_EQ(record.line.offset, lineStarts[record.line.number - 1]) << record.line.number;
    for (const CLasLineInfo& info : record.rowLines) EXPECT_EQ(info.offset, lineStarts[info.number - 1]);
    if (record.kind == LasRecordKind::DataRow) rows.emplace_back(record.line.number, record.line.offset);
  }
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].second, kWrappedBytes.find("100.5"));
  // From the second row on, as the first pass read it, up to the next section.
  reader.OpenData(dir.File("w.las"), rows[1].second, rows[1].first - 1, true, 3);
  std::vector<std::string> again;
  while (reader.Next(record)) {
    std::string line =
        std::to_string(record.line.number) + (record.kind == LasRecordKind::DataRow ? " row" : " -");
    if (record.kind == LasRecordKind::DataRow)
      for (const CLasCell& cell : record.cells) line += " " + std::string(cell.text);
    again.push_back(line);
    if (record.kind == LasRecordKind::SectionTitle) break;
  }
  EXPECT_EQ(again, (std::vector<std::string>{"15 -", "17 -", "14 row 100.5 3 4", "19 row 101.0 5", "21 -"}));
}

TEST(LasReaderTest, LineFactsAndCells) {
  test::CScratchDir dir;
  test::WriteBytes(dir.File("f.las"),
                   "~V\r\n VERS. 2.0 : x\n~C\r\n DEPT.M : d\r\n X.U : x\r\n~A\r\n1\t2e3 \xB0z\r\n3 4 5");
  CLasReader reader;
  reader.Open(dir.File("f.las"));
  CLasRecord record;
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record.line.end, LasLineEnd::CrLf);
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record.line.end, LasLineEnd::Lf);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(reader.Next(record));
  ASSERT_EQ(record.kind, LasRecordKind::DataRow);
  EXPECT_EQ(record.line.number, 7u);
  EXPECT_EQ(record.line.badChars, 2u);  // the tab and 0xB0
  EXPECT_EQ(record.line.badColumn, 2u);
  EXPECT_EQ(record.line.badChar, '\t');
  EXPECT_EQ(record.valueCount, 3u);
  ASSERT_EQ(record.cells.size(), 2u);  // kept: one per curve
  EXPECT_EQ(record.cells[0].kind, LasCellKind::Number);
  EXPECT_EQ(record.cells[1].kind, LasCellKind::Exponent);
  EXPECT_EQ(record.cells[1].value, 2000.0);
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record.line.end, LasLineEnd::None);
  EXPECT_EQ(record.valueCount, 3u);
  EXPECT_FALSE(reader.Next(record));
}

}  // namespace
}  // namespace corvane
