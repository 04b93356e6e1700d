#include "gui/shape/shape_library.h"

#include "gui/app/session.h"
#include "gui/shape/library_loader.h"
#include "gui/widgets/error_box.h"
#include "shape/shape_file.h"
#include "shape/svg_shape_import.h"
#include "shape/transforms.h"

#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QtConcurrent/QtConcurrentRun>

#include <cstring>
#include <exception>
#include <iostream>
#include <system_error>

namespace plakett {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1;
const QColor kListBackground(192, 192, 192);

QString toQString(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

std::filesystem::path itemPath(const QListWidgetItem* item) {
    return std::filesystem::path(item->data(kPathRole).toString().toStdString());
}

// The list centres an icon in its square, which leaves a flat shape far above its own
// caption and close to the next row's; standing every shape on the square's bottom edge
// keeps each caption right under its shape.
QImage bottomAligned(const QImage& image) {
    int bottom = -1;
    for (int y = image.height() - 1; y >= 0 && bottom < 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 0) {
                bottom = y;
                break;
            }
    }
    const int shift = image.height() - 1 - bottom;
    if (bottom < 0 || shift == 0) return image;
    QImage moved(image.size(), image.format());
    moved.fill(Qt::transparent);
    for (int y = 0; y <= bottom; ++y)
        std::memcpy(moved.scanLine(y + shift), image.constScanLine(y),
                    static_cast<std::size_t>(image.bytesPerLine()));
    return moved;
}

// The thumbnail's bottom-left colour (white for most shapes) lets the list show through.
QIcon thumbnailIcon(const QImage& thumbnail) {
    QImage image = thumbnail.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return {};
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
    }
    return QIcon(QPixmap::fromImage(bottomAligned(image)));
}

QListWidget* makeView(QWidget* parent) {
    auto* view = new QListWidget(parent);
    view->setViewMode(QListView::IconMode);
    view->setIconSize(QSize(64, 64));
    // Two lines of text under each picture: long names wrap rather than end in "...".
    view->setGridSize(QSize(98, 64 + 2 * view->fontMetrics().lineSpacing() + 12));
    view->setTextElideMode(Qt::ElideNone);
    view->setMovement(QListView::Static);
    view->setResizeMode(QListView::Adjust);
    view->setWrapping(true);
    view->setWordWrap(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, kListBackground);
    view->setPalette(palette);
    return view;
}

} // namespace

ShapeLibraryWidget::ShapeLibraryWidget(Session& session, const std::filesystem::path& dataFolder,
                                       QWidget* parent)
    : QTabWidget(parent), m_session(session), m_dataFolder(dataFolder) {
    for (std::size_t i = 0; i < m_views.size(); ++i) {
        m_views[i] = makeView(this);
        m_views[i]->setObjectName(QStringLiteral("ListView%1").arg(i + 1));
        addTab(m_views[i], QString::fromLatin1(kLibraryFolders[i]));
        // A double-click loads, never a single click (whatever the desktop's activation
        // setting), and Return does for the keyboard.
        connect(m_views[i], &QListWidget::itemDoubleClicked, this,
                [this](QListWidgetItem* item) { loadItem(item); });
        m_views[i]->installEventFilter(this);
    }
    QListWidget* user = m_views[2];
    user->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(user, &QWidget::customContextMenuRequested, this, &ShapeLibraryWidget::showUserMenu);
    // A hidden tab keeps no selection.
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        for (std::size_t i = 0; i < m_views.size(); ++i)
            if (static_cast<int>(i) != index) m_views[i]->clearSelection();
    });
    startLoader();
}

ShapeLibraryWidget::~ShapeLibraryWidget() {
    m_cancel = true;
    m_loader.waitForFinished();
}

std::filesystem::path ShapeLibraryWidget::userFolder() const {
    return m_dataFolder / "User";
}

// Results come back as queued calls; the destructor waits for the worker, so `this` outlives
// every call it posts, and calls still queued are dropped with the widget.
void ShapeLibraryWidget::startLoader() {
    m_loading = true;
    m_loader = QtConcurrent::run([this, data = m_dataFolder] {
        for (const char* folder : kLibraryFolders) {
            for (const std::filesystem::path& file : libraryFiles(data / folder)) {
                if (m_cancel) return;
                std::string problem;
                std::optional<LibraryEntry> entry =
                    loadLibraryEntry(file, QString::fromLatin1(folder), problem);
                if (!entry) {
                    std::cerr << "plakett: skipped library shape: " << problem << "\n";
                    QMetaObject::invokeMethod(
                        this, [this, p = QString::fromStdString(problem)] { m_skipped << p; },
                        Qt::QueuedConnection);
                    continue;
                }
                QMetaObject::invokeMethod(
                    this, [this, e = std::move(*entry)] { AddLibraryItem(e); },
                    Qt::QueuedConnection);
            }
        }
        QMetaObject::invokeMethod(
            this, [this] { finishLoading(); }, Qt::QueuedConnection);
    });
}

void ShapeLibraryWidget::finishLoading() {
    m_loading = false;
    emit loadingFinished();
}

void ShapeLibraryWidget::AddLibraryItem(const LibraryEntry& entry) {
    QListWidget* view = entry.folder == QLatin1String("Buttons") ? m_views[0]
                        : entry.folder == QLatin1String("Other") ? m_views[1]
                                                                 : m_views[2];
    const QString path = toQString(entry.path);
    const QIcon icon = thumbnailIcon(entry.thumbnail);
    for (int i = 0; i < view->count(); ++i) {
        if (view->item(i)->data(kPathRole).toString() == path) {
            view->item(i)->setIcon(icon);
            return;
        }
    }
    auto* item = new QListWidgetItem(icon, toQString(entry.path.stem()), view);
    item->setData(kPathRole, path);
    item->setData(kFolderRole, entry.folder);
    item->setToolTip(item->text());
}

QListWidgetItem* ShapeLibraryWidget::selectedItem() const {
    for (QListWidget* view : m_views) {
        const QList<QListWidgetItem*> selected = view->selectedItems();
        if (!selected.isEmpty()) return selected.front();
    }
    return nullptr;
}

bool ShapeLibraryWidget::loadItem(QListWidgetItem* item) {
    if (!item || m_session.renderMode()) return false;
    const std::filesystem::path path = itemPath(item);
    try {
        std::vector<TMoveBox> check; // read once first so that a bad file leaves the zoom alone
        LoadAnyShapeFile(path, check);
        ActualSize(m_session.contour(), m_session.zoom());
        m_session.importShape(path);
    } catch (const std::exception& e) {
        m_session.shapeEdited();
        showError(this, QStringLiteral("Plakett"), e);
        return false;
    }
    emit shapeLoaded();
    return true;
}

bool ShapeLibraryWidget::deleteUserItem(QListWidgetItem* item) {
    if (!item || item->listWidget() != m_views[2]) return false;
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, QStringLiteral("Delete..."),
                              QStringLiteral("Are you sure you want to delete shape ") +
                                  item->text() + QStringLiteral("?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) return false;
    std::error_code ec;
    std::filesystem::remove(itemPath(item), ec);
    if (ec) {
        QMessageBox::critical(
            this, QStringLiteral("Plakett"),
            QStringLiteral("Cannot delete %1: %2")
                .arg(toQString(itemPath(item)), QString::fromStdString(ec.message())));
        return false;
    }
    delete item;
    m_views[2]->clearSelection();
    return true;
}

bool ShapeLibraryWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* view = qobject_cast<QListWidget*>(watched);
        if (view && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            if (QListWidgetItem* item = view->currentItem(); item && item->isSelected())
                loadItem(item);
            return true;
        }
    }
    if (watched == m_views[2] && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        const QList<QListWidgetItem*> selected = m_views[2]->selectedItems();
        if (!selected.isEmpty()) deleteUserItem(selected.front());
        return true;
    }
    return QTabWidget::eventFilter(watched, event);
}

void ShapeLibraryWidget::showUserMenu(const QPoint& pos) {
    QListWidgetItem* item = m_views[2]->itemAt(pos);
    if (!item) return;
    QMenu menu(this);
    QAction* remove = menu.addAction(QStringLiteral("Delete"));
    if (menu.exec(m_views[2]->viewport()->mapToGlobal(pos)) == remove) deleteUserItem(item);
}

} // namespace plakett
