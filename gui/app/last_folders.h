// Where the file dialogs start: the folder last used for each kind of file, kept between
// runs, and the user's documents before the first use (never the shape library's folder).
#pragma once

#include <QString>

namespace plakett {

inline const QString kProjectFolder = QStringLiteral("projects");
inline const QString kShapeFolder = QStringLiteral("shapes");
inline const QString kExportFolder = QStringLiteral("exports");

QString lastFolder(const QString& kind);
// Keeps the folder of `file` (a file chosen in a dialog) for the next dialog of this kind.
void rememberFolder(const QString& kind, const QString& file);

} // namespace plakett
