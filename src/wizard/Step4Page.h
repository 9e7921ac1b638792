#pragma once
#include "wizard/WizardPage.h"

namespace corvane {

class CStep4Page : public CWizardPage {
  Q_OBJECT
 public:
  explicit CStep4Page(CCorvanePropSheet& sheet);
};

}  // namespace corvane
