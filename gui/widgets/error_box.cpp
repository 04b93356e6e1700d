#include "gui/widgets/error_box.h"

#include <QMessageBox>

#include <new>

namespace plakett {

QString errorText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QStringLiteral("Not enough memory for this design.");
    return QString::fromUtf8(error.what());
}

void showError(QWidget* parent, const QString& title, const std::exception& error) {
    QMessageBox::critical(parent, title, errorText(error));
}

} // namespace plakett
