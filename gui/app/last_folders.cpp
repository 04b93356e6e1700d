#include "gui/app/last_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace plakett {

QString lastFolder(const QString& kind) {
    const QString kept = QSettings().value(QStringLiteral("Folders/") + kind).toString();
    if (!kept.isEmpty() && QFileInfo(kept).isDir()) return kept;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void rememberFolder(const QString& kind, const QString& file) {
    if (file.isEmpty()) return;
    QSettings().setValue(QStringLiteral("Folders/") + kind, QFileInfo(file).absolutePath());
}

} // namespace plakett
