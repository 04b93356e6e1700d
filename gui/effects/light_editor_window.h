#pragma once

#include <QWidget>

namespace plakett {

class Session;

class LightEditorWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LightEditorWindow(Session& session, QWidget* parent = nullptr);

  private:
    Session& m_session;
};

} // namespace plakett
