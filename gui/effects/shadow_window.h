#pragma once

#include <QWidget>

namespace plakett {

class Session;

class ShadowWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ShadowWindow(Session& session, QWidget* parent = nullptr);

  private:
    Session& m_session;
};

} // namespace plakett
