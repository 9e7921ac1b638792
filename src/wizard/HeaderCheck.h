#pragma once
// What Step 4 says about the LAS header before Create LAS: the well items that the LAS
// standard requires and the ~Well section will lack, worked out from the well details
// and the Other Header Details lines as the run writes them; the template lines that
// supply them; and whether the depth scan will find a depth curve.
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "lasfile/LasWellItems.h"
#include "setup/ConversionSetup.h"

namespace corvane {

// `wellDetails` gives the well label, UWI value, well name and log date; the lines are
// the logical lines of the Other Header Details box. STRT, STOP, STEP and NULL are
// always written, so only the other items can be lacking.
std::vector<const CRequiredWellItem*> LackedWellItems(const CConversionSetup& wellDetails,
                                                      const std::vector<std::string>& otherHeaderLines);

// The required items whose lines the run writes without a value (template lines left
// blank), which the LAS check warns of.
std::vector<const CRequiredWellItem*> BlankWellItems(const CConversionSetup& wellDetails,
                                                     const std::vector<std::string>& otherHeaderLines);

// The page's line: the lacking items by mnemonic (API in place of UWI when the well
// label is API), the blank ones, then, when `depthCurve` is false, that STRT, STOP and
// STEP will be zero. Only with nothing lacking and nothing blank are the items "all there".
QString HeaderCheckText(const std::vector<const CRequiredWellItem*>& lacked, const std::string& wellLabel,
                        bool depthCurve, const std::vector<const CRequiredWellItem*>& blank = {});

// One line per item in the form the Other Header Details box takes, MNEM.:VALUE:DESCRIPTION,
// with a blank for the value ("COMP.: :COMPANY"): the run writes it as a line with an
// empty value, and the user types the value over the blank.
QStringList WellItemTemplates(const std::vector<const CRequiredWellItem*>& lacked,
                              const std::string& wellLabel);

}  // namespace corvane
