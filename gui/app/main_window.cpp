#include "gui/app/main_window.h"

#include "gui/app/session.h"

#include <QApplication>
#include <QLabel>

namespace plakett {

int runPlakett(QApplication& app) {
    Session session;
    QLabel label("Plakett");
    label.show();
    return app.exec();
}

} // namespace plakett
