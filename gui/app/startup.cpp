// Program start: the data folder becomes the working directory, then the windows are made.
#include "gui/app/data_folder.h"
#include "gui/app/main_window.h"
#include "gui/app/session.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <filesystem>
#include <iostream>
#include <string>

namespace plakett {
namespace {

namespace fs = std::filesystem;

// The data folder, seeded and made current. When it cannot be made the program still runs in
// the directory it was started in. `leftEmpty` gets the library folders nothing could fill.
fs::path enterDataFolder(const StartOptions& options, const fs::path& shipped,
                         std::vector<std::string>& leftEmpty) {
    const fs::path folder = options.dataFolder.value_or(defaultDataFolder());
    try {
        leftEmpty = seedDataFolder(folder, shipped);
        fs::current_path(folder);
    } catch (const fs::filesystem_error& e) {
        std::cerr << "plakett: cannot use the data folder " << folder << ": " << e.what() << "\n";
    }
    return fs::current_path();
}

// Without the shipped library the user's folders would silently stay empty: say so, and
// say where it was looked for.
QString missingLibraryText(const fs::path& executableDir, const fs::path& dataFolder,
                           const std::vector<std::string>& leftEmpty) {
    QString folders;
    for (const std::string& name : leftEmpty)
        folders += (folders.isEmpty() ? "" : ", ") + QString::fromStdString(name);
    QString places;
    for (const fs::path& c : shippedDataCandidates(executableDir))
        places += "\n  " + QFile::decodeName(c.lexically_normal().c_str());
    return QStringLiteral("The shipped shape library was not found, so the folders %1 in %2 "
                          "stay empty. Looked in:%3")
        .arg(folders, QFile::decodeName(dataFolder.c_str()), places);
}

} // namespace

int runPlakett(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Plakett"));
    // Ties the windows to the installed menu entry and its icon (Wayland uses the name).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.plakett.Plakett"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.plakett.Plakett")));
    QApplication::setOrganizationName(QStringLiteral("Plakett")); // where the recent list lives
    std::vector<std::string> args;
    for (const QString& a : QApplication::arguments())
        args.push_back(QFile::encodeName(a).toStdString());
    const StartOptions options = parseStartOptions(args);
    const fs::path exeDir =
        fs::path(QFile::encodeName(QApplication::applicationDirPath()).toStdString());
    const fs::path shipped = findShippedData(exeDir);
    // A file named on the command line is relative to where the program was started.
    std::optional<fs::path> openFile;
    if (options.openFile) openFile = fs::absolute(*options.openFile);
    std::vector<std::string> leftEmpty;
    const fs::path dataFolder = enterDataFolder(options, shipped, leftEmpty);

    Session session;
    MainWindow window(session, dataFolder);
    // Beside the source tree's data/, or where an install puts the documentation.
    std::vector<fs::path> readmes{exeDir / ".." / "share" / "doc" / "plakett" / "README.md"};
    if (!shipped.empty()) readmes.insert(readmes.begin(), shipped.parent_path() / "README.md");
    for (const fs::path& readme : readmes) {
        if (fs::exists(readme)) {
            window.setReadmeFile(QFile::decodeName(readme.lexically_normal().c_str()));
            break;
        }
    }
    // The user guide ships with the data; a copy in the data folder also serves.
    const fs::path guide = shipped.empty() ? fs::path() : shipped / "Help" / "index.html";
    window.setGuideFile(
        QFile::decodeName((fs::exists(guide) ? guide : fs::absolute("Help/index.html")).c_str()));
    // Without a window manager "maximised" means nothing, so start at the screen's size.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    if (shipped.empty() && !leftEmpty.empty()) {
        const QString text = missingLibraryText(exeDir, dataFolder, leftEmpty);
        std::cerr << "plakett: " << text.toStdString() << "\n";
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Plakett"), text,
                                    QMessageBox::Ok, &window);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        QTimer::singleShot(0, box, &QWidget::show);
    }
    if (openFile) {
        // After the first show, so the start-up snapshot keeps the default design.
        QTimer::singleShot(0, &window, [&window, path = QFile::decodeName(openFile->c_str())] {
            if (path.endsWith(QStringLiteral(".shp"), Qt::CaseInsensitive) ||
                path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
                window.importShapeFile(path);
            else
                window.openProjectFile(path);
        });
    }
    if (options.renderAtStart) QTimer::singleShot(300, &window, [&window] { window.render(); });
    return app.exec();
}

} // namespace plakett
