#include "gui/shape/shape_library.h"

#include "gui/app/session.h"

namespace plakett {

ShapeLibraryWidget::ShapeLibraryWidget(Session& session, const std::filesystem::path& dataFolder,
                                       QWidget* parent)
    : QTabWidget(parent), m_session(session), m_dataFolder(dataFolder) {}

} // namespace plakett
