#include "ascii/TextProbe.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace corvane {
namespace {

TEST(TextProbe, TextAndWhatIsNot) {
  struct CCase {
    std::string bytes;
    bool text;
    const char* reason;  // the start of it
  };
  const std::string latin1 =
      "DEPT  T\xB0"
      "C\r\n1500  20.5\r\n";
  std::string mostlyControl(100, '\x01');
  mostlyControl += std::string(90, 'a');
  std::string someControl(40, '\x02');
  someControl += std::string(60, 'a');
  const CCase cases[] = {
      {"", true, ""},
      {"DEPT GR\r\n1500 90.5\r\n\x1A", true, ""},
      {"\xEF\xBB\xBF"
       "MD[m],Inc[deg]\r\n",
       true, ""},
      {"Temp \xC2\xB0"
       "C\t\xCE\x94T\n",
       true, ""},
      {latin1, true, ""},  // a few bytes that are no UTF-8 do not make a binary file
      {someControl, true, ""},
      {std::string("PK\x03\x04\x14\x00\x06\x00", 8), false, "It holds NUL bytes"},
      {std::string("\xFF\xFE"
                   "D\0E\0",
                   6),
       false, "It is UTF-16 text"},
      {std::string("\xFE\xFF\0D", 4), false, "It is UTF-16 text"},
      {mostlyControl, false, "Most of its first bytes"},
      {std::string(50, '\x90'), false, "Most of its first bytes"},
  };
  for (const CCase& c : cases) {
    const CTextProbe probe = ProbeTextBytes(c.bytes);
    EXPECT_EQ(probe.text, c.text) << c.bytes;
    EXPECT_EQ(probe.reason.rfind(c.reason, 0), 0u) << probe.reason;
  }
}

TEST(TextProbe, LooksAtTheStartOfTheFileOnly) {
  test::CScratchDir dir;
  std::string bytes(kTextProbeBytes, 'a');
  bytes += std::string(10, '\0');
  test::WriteBytes(dir.File("late.dat"), bytes);
  CTextProbe probe;
  ASSERT_TRUE(ProbeTextFile(dir.File("late.dat"), probe).Ok());
  EXPECT_TRUE(probe.text);
  test::WriteBytes(dir.File("early.dat"), std::string("a\0b", 3));
  ASSERT_TRUE(ProbeTextFile(dir.File("early.dat"), probe).Ok());
  EXPECT_FALSE(probe.text);
  EXPECT_FALSE(ProbeTextFile(dir.File("missing.dat"), probe).Ok());
  EXPECT_TRUE(probe.text);
}

}  // namespace
}  // namespace corvane
