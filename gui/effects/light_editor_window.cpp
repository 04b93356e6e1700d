#include "gui/effects/light_editor_window.h"

#include "gui/app/session.h"

namespace plakett {

LightEditorWindow::LightEditorWindow(Session& session, QWidget* parent)
    : QWidget(parent), m_session(session) {}

} // namespace plakett
