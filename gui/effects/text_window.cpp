#include "gui/effects/text_window.h"

#include "gui/app/session.h"

namespace plakett {

TextWindow::TextWindow(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {}

} // namespace plakett
