// The two forms of a report: the readable text (bytes a terminal cannot show named) and JSON.
#include <gtest/gtest.h>

#include <string>

#include "LasTestFiles.h"
#include "lasfile/LasReportFormat.h"

namespace corvane {
namespace {

TEST(LasReportFormatTest, TextGroupsBySeverityAndJsonHoldsEveryField) {
  EXPECT_EQ(PrintableText(std::string("a\tb\0c\r\xB0", 7)), "a<TAB>b<NUL>c<CR><0xB0>");
  test::CScratchDir dir;
  std::vector<std::string> lines = test::Edited(
      test::ConformingLas(),
      {{24, "~Zones"}, {25, "\x01 note"}, {9, " NULL. -9999 : NULL VALUE"}, {7, " STOP.M 1660 : STOP"}});
  const CLasReport report = test::CheckBytes(dir, test::JoinCrLf(lines));
  const std::string text = FormatLasReportText(report, false);
  const std::size_t errors = text.find("  errors:\n    line 7: STOP_MISMATCH (5.4): STOP is 1660 but");
  const std::size_t warnings = text.find("  warnings:\n    line 9: NULL_UNUSED (5.4): ");
  const std::size_t notes = text.find("  notes:\n    line 24: SECTION_CUSTOM (3.0): ");
  EXPECT_NE(errors, std::string::npos) << text;
  EXPECT_NE(warnings, std::string::npos) << text;
  EXPECT_NE(notes, std::string::npos) << text;
  EXPECT_LT(errors, warnings);
  EXPECT_LT(warnings, notes);
  EXPECT_NE(text.find("line 25: CHARACTER_NOT_ALLOWED (3.0): column 1 holds the control character 0x01"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("        | <0x01> note\n"), std::string::npos) << text;

  CLasReportJson json(true);
  std::string document = json.Begin();
  document += json.Add(report);
  document += json.End();
  for (const char* field :
       {"{\"schema\":\"corvane-las-check/1\",", "\"strict\":true,\"files\":[{\"path\":",
        "\"complete\":true,\"passed\":false,\"counts\":{\"errors\":2,\"warnings\":1,\"notes\":1}",
        "\"summary\":{\"version\":\"2.0\",\"wrap\":\"NO\",\"null\":\"-9999\",\"lines\":29,",
        "\"sections\":[{\"letter\":\"V\",\"title\":\"~VERSION INFORMATION\",\"line\":1},",
        "{\"mnemonic\":\"RHOB\",\"unit\":\"K/"
        "M3\",\"line\":21,\"values\":3,\"nulls\":0,\"unreadable\":0,\"missing\":0}",
        "\"index\":{\"mnemonic\":\"DEPT\",\"unit\":\"M\",\"first\":\"1670.000\",\"firstLine\":27,\"last\":"
        "\"1669.750\"",
        "{\"severity\":\"error\",\"code\":\"STOP_MISMATCH\",\"line\":7,\"text\":\" STOP.M 1660 : "
        "STOP\",\"reason\":",
        "\"text\":\"\\u0001 note\"", "\"section\":\"5.4\"}", "\"unlisted\":[]}",
        "],\"totals\":{\"files\":1,\"failed\":1,\"errors\":2,\"warnings\":1,\"notes\":1}}\n"}) {
    EXPECT_NE(document.find(field), std::string::npos) << field << "\n" << document;
  }
}

}  // namespace
}  // namespace corvane
