#pragma once

#include <QWidget>

namespace plakett {

class Session;

class ConturWidget : public QWidget {
    Q_OBJECT
  public:
    explicit ConturWidget(Session& session, QWidget* parent = nullptr);

  private:
    Session& m_session;
};

} // namespace plakett
