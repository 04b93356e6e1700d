#include "gui/render/render_dialogs.h"

#include "gui/render/export_dialog.h"
#include "gui/render/test_window.h"

namespace plakett {

void runExportDialog(QWidget* parent, Session& session) {
    ExportDialog dialog(session, parent);
    dialog.exec();
}

void runTestWindow(QWidget* parent, Session& session) {
    TestWindow window(session, parent);
    window.exec();
}

} // namespace plakett
