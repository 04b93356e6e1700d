#include "gui/effects/shadow_window.h"

#include "gui/app/session.h"

namespace plakett {

ShadowWindow::ShadowWindow(Session& session, QWidget* parent)
    : QWidget(parent), m_session(session) {}

} // namespace plakett
