#pragma once

#include <QWidget>

namespace plakett {

class Session;

class GlyphWindow : public QWidget {
    Q_OBJECT
  public:
    explicit GlyphWindow(Session& session, QWidget* parent = nullptr);

  private:
    Session& m_session;
};

} // namespace plakett
