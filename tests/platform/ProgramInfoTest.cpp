#include "platform/ProgramInfo.h"

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace corvane {
namespace {

// The About box, the window titles and the manual name the same program and version.
TEST(ProgramInfoTest, TheManualNamesTheProgramAsAboutDoes) {
  EXPECT_EQ(std::string(kMainWindowTitle).rfind(std::string(kAppTitle) + " ", 0), 0u);
  EXPECT_EQ(std::string(kAboutText).rfind(std::string(kAppTitle) + " V", 0), 0u);
  const std::string manual = test::ReadBytes(test::SourceFile("docs/manual/index.html"));
  EXPECT_NE(manual.find(std::string("<p class=\"nav\">") + kAboutText + "</p>"), std::string::npos);
}

}  // namespace
}  // namespace corvane
