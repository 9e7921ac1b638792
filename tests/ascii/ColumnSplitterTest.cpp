#include "ascii/ColumnSplitter.h"

#include <gtest/gtest.h>

#include <random>

using namespace corvane;
using V = std::vector<std::string>;

namespace {

V Split(std::string_view line, int fixedWidth, int skipWidth, int limit, std::string_view set,
        std::string_view suffix = "") {
  V columns;
  SplitColumns(line, columns, fixedWidth, skipWidth, limit, set, suffix);
  return columns;
}

}  // namespace

TEST(DelimiterSet, NamesAreExactAndCaseSensitive) {
  EXPECT_EQ(GetDelimiterSet("space"), " ");
  EXPECT_EQ(GetDelimiterSet("tab"), "\t");
  EXPECT_EQ(GetDelimiterSet(":,"), ":,");
  EXPECT_EQ(GetDelimiterSet(""), "");
  EXPECT_EQ(GetDelimiterSet("Space"), "Space");
  EXPECT_EQ(GetDelimiterSet("TAB"), "TAB");
  EXPECT_EQ(GetDelimiterSet(" space"), " space");
}

TEST(SplitColumns, CuttingAtDelimiters) {
  EXPECT_EQ(Split("  12.5   3.4", 0, 0, -1, " "), (V{"12.5", "3.4"}));
  EXPECT_EQ(Split("1.0,2.0,3.0", 0, 0, -1, ","), (V{"1.0", "2.0", "3.0"}));
  EXPECT_EQ(Split("1.0, 2.0", 0, 0, -1, ","), (V{"1.0", "2.0"}));
  EXPECT_EQ(Split("1,,3", 0, 0, 3, ","), (V{"1", "", "3"}));
  EXPECT_EQ(Split("1,,3", 0, 0, -1, ","), (V{"1", "", "3"}));
  EXPECT_EQ(Split("1.0 2.0", 0, 0, 4, " "), (V{"1.0", "2.0", "", ""}));
  EXPECT_EQ(Split("1 2 3 4 5", 0, 0, 3, " "), (V{"1", "2", "3"}));
  // Line ends are blanks: they yield no column of their own with the blank set.
  EXPECT_EQ(Split("1\t2 \r\n", 0, 0, -1, " "), (V{"1\t2"}));
  EXPECT_EQ(Split("1\t\t2\r\n", 0, 0, -1, "\t"), (V{"1", "2  "}));
  // An empty set: the whole rest of the line, its line end included, is one column.
  EXPECT_EQ(Split("   a, b\n", 0, 0, -1, ""), (V{"a, b "}));
  // "Space" separates at its letters.
  EXPECT_EQ(Split("1 Sa2ce3", 0, 0, -1, GetDelimiterSet("Space")), (V{"1 ", "", "2", "", "3"}));
  // A trailing delimiter makes no empty last column; leading ones do make empty columns.
  EXPECT_EQ(Split("1,2,", 0, 0, -1, ","), (V{"1", "2"}));
  EXPECT_EQ(Split(",2", 0, 0, -1, ","), (V{"", "2"}));
  // The skip width applies to delimiter cutting too.
  EXPECT_EQ(Split("ID 1 2", 0, 3, -1, " "), (V{"1", "2"}));
  EXPECT_EQ(Split("", 0, 0, -1, " "), V{});
  EXPECT_EQ(Split("   \r\n", 0, 0, 2, " ", "\r\n"), (V{"\r\n", "\r\n"}));
}

TEST(SplitColumns, CuttingByPosition) {
  EXPECT_EQ(Split("AB12345678\n", 5, 2, -1, " "), (V{"12345", "678 "}));
  EXPECT_EQ(Split("AB12345678\r\n", 5, 2, -1, " "), (V{"12345", "678  "}));
  EXPECT_EQ(Split("A\n", 5, 3, -1, " "), V{});
  EXPECT_EQ(Split("A\n", 5, 3, 2, " ", "\r\n"), (V{"\r\n", "\r\n"}));
  EXPECT_EQ(Split(" 1   2  ", 3, 0, -1, ","), (V{" 1 ", "  2", "  "}));
  EXPECT_EQ(Split("123456", 2, 0, 2, " "), (V{"12", "34"}));
  EXPECT_EQ(Split("123456", 4, -5, 3, " "), (V{"1234", "56", ""}));
  EXPECT_EQ(Split("12", 2147483647, 0, 3, " "), (V{"12", "", ""}));
}

TEST(SplitColumns, LimitsAndFilling) {
  EXPECT_EQ(Split("1 2 3", 0, 0, 0, " ", "\r\n"), V{});
  EXPECT_EQ(Split("", 0, 0, 0, " ", "\r\n"), V{});
  V columns{"keep"};
  SplitColumns("1 2 3", columns, 0, 0, 0, " ", "x");
  EXPECT_EQ(columns, V{"keep"});

  // The same list over many lines: one line per value, an empty line for a missing one.
  V samples;
  SplitColumns("1 2 3\n", samples, 0, 0, -1, " ", "\r\n");
  SplitColumns("4 5\n", samples, 0, 0, 3, " ", "\r\n");
  SplitColumns("7 8 9 10\n", samples, 0, 0, 3, " ", "\r\n");
  EXPECT_EQ(samples, (V{"1\r\n4\r\n7\r\n", "2\r\n5\r\n8\r\n", "3\r\n\r\n9\r\n"}));

  // Without a limit, each column appends a new entry whatever the list held, while
  // its text goes to entry i.
  V held{"a", "b"};
  SplitColumns("1 2 3", held, 0, 0, -1, " ", ";");
  EXPECT_EQ(held, (V{"a1;", "b2;", "3;", "", ""}));
}

TEST(SplitColumns, EntryCapIsTestedBeforeEachAddition) {
  V columns{std::string(kColumnEntryCap - 1, 'x'), std::string(kColumnEntryCap, 'y'), ""};
  SplitColumns("11 22 33", columns, 0, 0, 3, " ", "\r\n");
  EXPECT_EQ(columns[0].size(), kColumnEntryCap + 3);  // one short of the cap: still receives
  EXPECT_EQ(columns[0].substr(kColumnEntryCap - 1), "11\r\n");
  EXPECT_EQ(columns[1].size(), kColumnEntryCap);    // full: receives nothing
  EXPECT_EQ(columns[2], "33\r\n");                  // later columns still reach their own entries
  SplitColumns("", columns, 0, 0, 3, " ", "\r\n");  // filling obeys the cap too
  EXPECT_EQ(columns[0].size(), kColumnEntryCap + 3);
  EXPECT_EQ(columns[1].size(), kColumnEntryCap);
  EXPECT_EQ(columns[2], "33\r\n\r\n");
}

TEST(RowSplitter, GivesExactlyCountCells) {
  CRowSplitter row(0, 0, ",", 3);
  const auto& cells = row.Split("1,,3,4\r\n");
  EXPECT_EQ(cells, (std::vector<std::string_view>{"1", "", "3"}));
  EXPECT_EQ(row.Split("  9 \n"), (std::vector<std::string_view>{"9  ", "", ""}));
  EXPECT_EQ(row.Split(""), (std::vector<std::string_view>{"", "", ""}));
  CRowSplitter none(5, 0, "", 0);
  EXPECT_TRUE(none.Split("12345").empty());
  CRowSplitter unlimited(0, 0, " ", -1);
  EXPECT_EQ(unlimited.Split(" a b\n"), (std::vector<std::string_view>{"a", "b"}));
}

TEST(RowSplitter, MatchesSplitColumnsOnRandomLines) {
  std::mt19937 random(20240601);
  const char alphabet[] = {' ', ' ', ' ', '\t', ',', ',', '\r', '\n', ';',
                           '1', '2', '.', '-',  'e', 'x', '\v', '\f', '\xe9'};
  const char* const sets[] = {" ", "\t", ",", ":,", "", ", ", "Space", "\xe9", "1"};
  for (int round = 0; round < 20000; ++round) {
    std::string line(random() % 40, ' ');
    for (char& c : line) c = alphabet[random() % sizeof alphabet];
    const int fixedWidth = random() % 3 == 0 ? static_cast<int>(random() % 7) - 1 : 0;
    const int skipWidth = static_cast<int>(random() % 8) - 2;
    const int count = static_cast<int>(random() % 9) - 1;
    const std::string set = sets[random() % (sizeof sets / sizeof sets[0])];

    CRowSplitter row(fixedWidth, skipWidth, set, count);
    const auto& cells = row.Split(line);
    V expected;
    SplitColumns(line, expected, fixedWidth, skipWidth, count, set, "");
    ASSERT_EQ(V(cells.begin(), cells.end()), expected)
        << "line [" << line << "] fixed " << fixedWidth << " skip " << skipWidth << " count " << count;
    // The splitter is reused between lines.
    const auto& again = row.Split(line + "\n7");
    V expectedAgain;
    SplitColumns(line + "\n7", expectedAgain, fixedWidth, skipWidth, count, set, "");
    ASSERT_EQ(V(again.begin(), again.end()), expectedAgain);
  }
}

// The reading choices that change the cut: each line with the fields it gives, how
// many the line holds up to the count (a short row holds fewer) and whether it holds
// more (a long row).
TEST(RowSplitter, QuotesAndEmptyFields) {
  struct CCase {
    const char* set;
    bool quotes;
    bool emptyFields;
    std::string line;
    int count;
    V cells;
    std::size_t fields;
    bool extra;
    bool joinDateTimes = false;
  };
  const CCase cases[] = {
      // Plain: runs of white space are one separator, a trailing delimiter no field.
      {"\t", false, false, "1000.5\t\t2.563\t0.045\n", 4, {"1000.5", "2.563", "0.045 ", ""}, 3, false},
      {",", false, false, "1,2,3,\n", 3, {"1", "2", "3"}, 3, false},
      {",", false, false, "1,2,3,4\n", 3, {"1", "2", "3"}, 3, true},
      {" ", false, false, "1 2 3   \n", 3, {"1", "2", "3"}, 3, false},
      // Empty fields: every delimiter separates; blanks stay for the reading to trim.
      {"\t", false, true, "1000.5\t\t2.563\t0.045\n", 4, {"1000.5", "", "2.563", "0.045 "}, 4, false},
      {"\t", false, true, "1\t2\t\n", 2, {"1", "2"}, 2, false},
      {"\t", false, true, "1\t2\tx\n", 2, {"1", "2"}, 2, true},
      {",", false, true, " 1 , ,3,\n", 4, {" 1 ", " ", "3", " "}, 4, false},
      {";", false, true, ";;\n", 3, {"", "", " "}, 3, false},
      // Quotes: removed, delimiters and doubled quotes inside kept, text after the closing quote kept.
      {",", true, false, "\"4609.8008\",\"1,5\",\"a\"\"b\"\n", 3, {"4609.8008", "1,5", "a\"b "}, 3, false},
      {",", true, false, " \"1\" , \"2\"x,3\n", 3, {"1 ", "2x", "3 "}, 3, false},
      {",", true, false, "\"unclosed,1\n", 2, {"unclosed,1 ", ""}, 1, false},
      {",", true, true, "\"a\",,\"b,c\"\n", 3, {"a", "", "b,c "}, 3, false},
      {"\t", true, true, "\"x\"\t\"\t\"\t\n", 3, {"x", "\t", " "}, 3, false},
      // Date-times joined: a date and the time of day after its blanks are one field.
      {" ",
       false,
       false,
       "2019-03-01 10:30:00  1000.5 20\n",
       3,
       {"2019-03-01 10:30:00", "1000.5", "20"},
       3,
       false,
       true},
      {" ", false, false, "5 12/11/2013  03:00\n", 2, {"5", "12/11/2013  03:00"}, 2, false, true},
      {" ", false, false, "2019-03-01 1000.5\n", 2, {"2019-03-01", "1000.5"}, 2, false, true},
      {" ", false, false, "1000.5 10:30 2\n", 3, {"1000.5", "10:30", "2"}, 3, false, true},
      {" ", false, false, "2019-03-01 25:30 2\n", 3, {"2019-03-01", "25:30", "2"}, 3, false, true},
  };
  for (const CCase& c : cases) {
    CSplitRules rules;
    rules.delimiterSet = c.set;
    rules.quotes = c.quotes;
    rules.emptyFields = c.emptyFields;
    rules.joinDateTimes = c.joinDateTimes;
    CRowSplitter row(rules, c.count);
    const auto& cells = row.Split(c.line);
    EXPECT_EQ(V(cells.begin(), cells.end()), c.cells) << c.line;
    EXPECT_EQ(row.Fields(), c.fields) << c.line;
    EXPECT_EQ(row.Extra(), c.extra) << c.line;
    // The samples are cut the same way, with their suffix and filling.
    V samples;
    SplitColumns(c.line, samples, rules, c.count, "|");
    ASSERT_EQ(samples.size(), c.cells.size()) << c.line;
    for (std::size_t k = 0; k < samples.size(); ++k) EXPECT_EQ(samples[k], c.cells[k] + "|") << c.line;
  }
}

// Dates and times are joined only where a blank cuts them apart and a column is read
// as date-times.
TEST(RowSplitter, DateTimesJoinedOnlyWhenBlanksCutAndDatesAreRead) {
  struct CCase {
    const char* delimiter;
    int fixedWidth;
    std::int32_t dateTimeColumn;
    bool joined;
  };
  for (const CCase& c : {CCase{"space", 0, 1, true}, CCase{" ,", 0, 2, true}, CCase{",", 0, 1, false},
                         CCase{"space", 0, 0, false}, CCase{"space", 8, 1, false}}) {
    CConversionSetup setup;
    setup.delimiterText = c.delimiter;
    setup.fixedWidth = c.fixedWidth;
    setup.reading.dateTimeColumn = c.dateTimeColumn;
    EXPECT_EQ(CSplitRules::Of(setup).joinDateTimes, c.joined) << c.delimiter << c.dateTimeColumn;
  }
}
