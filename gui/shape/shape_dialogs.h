#pragma once

class QWidget;

namespace plakett {

class Session;
class ShapeLibraryWidget;

// Modal dialogs on the session's shape; each returns true when "OK" changed the shape.
bool runRotateDialog(QWidget* parent, Session& session);
bool runScaleDialog(QWidget* parent, Session& session);
bool runAddToUserDialog(QWidget* parent, Session& session, ShapeLibraryWidget& library);

} // namespace plakett
