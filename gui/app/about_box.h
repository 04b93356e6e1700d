#pragma once

class QWidget;

namespace plakett {

// "About...": the program's name and version and the licences of the libraries it uses.
void showAboutBox(QWidget* parent);

} // namespace plakett
