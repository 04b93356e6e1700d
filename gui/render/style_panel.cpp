#include "gui/render/style_panel.h"

#include "effects/style_file.h"
#include "gui/app/session.h"
#include "gui/widgets/error_box.h"
#include "gui/widgets/picture_convert.h"

#include <QEvent>
#include <QFutureWatcher>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <utility>

namespace plakett {

namespace {

constexpr int kIconSize = kStyleThumbnailSize;
constexpr int kPanelWidth = 220;
constexpr int kPanelMinimumWidth = 174;

// Case-insensitive order, exact order among names that differ only in case.
bool styleNameLess(const std::string& a, const std::string& b) {
    const QString qa = QString::fromStdString(a);
    const QString qb = QString::fromStdString(b);
    const int c = qa.compare(qb, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

StyleIconResult loadIcon(const std::filesystem::path& folder, const std::string& name) {
    StyleIconResult result{QByteArray::fromStdString(name), {}};
    try {
        result.icon = toQImage(readStyleIcon(styleFilePath(folder, name)));
    } catch (const std::exception&) {
        // A style that cannot be read simply shows no icon.
    }
    return result;
}

} // namespace

StylePanel::StylePanel(Session& session, const std::filesystem::path& stylesFolder, QWidget* parent)
    : QWidget(parent), m_session(session), m_stylesFolder(stylesFolder) {
    m_list = new QListWidget(this);
    m_list->setObjectName("StyleSelect");
    m_list->setViewMode(QListView::IconMode);
    m_list->setIconSize(QSize(kIconSize, kIconSize));
    // Two lines of text under each icon: long names wrap rather than end in "...".
    m_list->setGridSize(QSize(84, 36 + 2 * m_list->fontMetrics().lineSpacing() + 6));
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setMovement(QListView::Static);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setWordWrap(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(new QLabel("Style:", this));
    layout->addWidget(m_list, 1);
    setMinimumWidth(kPanelMinimumWidth);
    resize(kPanelWidth, height());

    connect(m_list, &QListWidget::itemSelectionChanged, this, &StylePanel::selectionChanged);
    // A click applies its style also when the style is selected already: the lights may have
    // changed since (Generate, the sliders).
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        m_pressing = false;
        if (!std::exchange(m_appliedOnPress, false)) applyItem(item);
    });
    m_list->viewport()->installEventFilter(this);
    // A replaced design shows no style as chosen, so a click on any style applies it.
    connect(&m_session, &Session::documentReplaced, this, [this] {
        const QSignalBlocker block(m_list);
        m_list->clearSelection();
        m_list->setCurrentItem(nullptr);
    });
    fill();
}

StylePanel::~StylePanel() {
    if (m_icons != nullptr) {
        m_icons->disconnect(this);
        m_icons->cancel();
        m_icons->waitForFinished();
    }
}

void StylePanel::fill() {
    std::vector<std::string> names = ListStyles(m_stylesFolder);
    std::sort(names.begin(), names.end(), styleNameLess);
    for (const std::string& name : names) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), m_list);
        item->setData(Qt::UserRole, QByteArray::fromStdString(name));
        item->setToolTip(item->text());
    }
    if (m_list->count() > 0) m_list->setCurrentRow(0);
    startIconLoading(names);
}

void StylePanel::startIconLoading(const std::vector<std::string>& names) {
    m_icons = new QFutureWatcher<StyleIconResult>(this);
    connect(m_icons, &QFutureWatcher<StyleIconResult>::resultReadyAt, this, &StylePanel::iconReady);
    connect(m_icons, &QFutureWatcher<StyleIconResult>::finished, this, &StylePanel::iconsLoaded);
    const std::filesystem::path folder = m_stylesFolder;
    m_icons->setFuture(QtConcurrent::mapped(
        names, [folder](const std::string& name) { return loadIcon(folder, name); }));
}

void StylePanel::iconReady(int index) {
    const StyleIconResult result = m_icons->resultAt(index);
    if (result.icon.isNull()) return;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        if (item->data(Qt::UserRole).toByteArray() != result.name) continue;
        item->setIcon(QIcon(QPixmap::fromImage(result.icon)));
        return;
    }
}

bool StylePanel::iconsLoading() const {
    return m_icons != nullptr && m_icons->isRunning();
}

QStringList StylePanel::styleNames() const {
    QStringList names;
    for (int row = 0; row < m_list->count(); ++row)
        names << m_list->item(row)->text();
    return names;
}

void StylePanel::selectionChanged() {
    if (!m_armed) {
        m_armed = true;
        return;
    }
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) return;
    // The click that ends this press has been served.
    m_appliedOnPress = m_pressing;
    applyItem(selected.front());
}

bool StylePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress) {
        m_pressing = true;
        m_appliedOnPress = false;
    }
    return QWidget::eventFilter(watched, event);
}

void StylePanel::showSavedStyle(const QString& name) {
    const QByteArray key = name.toUtf8();
    QListWidgetItem* item = nullptr;
    int row = 0;
    for (; row < m_list->count(); ++row) {
        QListWidgetItem* at = m_list->item(row);
        if (at->data(Qt::UserRole).toByteArray() == key) {
            item = at;
            break;
        }
        if (!styleNameLess(at->data(Qt::UserRole).toByteArray().toStdString(), key.toStdString()))
            break;
    }
    if (item == nullptr) {
        item = new QListWidgetItem(name);
        item->setData(Qt::UserRole, key);
        item->setToolTip(name);
        m_list->insertItem(row, item);
    }
    const StyleIconResult icon = loadIcon(m_stylesFolder, key.toStdString());
    if (!icon.icon.isNull()) item->setIcon(QIcon(QPixmap::fromImage(icon.icon)));
    // Shown as chosen; its lights are the editor's already.
    const QSignalBlocker block(m_list);
    m_armed = true;
    m_list->setCurrentItem(item);
    m_list->scrollToItem(item);
}

void StylePanel::applyItem(QListWidgetItem* item) {
    const std::string name = item->data(Qt::UserRole).toByteArray().toStdString();
    try {
        m_session.applyStyle(styleFilePath(m_stylesFolder, name));
    } catch (const std::exception& e) {
        showError(this, QStringLiteral("Error"), e);
    }
}

} // namespace plakett
