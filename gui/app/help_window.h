// The user guide in a window of the program: rich text with pictures, links between its
// pages, back and forward.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace plakett {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    // `guide` is the guide's first page (an HTML file beside its pictures).
    explicit HelpWindow(const QString& guide, QWidget* parent = nullptr);

    QTextBrowser* browser() const { return m_browser; }
    bool hasGuide() const;
    void showGuide(); // shown, raised, on the start page

  private:
    QString m_guide;
    QTextBrowser* m_browser;
};

} // namespace plakett
