#pragma once
// The lines that a ~W section must hold (CWLS LAS 2.0, section 5.4), some of which
// another line may stand in for: CNTY, STAT or CTRY for PROV outside Canada, API for
// UWI. The check reports the missing ones from this list, and a program that composes
// a ~W section can ask the same before it writes one.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct CRequiredWellItem {
  std::string_view mnemonic;                 // "PROV"
  std::string_view title;                    // the standard's description: "PROVINCE"
  std::string_view describes;                // in a sentence: "the province"
  std::array<std::string_view, 3> standIns;  // lines that may take its place; empty ones unused
};

// In the order the check reports them missing: STRT STOP STEP NULL COMP WELL FLD LOC
// PROV SRVC DATE UWI.
const std::vector<CRequiredWellItem>& RequiredWellItems();

// True when `upperMnemonic` is the item's mnemonic or one that stands in for it.
bool SatisfiesWellItem(const CRequiredWellItem& item, std::string_view upperMnemonic) noexcept;

// The required items that a ~W section lacks, in the order above. `sectionLines` are
// its lines, the section line first, taken as a LAS reader takes them: comments and
// blank lines hold no item, nor does a line without a dot; a mnemonic counts in any
// case; a later line that starts with "~" begins another section.
std::vector<const CRequiredWellItem*> MissingWellItems(const std::vector<std::string>& sectionLines);

// The required items, other than STRT, STOP, STEP and NULL, whose lines are there but
// every one without a value ("COMP.   : COMPANY", a template line left blank), taken
// from the lines as MissingWellItems takes them.
std::vector<const CRequiredWellItem*> EmptyWellItems(const std::vector<std::string>& sectionLines);

// True for STRT, STOP, STEP and NULL: items whose value is a number, checked as such.
bool IsNumericWellItem(const CRequiredWellItem& item) noexcept;

}  // namespace corvane
