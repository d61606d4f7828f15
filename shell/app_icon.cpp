#include "shell/app_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tamix {

QPixmap AppIcon::pixmap(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 64.0;
    // A note card with a folded corner and a small tree on it.
    QPainterPath card;
    card.moveTo(8 * s, 4 * s);
    card.lineTo(44 * s, 4 * s);
    card.lineTo(56 * s, 16 * s);
    card.lineTo(56 * s, 60 * s);
    card.lineTo(8 * s, 60 * s);
    card.closeSubpath();
    QLinearGradient fill(0, 0, 0, size);
    fill.setColorAt(0, QColor(0xff, 0xf3, 0xb0));
    fill.setColorAt(1, QColor(0xf5, 0xd7, 0x6e));
    p.setPen(QPen(QColor(0x8d, 0x6e, 0x00), 2 * s));
    p.setBrush(fill);
    p.drawPath(card);
    p.setBrush(QColor(0xe0, 0xc0, 0x50));
    p.drawPolygon(QPolygonF({QPointF(44 * s, 4 * s), QPointF(44 * s, 16 * s), QPointF(56 * s, 16 * s)}));
    p.setPen(QPen(QColor(0x1e, 0x5a, 0x9c), 3 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18 * s, 20 * s), QPointF(18 * s, 48 * s));
    p.drawLine(QPointF(18 * s, 30 * s), QPointF(30 * s, 30 * s));
    p.drawLine(QPointF(18 * s, 48 * s), QPointF(30 * s, 48 * s));
    p.setBrush(QColor(0x1e, 0x5a, 0x9c));
    p.setPen(Qt::NoPen);
    for (QPointF c : {QPointF(18, 18), QPointF(34, 30), QPointF(34, 48), QPointF(44, 39)})
        p.drawEllipse(QPointF(c.x() * s, c.y() * s), 4 * s, 4 * s);
    p.setPen(QPen(QColor(0x1e, 0x5a, 0x9c), 3 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(34 * s, 30 * s), QPointF(34 * s, 39 * s));
    p.drawLine(QPointF(34 * s, 39 * s), QPointF(44 * s, 39 * s));
    return pm;
}

QIcon AppIcon::icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(pixmap(size));
    return icon;
}

QPixmap AppIcon::splash() {
    QPixmap pm(420, 220);
    pm.fill(QColor(0xfb, 0xf8, 0xef));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x8d, 0x6e, 0x00), 2));
    p.drawRect(pm.rect().adjusted(1, 1, -2, -2));
    p.drawPixmap(28, 46, pixmap(128));
    QFont title = p.font();
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0x1e, 0x5a, 0x9c));
    p.drawText(QRect(176, 58, 230, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tamix"));
    QFont line = p.font();
    line.setPixelSize(15);
    line.setBold(false);
    p.setFont(line);
    p.setPen(QColor(0x55, 0x55, 0x55));
    p.drawText(QRect(178, 116, 230, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Your notes as a tree, in one file."));
    return pm;
}

}  // namespace tamix
