#include "gui/shape/shape_dialogs.h"

namespace plakett {

bool runRotateDialog(QWidget*, Session&) {
    return false;
}
bool runScaleDialog(QWidget*, Session&) {
    return false;
}
bool runAddToUserDialog(QWidget*, Session&, ShapeLibraryWidget&) {
    return false;
}

} // namespace plakett
