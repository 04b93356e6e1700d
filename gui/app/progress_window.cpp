#include "gui/app/progress_window.h"

#include <QCoreApplication>
#include <QFrame>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace plakett {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    // Input to the other windows would re-enter the document while the field is computed.
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(288, 66);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setGeometry(0, 0, 288, 66);
    m_bar = new QProgressBar(frame);
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_bar->setGeometry(15, 10, 257, 16);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), frame);
    m_cancelButton->setGeometry(106, 34, 75, 25);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { requestCancel(); });
}

void ProgressWindow::start(QWidget* over) {
    m_cancel.store(false);
    m_shown = 0;
    m_bar->setValue(0);
    if (over != nullptr) {
        const QRect r = over->frameGeometry();
        move(r.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    QCoreApplication::processEvents();
}

void ProgressWindow::finish() {
    hide();
}

FieldControl ProgressWindow::fieldControl() {
    FieldControl control;
    control.onProgress = [this](int progress) { report(progress); };
    control.cancelRequested = &m_cancel;
    return control;
}

void ProgressWindow::report(int progress) {
    if (std::abs(m_shown - progress) > 2) {
        m_shown = progress;
        m_bar->setValue(progress);
        m_bar->repaint();
        m_cancelButton->repaint();
    }
    QCoreApplication::processEvents();
}

void ProgressWindow::mousePressEvent(QMouseEvent* event) {
    requestCancel();
    QWidget::mousePressEvent(event);
}

} // namespace plakett
