#pragma once

#include <QTabWidget>

#include <filesystem>

namespace plakett {

class Session;

// The "Buttons", "Other" and "User" tabs of shapes beside the program.
class ShapeLibraryWidget : public QTabWidget {
    Q_OBJECT
  public:
    ShapeLibraryWidget(Session& session, const std::filesystem::path& dataFolder,
                       QWidget* parent = nullptr);

  private:
    Session& m_session;
    std::filesystem::path m_dataFolder;
};

} // namespace plakett
