#include "lasview/DepthBoxes.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace corvane {

CDepthBoxes::CDepthBoxes(QWidget* parent, QBoxLayout* row) : QObject(parent) {
  row->addWidget(new QLabel(QStringLiteral("Depth from"), parent));
  m_top = new QLineEdit(parent);
  m_top->setObjectName(QStringLiteral("topDepth"));
  m_base = new QLineEdit(parent);
  m_base->setObjectName(QStringLiteral("baseDepth"));
  for (QLineEdit* box : {m_top, m_base})
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-00000.000")) + 16);
  row->addWidget(m_top);
  row->addWidget(new QLabel(QStringLiteral("to"), parent));
  row->addWidget(m_base);
  auto* show = new QPushButton(QStringLiteral("Show"), parent);
  show->setObjectName(QStringLiteral("showDepths"));
  auto* whole = new QPushButton(QStringLiteral("Whole Log"), parent);
  whole->setObjectName(QStringLiteral("wholeLog"));
  for (QPushButton* button : {show, whole}) {
    button->setAutoDefault(false);
    row->addWidget(button);
  }
  connect(show, &QPushButton::clicked, this, &CDepthBoxes::Take);
  connect(m_top, &QLineEdit::returnPressed, this, &CDepthBoxes::Take);
  connect(m_base, &QLineEdit::returnPressed, this, &CDepthBoxes::Take);
  connect(whole, &QPushButton::clicked, this, &CDepthBoxes::WholeRequested);
}

void CDepthBoxes::Show(double top, double base) {
  m_shownTop = top;
  m_shownBase = base;
  m_top->setText(QString::number(top, 'f', 3));
  m_base->setText(QString::number(base, 'f', 3));
}

void CDepthBoxes::Take() {
  bool topOk = false;
  bool baseOk = false;
  const double top = QLocale::c().toDouble(m_top->text().trimmed(), &topOk);
  const double base = QLocale::c().toDouble(m_base->text().trimmed(), &baseOk);
  if (topOk && baseOk && top != base)
    emit RangeTyped(top, base);
  else
    Show(m_shownTop, m_shownBase);
}

}  // namespace corvane
