#include "ApplicationIcon.h"

#include <QPainter>
#include <QPixmap>

namespace kestrun {

namespace {

QPixmap DrawCamera(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(QPen(QColor(20, 40, 80), 1.5));
    painter.setBrush(QColor(70, 110, 170));
    painter.drawRoundedRect(QRectF(3, 9, 20, 14), 3, 3);
    painter.drawPolygon(
        QPolygonF({QPointF(23, 13), QPointF(30, 9), QPointF(30, 23), QPointF(23, 19)}));
    painter.setBrush(QColor(230, 240, 255));
    painter.drawEllipse(QPointF(13, 16), 4.5, 4.5);
    return pixmap;
}

} // namespace

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addPixmap(DrawCamera(size));
    }
    return icon;
}

} // namespace kestrun
