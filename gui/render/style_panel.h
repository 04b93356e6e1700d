#pragma once

#include <QWidget>

#include <filesystem>

namespace plakett {

class Session;

// The "Style:" list of saved styles with their icons; picking one applies it.
class StylePanel : public QWidget {
    Q_OBJECT
  public:
    StylePanel(Session& session, const std::filesystem::path& stylesFolder,
               QWidget* parent = nullptr);

  private:
    Session& m_session;
    std::filesystem::path m_stylesFolder;
};

} // namespace plakett
