#include "common/heap_tuning.h"
#include "gui/app/main_window.h"
#include "gui/app/start_info.h"

#include <QApplication>

#include <iostream>

int main(int argc, char** argv) {
    // Answered before Qt starts, so they work without a display.
    if (const auto code = plakett::runInfoOption(argc, argv, std::cout)) return *code;
    plakett::keepLargeBlocksInHeap();
    QApplication app(argc, argv);
    return plakett::runPlakett(app);
}
