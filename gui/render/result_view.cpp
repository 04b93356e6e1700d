#include "gui/render/result_view.h"

#include "gui/app/session.h"

namespace plakett {

ResultView::ResultView(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {}

} // namespace plakett
