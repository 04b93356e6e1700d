// The "Buttons", "Other" and "User" tabs: thumbnails of the shape files in those folders of
// the data folder, loaded in the background; a double-click loads a shape into the editor,
// shapes in the User tab can be deleted.
#pragma once

#include <QFuture>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTabWidget>

#include <array>
#include <atomic>
#include <filesystem>

class QListWidget;
class QListWidgetItem;

namespace plakett {

class Session;

// What stands behind one list item.
struct LibraryEntry {
    std::filesystem::path path;
    QImage thumbnail; // 64 x 64
    QString folder;   // "Buttons", "Other" or "User"
};

class ShapeLibraryWidget : public QTabWidget {
    Q_OBJECT
  public:
    // Starts the background loader at once.
    ShapeLibraryWidget(Session& session, const std::filesystem::path& dataFolder,
                       QWidget* parent = nullptr);
    ~ShapeLibraryWidget() override; // stops the loader and waits for it

    std::filesystem::path userFolder() const;
    // Appends the entry to the view of its folder ("Buttons", "Other", anything else: User);
    // an entry whose file is already listed there only gets the new thumbnail.
    void AddLibraryItem(const LibraryEntry& entry);

    QListWidget* view(int tab) const { return m_views.at(static_cast<std::size_t>(tab)); }
    bool loading() const { return m_loading; }
    // Why each damaged file of the last load was left out, one line per file.
    const QStringList& skippedFiles() const { return m_skipped; }
    // The item last selected in any view (none after a deselection or a tab change).
    QListWidgetItem* selectedItem() const;

    // Actual size, then the item's shape into the editor, then centred. An unreadable file is
    // reported and changes nothing. Returns whether the shape was loaded.
    bool loadItem(QListWidgetItem* item);
    // Asks, then deletes the User item's file and the item. Returns whether it was deleted.
    bool deleteUserItem(QListWidgetItem* item);

  signals:
    void loadingFinished();
    // A library shape went into the editor (the session's shapeChanged was emitted too).
    void shapeLoaded();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void startLoader();
    void finishLoading();
    void showUserMenu(const QPoint& pos);

    Session& m_session;
    std::filesystem::path m_dataFolder;
    std::array<QListWidget*, 3> m_views{};
    QFuture<void> m_loader;
    std::atomic<bool> m_cancel{false};
    QStringList m_skipped;
    bool m_loading = false;
};

} // namespace plakett
