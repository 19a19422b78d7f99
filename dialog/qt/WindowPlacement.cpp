#include "WindowPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kestrun {

QPoint FramePosition(const QSize& frame, const QRect& available) {
    const int x = available.x() + std::max(0, (available.width() - frame.width()) / 2);
    const int y = available.y() + std::max(0, (available.height() - frame.height()) / 2);
    return {x, y};
}

void PlaceOnScreen(QWidget& window) {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QSize frame = window.size() + QSize(0, 2 * window.fontMetrics().height());
    // A window's position is its frame's: the window manager puts the title bar there.
    window.move(FramePosition(frame, screen->availableGeometry()));
}

} // namespace kestrun
