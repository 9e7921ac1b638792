#pragma once
// The header of a LAS file in its window: one tab per section, the delimited ones
// (~V, ~W, ~C, ~P and sections of other names) as tables of mnemonic, unit, value
// (the API code in ~C) and description, ~O as its text.
#include <QTabWidget>

namespace corvane {

struct CLasHeader;

class CLasHeaderView : public QTabWidget {
  Q_OBJECT
 public:
  explicit CLasHeaderView(QWidget* parent = nullptr);
  void ShowHeader(const CLasHeader& header);
  // The tab title of a section: "~W Well", "~C Curves", ... or "~X" and its own title.
  static QString SectionTitle(char letter, const QString& title);
};

}  // namespace corvane
