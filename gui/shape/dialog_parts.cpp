#include "gui/shape/dialog_parts.h"

#include <QDialog>
#include <QPalette>
#include <QPushButton>
#include <QScrollArea>

namespace plakett {

OkCancel makeOkCancel(QDialog* dialog, const QString& okName, const QString& cancelName) {
    OkCancel b;
    b.ok = new QPushButton(QStringLiteral("OK"), dialog);
    b.ok->setObjectName(okName);
    b.ok->setDefault(true);
    b.cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    b.cancel->setObjectName(cancelName);
    QObject::connect(b.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}

QScrollArea* makePreviewArea(QWidget* parent, QWidget* preview) {
    auto* area = new QScrollArea(parent);
    area->setBackgroundRole(QPalette::Base);
    QPalette palette = area->palette();
    palette.setColor(QPalette::Base, Qt::white);
    area->setPalette(palette);
    area->setAlignment(Qt::AlignCenter);
    area->setWidget(preview);
    return area;
}

} // namespace plakett
