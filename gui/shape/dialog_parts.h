// Pieces the shape dialogs share.
#pragma once

#include <QString>

class QDialog;
class QPushButton;
class QScrollArea;
class QWidget;

namespace plakett {

struct OkCancel {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

// "OK" (default, accepts) and "Cancel" (rejects), with the designer names given.
OkCancel makeOkCancel(QDialog* dialog, const QString& okName, const QString& cancelName);

// A white scrolling frame that centres the preview.
QScrollArea* makePreviewArea(QWidget* parent, QWidget* preview);

} // namespace plakett
