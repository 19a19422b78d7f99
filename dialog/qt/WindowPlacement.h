#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace kestrun {

// Where a window's frame goes on `available` (a screen less its panels): centred, but never
// with its top or left edge outside, so that the title bar can always be grabbed, even when the
// window is taller than the screen.
QPoint FramePosition(const QSize& frame, const QRect& available);

// Places the not yet shown `window` on the screen that holds the mouse pointer. The window
// manager adds the frame only when the window is shown; until then a title bar of two text
// lines is assumed.
void PlaceOnScreen(QWidget& window);

} // namespace kestrun
