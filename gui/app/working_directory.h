// Every file dialog and file operation of the windows leaves the working directory as it
// found it: the shape folders, styles and the start-up snapshot are addressed through it.
#pragma once

#include <filesystem>
#include <system_error>

namespace plakett {

class WorkingDirectoryKeeper {
  public:
    WorkingDirectoryKeeper() { m_saved = std::filesystem::current_path(m_error); }
    ~WorkingDirectoryKeeper() {
        std::error_code ec;
        if (!m_error && std::filesystem::current_path(ec) != m_saved)
            std::filesystem::current_path(m_saved, ec);
    }
    WorkingDirectoryKeeper(const WorkingDirectoryKeeper&) = delete;
    WorkingDirectoryKeeper& operator=(const WorkingDirectoryKeeper&) = delete;

  private:
    std::filesystem::path m_saved;
    std::error_code m_error;
};

} // namespace plakett
