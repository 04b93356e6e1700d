#pragma once

#include <QWidget>

namespace plakett {

class Session;

class TextWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TextWindow(Session& session, QWidget* parent = nullptr);

  private:
    Session& m_session;
};

} // namespace plakett
