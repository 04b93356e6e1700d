// The modal dialogs of the Shape menu, each working on the session's shape. They do nothing
// in render mode.
#pragma once

class QWidget;

namespace plakett {

class Session;
class ShapeLibraryWidget;

// "Rotate Shape". On "OK" the shape turns, Session::shapeChanged is emitted and the caption
// angle settings().text.angle becomes the dialog's angle. Returns whether the shape turned.
bool runRotateDialog(QWidget* parent, Session& session);

// "Resize Shape". Releases the zoom first; the caller centres the shape afterwards, whichever
// button closed the dialog. Returns whether "OK" scaled the shape.
bool runScaleDialog(QWidget* parent, Session& session);

// "Add to User": saves the shape into the library's User folder under the name asked for and
// lists it on the User tab. Returns whether a shape was added.
bool runAddToUserDialog(QWidget* parent, Session& session, ShapeLibraryWidget& library);

} // namespace plakett
