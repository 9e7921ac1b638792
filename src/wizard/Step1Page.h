#pragma once
// Step 1: the ASCII file to convert.
#include "wizard/WizardPage.h"

class QLineEdit;
class QPushButton;

namespace corvane {

// The kinds of file the ASCII file chooser offers: the column exports logs come in.
inline constexpr const char* kAsciiFileFilter =
    "ASCII files (*.asc *.txt *.csv *.tsv *.dat *.prn);;All Files (*)";

class CStep1Page : public CWizardPage {
  Q_OBJECT
 public:
  explicit CStep1Page(CCorvanePropSheet& sheet);

  bool OnSetActive() override;
  bool OnWizardNext() override;
  void ShowSetupValues() override;
  bool BackEnabled() const override { return false; }
  bool NextEnabled() const override { return true; }

  // The page's own copy of the ASCII file path.
  const QString& Path() const { return m_path; }
  QPushButton* FileButton() const { return m_fileButton; }
  QLineEdit* PathBox() const { return m_pathBox; }

 public slots:
  void OnAsciiFile();

 protected:
  void OnInitDialog() override;

 private:
  QString m_path;
  QPushButton* m_fileButton = nullptr;
  QLineEdit* m_pathBox = nullptr;
};

}  // namespace corvane
