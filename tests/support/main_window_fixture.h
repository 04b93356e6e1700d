#pragma once
// A main window over an empty data folder, shown and ready, for the window tests.

#include "gui/app/main_window.h"
#include "gui/app/session.h"

#include <QTemporaryDir>

#include <filesystem>
#include <memory>

namespace plakett::test {

inline std::filesystem::path makeEmptyDataFolder(const QTemporaryDir& dir) {
    const std::filesystem::path folder = dir.path().toStdString();
    for (const char* sub : {"Buttons", "Other", "User", "Styles", "Backgrounds"})
        std::filesystem::create_directories(folder / sub);
    return folder;
}

inline std::unique_ptr<MainWindow> showMainWindow(Session& session,
                                                  const std::filesystem::path& folder) {
    auto window = std::make_unique<MainWindow>(session, folder);
    window->resize(1000, 700);
    window->show();
    return window;
}

} // namespace plakett::test
