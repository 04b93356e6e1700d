// The three rendered states side by side, "Mouse Off", "Mouse Over", "Mouse Down", on the
// background colour. It only shows: nothing in it can be selected or edited.
#pragma once

#include <QImage>
#include <QWidget>

#include <array>

namespace plakett {

class Session;

class ResultView : public QWidget {
    Q_OBJECT
  public:
    explicit ResultView(Session& session, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Where state `index` is drawn (empty before the first render).
    QRect imageRect(int index) const;
    QColor backgroundColor() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void takeStates();

    Session& m_session;
    std::array<QImage, 3> m_images;
};

} // namespace plakett
