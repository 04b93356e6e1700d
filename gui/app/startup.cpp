// Program start: the data folder becomes the working directory, then the windows are made.
#include "gui/app/data_folder.h"
#include "gui/app/main_window.h"
#include "gui/app/session.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include <filesystem>
#include <iostream>

namespace plakett {
namespace {

namespace fs = std::filesystem;

// The data folder, seeded and made current. When it cannot be made the program still runs in
// the directory it was started in.
fs::path enterDataFolder(const StartOptions& options, const fs::path& shipped) {
    const fs::path folder = options.dataFolder.value_or(defaultDataFolder());
    try {
        seedDataFolder(folder, shipped);
        fs::current_path(folder);
    } catch (const fs::filesystem_error& e) {
        std::cerr << "plakett: cannot use the data folder " << folder << ": " << e.what() << "\n";
    }
    return fs::current_path();
}

} // namespace

int runPlakett(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Plakett"));
    QApplication::setOrganizationName(QStringLiteral("Plakett")); // where the recent list lives
    std::vector<std::string> args;
    for (const QString& a : QApplication::arguments())
        args.push_back(QFile::encodeName(a).toStdString());
    const StartOptions options = parseStartOptions(args);
    const fs::path shipped = findShippedData(
        fs::path(QFile::encodeName(QApplication::applicationDirPath()).toStdString()));
    const fs::path dataFolder = enterDataFolder(options, shipped);

    Session session;
    MainWindow window(session, dataFolder);
    if (!shipped.empty()) {
        const fs::path readme = shipped.parent_path() / "README.md";
        if (fs::exists(readme)) window.setReadmeFile(QFile::decodeName(readme.c_str()));
    }
    // The user guide ships with the data; a copy in the data folder also serves.
    const fs::path guide = shipped.empty() ? fs::path() : shipped / "Help" / "index.html";
    window.setGuideFile(
        QFile::decodeName((fs::exists(guide) ? guide : fs::absolute("Help/index.html")).c_str()));
    // Without a window manager "maximised" means nothing, so start at the screen's size.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    if (options.renderAtStart) QTimer::singleShot(300, &window, [&window] { window.render(); });
    return app.exec();
}

} // namespace plakett
