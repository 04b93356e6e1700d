#include "gui/render/style_panel.h"

#include "gui/app/session.h"

namespace plakett {

StylePanel::StylePanel(Session& session, const std::filesystem::path& stylesFolder, QWidget* parent)
    : QWidget(parent), m_session(session), m_stylesFolder(stylesFolder) {}

} // namespace plakett
