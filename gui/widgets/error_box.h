#pragma once
// The one way a window reports a failed action: the core's message as it stands, and
// running out of memory in words instead of the library's internal name for it.

#include <QString>

#include <exception>

class QWidget;

namespace plakett {

QString errorText(const std::exception& error);
void showError(QWidget* parent, const QString& title, const std::exception& error);

} // namespace plakett
