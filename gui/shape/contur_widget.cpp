#include "gui/shape/contur_widget.h"

#include "gui/app/session.h"

namespace plakett {

ConturWidget::ConturWidget(Session& session, QWidget* parent)
    : QWidget(parent), m_session(session) {}

} // namespace plakett
