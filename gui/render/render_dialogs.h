#pragma once

class QWidget;

namespace plakett {

class Session;

void runExportDialog(QWidget* parent, Session& session); // "Export to Image"
void runTestWindow(QWidget* parent, Session& session);   // the button under the mouse

} // namespace plakett
