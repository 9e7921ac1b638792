#include "wizard/Step4Page.h"

namespace corvane {

CStep4Page::CStep4Page(CCorvanePropSheet& sheet) : CWizardPage(sheet, QStringLiteral("Step 4")) {}

}  // namespace corvane
