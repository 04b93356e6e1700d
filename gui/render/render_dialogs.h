#pragma once

class QWidget;

namespace plakett {

class ExportDialog;
class Session;

// The export window of `parent`, made on first use and kept for the whole run.
ExportDialog& exportDialogFor(QWidget* parent, Session& session);

void runExportDialog(QWidget* parent, Session& session); // "Export to Image"
void runTestWindow(QWidget* parent, Session& session);   // the button under the mouse

} // namespace plakett
