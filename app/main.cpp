#include "common/heap_tuning.h"
#include "gui/app/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    plakett::keepLargeBlocksInHeap();
    QApplication app(argc, argv);
    return plakett::runPlakett(app);
}
