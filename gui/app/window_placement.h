// Where a tool window opens: fully on the screen, off the state images when there is room
// beside or below them, and off the tool windows already open.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace plakett {

// `frame` is the window's outer size, `screen` the available geometry of the main window's
// screen, `avoid` the state images (with their captions), `taken` the open tool windows.
QPoint toolWindowPosition(QSize frame, const QRect& screen, const QRect& avoid,
                          const std::vector<QRect>& taken);

// The same for a real window: its frame (title bar included when a window manager draws
// one) is what must fit.
void placeToolWindow(QWidget* window, const QRect& screen, const QRect& avoid,
                     const std::vector<QRect>& taken);

} // namespace plakett
