// The required ~W items as a composer of a ~W section asks for them: the lines are
// taken as the check takes them, so both agree on what is missing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LasTestFiles.h"
#include "lasfile/LasChecker.h"
#include "lasfile/LasWellItems.h"

namespace corvane {
namespace {

std::string Names(const std::vector<const CRequiredWellItem*>& items) {
  std::string names;
  for (const CRequiredWellItem* item : items)
    names += (names.empty() ? "" : " ") + std::string(item->mnemonic);
  return names;
}

TEST(LasWellItemsTest, MissingItemsAsTheCheckFindsThem) {
  const std::string all = "STRT STOP STEP NULL COMP WELL FLD LOC PROV SRVC DATE UWI";
  struct Case {
    std::vector<std::string> lines;  // after the section line
    std::string missing;
  };
  const std::vector<Case> cases = {
      {{}, all},
      {{" strt.M 1 : S", " Stop.M 2 : S", " STEP.M 1 : S", " NULL. -999.25 : N", " COMP. A : C",
        " WELL. W : W", " FLD . F : F", " LOC . L : L", " CTRY. NO : C", " SRVC. S : S", " DATE. D : D",
        " API . 42 : A"},
       ""},
      // Comments, lines without a dot and mnemonics with a blank hold no item.
      {{"#COMP. A : C", " COMP A : C", " COMP X. A : C", " STAT. TX : S"},
       "STRT STOP STEP NULL COMP WELL FLD LOC SRVC DATE UWI"},
      // A section line ends the ~W section.
      {{" COMP. A : C", " ~Other", " SRVC. S : S"}, "STRT STOP STEP NULL WELL FLD LOC PROV SRVC DATE UWI"},
  };
  test::CScratchDir dir;
  for (const Case& c : cases) {
    std::vector<std::string> lines = {"~Well Information"};
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    EXPECT_EQ(Names(MissingWellItems(lines)), c.missing);

    // The check of a file with this ~W section reports the same items missing.
    std::vector<std::string> file = test::ConformingLas();
    file.erase(file.begin() + 3, file.begin() + 17);
    file.insert(file.begin() + 3, lines.begin(), lines.end());
    const CLasReport report = test::CheckBytes(dir, test::JoinCrLf(file));
    std::string reported;
    for (const CLasFinding& finding : report.Findings())
      if (finding.code == LasCode::WItemMissing) reported += (reported.empty() ? "" : " ") + finding.text;
    EXPECT_EQ(reported, c.missing) << test::Describe(report);
  }
}

}  // namespace
}  // namespace corvane
