#include "gui/effects/background_window.h"

#include "gui/app/session.h"

namespace plakett {

BackgroundWindow::BackgroundWindow(Session& session, QWidget* parent)
    : QWidget(parent), m_session(session) {}

} // namespace plakett
