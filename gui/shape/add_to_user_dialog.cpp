// "Add to User": saves the current shape into the User folder under a name and lists it.
#include "gui/shape/shape_dialogs.h"

#include "gui/app/session.h"
#include "gui/shape/shape_library.h"
#include "gui/shape/shape_thumbnail.h"
#include "gui/widgets/error_box.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <system_error>

namespace plakett {

namespace {

// Characters that would leave the User folder, change the extension or act as wildcards;
// control characters cannot be part of a sensible file name either.
bool validShapeName(const QString& name) {
    for (const QChar c : name)
        if (c == u'.' || c == u'\\' || c == u'*' || c == u'?' || c == u'/' || c.unicode() < 0x20)
            return false;
    return true;
}

class AddToUserDialog : public QDialog {
  public:
    AddToUserDialog(QWidget* parent, Session& session, ShapeLibraryWidget& library)
        : QDialog(parent, Qt::Tool), m_session(session), m_library(library) {
        setWindowTitle(QStringLiteral("Add to User"));
        m_name = new QLineEdit(this);
        m_name->setObjectName(QStringLiteral("Edit1"));
        auto* add = new QPushButton(QStringLiteral("Add  "), this);
        add->setObjectName(QStringLiteral("AddButton"));
        add->setDefault(true);
        auto* cancel = new QPushButton(QStringLiteral("Cancel  "), this);
        cancel->setObjectName(QStringLiteral("CancelButton"));
        connect(add, &QPushButton::clicked, this, [this] { addShape(); });
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(add);
        buttons->addWidget(cancel);
        auto* top = new QVBoxLayout(this);
        top->addWidget(new QLabel(QStringLiteral("Shape name"), this));
        top->addWidget(m_name);
        top->addLayout(buttons);
    }

  private:
    void warn(const QString& text) {
        QMessageBox::warning(this, QStringLiteral("Message..."), text);
    }

    void addShape() {
        const QString name = m_name->text();
        if (name.isEmpty()) return warn(QStringLiteral("Please enter shape name."));
        if (!validShapeName(name)) return warn(QStringLiteral("Shape name is not valid."));

        const std::filesystem::path folder = m_library.userFolder();
        const std::filesystem::path file = folder / (name.toStdString() + ".shp");
        std::error_code ec;
        if (std::filesystem::exists(file, ec)) {
            const auto answer = QMessageBox::question(
                this, QStringLiteral("Add to User"),
                QStringLiteral("A shape named %1 already exists. Replace it?").arg(name),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
            if (answer != QMessageBox::Yes) return;
        }
        try {
            std::filesystem::create_directories(folder);
            m_session.contour().SaveToFile(file);
        } catch (const std::exception& e) {
            showError(this, QStringLiteral("Plakett"), e);
            return;
        }
        m_library.AddLibraryItem(
            {file, RenderThumbnail(m_session.contour().outline()), QStringLiteral("User")});
        accept();
    }

    Session& m_session;
    ShapeLibraryWidget& m_library;
    QLineEdit* m_name = nullptr;
};

} // namespace

bool runAddToUserDialog(QWidget* parent, Session& session, ShapeLibraryWidget& library) {
    AddToUserDialog dialog(parent, session, library);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace plakett
