#pragma once

#include <QWidget>

namespace plakett {

class Session;

class ResultView : public QWidget {
    Q_OBJECT
  public:
    explicit ResultView(Session& session, QWidget* parent = nullptr);

  private:
    Session& m_session;
};

} // namespace plakett
