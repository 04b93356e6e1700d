#include "gui/effects/glyph_window.h"

#include "gui/app/session.h"

namespace plakett {

GlyphWindow::GlyphWindow(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {}

} // namespace plakett
