#pragma once
#include "wizard/WizardPage.h"

namespace corvane {

class CStep3Page : public CWizardPage {
  Q_OBJECT
 public:
  explicit CStep3Page(CCorvanePropSheet& sheet);
};

}  // namespace corvane
