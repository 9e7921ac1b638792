#include "wizard/Step3Page.h"

namespace corvane {

CStep3Page::CStep3Page(CCorvanePropSheet& sheet) : CWizardPage(sheet, QStringLiteral("Step 3")) {}

}  // namespace corvane
