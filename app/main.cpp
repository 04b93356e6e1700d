#include "gui/app/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return plakett::runPlakett(app);
}
