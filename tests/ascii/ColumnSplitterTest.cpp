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
