#include "gui/app/help_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace plakett {

HelpWindow::HelpWindow(const QString& guide, QWidget* parent)
    : QWidget(parent, Qt::Window), m_guide(guide), m_browser(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Plakett Help"));
    setObjectName(QStringLiteral("HelpWindow"));
    m_browser->setOpenExternalLinks(true);

    auto* back = new QPushButton(QStringLiteral("Back"), this);
    auto* forward = new QPushButton(QStringLiteral("Forward"), this);
    auto* home = new QPushButton(QStringLiteral("Contents"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, m_browser, &QTextBrowser::home);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(home);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
    resize(760, 620);
}

bool HelpWindow::hasGuide() const {
    return !m_guide.isEmpty() && QFileInfo::exists(m_guide);
}

void HelpWindow::showGuide() {
    if (m_browser->source().isEmpty() && hasGuide())
        m_browser->setSource(QUrl::fromLocalFile(QFileInfo(m_guide).absoluteFilePath()));
    // Never larger than the screen it opens on.
    if (const QScreen* s = screen()) {
        const QRect available = s->availableGeometry();
        resize(size().boundedTo(available.size() - QSize(40, 60)));
        if (!isVisible()) move(available.center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

} // namespace plakett
