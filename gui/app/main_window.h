#pragma once

class QApplication;

namespace plakett {

// Sets up the data folder, creates the windows and runs the event loop.
int runPlakett(QApplication& app);

} // namespace plakett
