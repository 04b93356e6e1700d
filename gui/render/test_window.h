// "Test": the rendered button as a page would show it, normal, hot under the pointer and
// pushed while the left button is held on it.
#pragma once

#include <QDialog>
#include <QImage>

#include <array>

namespace plakett {

class Session;

// The picture inside the test window; it owns the hot/pushed state machine. Pure white pixels
// count as outside the button.
class TestButtonView : public QWidget {
    Q_OBJECT
  public:
    TestButtonView(std::array<QImage, 3> states, QWidget* parent = nullptr);

    int shownState() const { return m_shown; }
    bool hot() const { return m_hot; }
    bool pressed() const { return m_pressed; }
    QRect pictureRect() const;

    // The handlers, in picture coordinates.
    void pointerMoved(QPoint p);
    void buttonPressed(Qt::MouseButton button, QPoint p);
    void buttonReleased(Qt::MouseButton button, QPoint p);
    void pointerLeft();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    bool onButton(QPoint p) const;
    void showState(int state);
    void dispatchMove(QPoint widgetPos);

    std::array<QImage, 3> m_states;
    int m_shown = 0;
    bool m_hot = false;
    bool m_pressed = false;
};

class TestWindow : public QDialog {
    Q_OBJECT
  public:
    explicit TestWindow(Session& session, QWidget* parent = nullptr);
    TestButtonView* view() const { return m_view; }

  private:
    TestButtonView* m_view = nullptr;
};

} // namespace plakett
