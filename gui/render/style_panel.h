#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <filesystem>

class QListWidget;
class QListWidgetItem;
template <typename T> class QFutureWatcher;

namespace plakett {

class Session;

// One style's icon as the background loader hands it over; a null icon when the file
// could not be read.
struct StyleIconResult {
    QByteArray name; // the file's style name, as ListStyles gives it
    QImage icon;
};

// The "Style:" list of saved styles with their 32x32 icons; picking one applies it. The
// list is read once; the icons load in the background and arrive one by one.
class StylePanel : public QWidget {
    Q_OBJECT
  public:
    StylePanel(Session& session, const std::filesystem::path& stylesFolder,
               QWidget* parent = nullptr);
    ~StylePanel() override;

    QListWidget* list() const { return m_list; }
    QStringList styleNames() const; // in list order
    bool iconsLoading() const;
    // A style just saved under `name` into the styles folder: listed (or its icon renewed)
    // and selected without being applied again.
    void showSavedStyle(const QString& name);

  signals:
    void iconsLoaded();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fill();
    void startIconLoading(const std::vector<std::string>& names);
    void iconReady(int index);
    void selectionChanged();
    void applyItem(QListWidgetItem* item);

    Session& m_session;
    std::filesystem::path m_stylesFolder;
    QListWidget* m_list = nullptr;
    QFutureWatcher<StyleIconResult>* m_icons = nullptr;
    // The list selects its first item when it is made; that selection only arms the list,
    // so no style is applied at start.
    bool m_armed = false;
    bool m_pressing = false;       // a press on the list that has not been clicked yet
    bool m_appliedOnPress = false; // the selection made by that press applied the style
};

} // namespace plakett
