#include "gui/app/about_box.h"

#include "common/version.h"

#include <QMessageBox>
#include <QtGlobal>

#include <cstdio> // jpeglib.h needs FILE

#include <jpeglib.h>
#include <png.h>

namespace plakett {

void showAboutBox(QWidget* parent) {
    const QString text =
        QStringLiteral(
            "<h3>Plakett %1</h3>"
            "<p>Shaded raster buttons from a closed Bezier outline.</p>"
            "<p>Copyright &copy; 2026 The Plakett developers. Plakett is free software "
            "under the MIT License.</p>"
            "<p>Built with these libraries:</p>"
            "<ul>"
            "<li><b>Qt</b> %2 &mdash; GNU Lesser General Public License v3</li>"
            "<li><b>libjpeg-turbo</b> (JPEG API %3) &mdash; IJG License and "
            "Modified (3-clause) BSD License; this software is based in part on the work of "
            "the Independent JPEG Group</li>"
            "<li><b>libpng</b> %4 &mdash; PNG Reference Library License version 2</li>"
            "<li><b>zlib</b> &mdash; zlib License</li>"
            "</ul>"
            "<p>Default caption font: Liberation Sans &mdash; SIL Open Font License 1.1</p>")
            .arg(QString::fromLatin1(versionString()), QString::fromLatin1(qVersion()),
                 QStringLiteral("%1.%2").arg(JPEG_LIB_VERSION / 10).arg(JPEG_LIB_VERSION % 10),
                 QString::fromLatin1(PNG_LIBPNG_VER_STRING));
    QMessageBox box(QMessageBox::Information, QStringLiteral("About Plakett"), text,
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::RichText);
    box.setIconPixmap(QPixmap());
    box.exec();
}

} // namespace plakett
