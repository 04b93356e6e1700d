#include "gui/app/recent_projects.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace plakett {
namespace {

const QString kKey = QStringLiteral("recentProjects");

} // namespace

RecentProjects::RecentProjects(QMenu* menu, QObject* parent) : QObject(parent), m_menu(menu) {
    const QSettings settings;
    for (const QString& f : settings.value(kKey).toStringList())
        m_files = pushed(m_files, f);
    std::reverse(m_files.begin(), m_files.end()); // pushed() put the oldest first
    rebuildMenu();
}

QStringList RecentProjects::pushed(QStringList files, const QString& path) {
    const QString clean = QFileInfo(path).absoluteFilePath();
    files.removeAll(clean);
    files.prepend(clean);
    while (files.size() > kMaxCount)
        files.removeLast();
    return files;
}

void RecentProjects::add(const QString& path) {
    m_files = pushed(m_files, path);
    store();
    rebuildMenu();
}

void RecentProjects::remove(const QString& path) {
    m_files.removeAll(QFileInfo(path).absoluteFilePath());
    store();
    rebuildMenu();
}

void RecentProjects::store() const {
    QSettings settings;
    settings.setValue(kKey, m_files);
}

void RecentProjects::rebuildMenu() {
    m_menu->clear();
    for (int i = 0; i < m_files.size(); ++i) {
        const QString path = m_files[i];
        const QString label = QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName());
        QAction* a = m_menu->addAction(label, this, [this, path] { emit openRequested(path); });
        a->setToolTip(QDir::toNativeSeparators(path));
        a->setStatusTip(QDir::toNativeSeparators(path));
    }
    m_menu->setEnabled(!m_files.isEmpty());
}

} // namespace plakett
