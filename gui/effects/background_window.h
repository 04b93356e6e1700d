#pragma once

#include <QWidget>

namespace plakett {

class Session;

class BackgroundWindow : public QWidget {
    Q_OBJECT
  public:
    explicit BackgroundWindow(Session& session, QWidget* parent = nullptr);

  private:
    Session& m_session;
};

} // namespace plakett
