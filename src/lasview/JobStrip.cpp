#include "lasview/JobStrip.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace corvane {

void CJobStrip::AddTo(QWidget* parent, QBoxLayout* row, const char* name) {
  const QString prefix = QLatin1String(name);
  m_label = new QLabel(parent);
  m_label->setObjectName(prefix + QLatin1String("Text"));
  m_bar = new QProgressBar(parent);
  m_bar->setObjectName(prefix + QLatin1String("Bar"));
  m_bar->setRange(0, 100);
  m_bar->setMaximumWidth(160);
  m_cancel = new QPushButton(QStringLiteral("Cancel"), parent);
  m_cancel->setObjectName(prefix + QLatin1String("Cancel"));
  m_cancel->setAutoDefault(false);
  row->addWidget(m_label);
  row->addWidget(m_bar);
  row->addWidget(m_cancel);
}

void CJobStrip::Show(const CSharedProgress::CState& state) const {
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
