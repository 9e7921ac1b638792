#include "app/JobStrip.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "plot/SharedProgress.h"

namespace corvane {

void CJobStrip::AddTo(QWidget* parent, QBoxLayout* row) {
  m_label = new QLabel(parent);
  m_bar = new QProgressBar(parent);
  m_bar->setRange(0, 100);
  m_bar->setMaximumWidth(160);
  m_cancel = new QPushButton(QStringLiteral("Cancel"), parent);
  m_cancel->setAutoDefault(false);
  row->addWidget(m_label);
  row->addWidget(m_bar);
  row->addWidget(m_cancel);
}

void CJobStrip::Show(const CSharedProgress& progress) const {
  const CSharedProgress::CState state = progress.State();
  m_bar->setValue(std::min(state.percent, 100));
  m_label->setText(QString::fromStdString(state.lineText));
}

void CJobStrip::Started() const {
  m_label->clear();
  m_bar->setValue(0);
  m_bar->show();
  m_cancel->show();
}

void CJobStrip::Ended() const {
  m_bar->hide();
  m_cancel->hide();
}

}  // namespace corvane
