#include "core/ProductLogo.h"

#include <QPainter>

namespace quorl {

// A harbour mark of our own: a blue disc with a white anchor.
QPixmap productLogo()
{
    QPixmap pixmap(96, 96);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x1f, 0x4e, 0x79));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(4, 4, 88, 88);
    QPen pen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(48, 24), 7, 7);
    painter.drawLine(QPointF(48, 31), QPointF(48, 76));
    painter.drawLine(QPointF(34, 40), QPointF(62, 40));
    painter.drawArc(QRectF(24, 46, 48, 32), 180 * 16, 180 * 16);
    return pixmap;
}

} // namespace quorl
