#include "gui/render/render_dialogs.h"

#include "gui/render/export_dialog.h"
#include "gui/render/test_window.h"

namespace plakett {

ExportDialog& exportDialogFor(QWidget* parent, Session& session) {
    // One window for the whole run, so that its choices survive closing it.
    auto* dialog = parent->findChild<ExportDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (dialog == nullptr) dialog = new ExportDialog(session, parent);
    return *dialog;
}

void runExportDialog(QWidget* parent, Session& session) {
    exportDialogFor(parent, session).exec();
}

void runTestWindow(QWidget* parent, Session& session) {
    TestWindow window(session, parent);
    window.exec();
}

} // namespace plakett
