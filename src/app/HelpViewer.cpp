#include "app/HelpViewer.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/ProgramInfo.h"

namespace corvane {

namespace {

// "Corvane Help", and with the title of the page shown "Corvane Help - Step 1".
QString HelpTitle(const QString& page) {
  const QString title = QString::fromLatin1(kAppTitle) + QStringLiteral(" Help");
  return page.isEmpty() ? title : title + QStringLiteral(" - ") + page;
}

}  // namespace

CHelpViewer::CHelpViewer(const QUrl& startPage, QWidget* owner)
    : QWidget(owner, Qt::Window), m_startPage(startPage) {
  setWindowTitle(HelpTitle(QString()));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* contents = new QPushButton(tr("&Contents"), this);
  auto* back = new QPushButton(tr("&Back"), this);
  auto* forward = new QPushButton(tr("&Forward"), this);
  back->setEnabled(false);
  forward->setEnabled(false);
  m_browser = new QTextBrowser(this);
  m_browser->setOpenExternalLinks(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(m_browser, 1);

  connect(contents, &QPushButton::clicked, this, [this] { ShowPage(m_startPage); });
  connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
  connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(m_browser, &QTextBrowser::sourceChanged, this,
          [this] { setWindowTitle(HelpTitle(m_browser->documentTitle())); });
  resize(760, 620);
}

void CHelpViewer::ShowPage(const QUrl& page) {
  if (page.isEmpty()) return;
  // The same page with another anchor only scrolls; a reload would lose the history.
  if (page.adjusted(QUrl::RemoveFragment) == m_browser->source().adjusted(QUrl::RemoveFragment) &&
      !page.fragment().isEmpty()) {
    m_browser->scrollToAnchor(page.fragment());
  } else {
    m_browser->setSource(page);
  }
}

QUrl CHelpViewer::CurrentPage() const { return m_browser->source(); }

}  // namespace corvane
