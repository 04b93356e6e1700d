// The last eight projects opened or saved, newest first, shown in a File submenu. The one
// thing the program keeps between runs; no design setting is ever stored with it.
#pragma once

#include <QMenu>
#include <QObject>
#include <QStringList>

namespace plakett {

class RecentProjects : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxCount = 8;

    explicit RecentProjects(QMenu* menu, QObject* parent = nullptr);

    const QStringList& files() const { return m_files; }
    void add(const QString& path);    // moves it to the top
    void remove(const QString& path); // a file that could not be opened

    // Pure list rule, shared with the stored list: newest first, no duplicates, at most eight.
    static QStringList pushed(QStringList files, const QString& path);

  signals:
    void openRequested(const QString& path);

  private:
    void store() const;
    void rebuildMenu();

    QMenu* m_menu;
    QStringList m_files;
};

} // namespace plakett
