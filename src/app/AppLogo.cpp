#include "app/AppLogo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace AppLogo {

// The same picture as the desktop icon (packaging/clickwarden.svg), painted on its 128 x 128 grid.
QPixmap Pixmap(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 128.0, side / 128.0);

    const QColor outline(0x3b, 0x46, 0x50);
    QLinearGradient body(0, 14, 0, 114);
    body.setColorAt(0, QColor(0xf4, 0xf6, 0xf8));
    body.setColorAt(1, QColor(0xc5, 0xcc, 0xd4));
    painter.setPen(QPen(outline, 4));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(30, 14, 60, 100), 30, 30);

    QPainterPath leftButton;
    leftButton.moveTo(32, 52);
    leftButton.lineTo(32, 44);
    leftButton.arcTo(QRectF(32, 16, 56, 56), 180, -90);
    leftButton.lineTo(58, 52);
    leftButton.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x4f, 0x8f, 0xd8));
    painter.drawPath(leftButton);

    painter.setPen(QPen(outline, 4));
    painter.drawLine(QPointF(60, 14), QPointF(60, 54));
    painter.drawLine(QPointF(30, 54), QPointF(90, 54));

    // The recording dot.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(96, 96), 22, 22);
    painter.setBrush(QColor(0xd6, 0x2f, 0x2f));
    painter.drawEllipse(QPointF(96, 96), 18, 18);
    return pixmap;
}

QIcon Icon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(Pixmap(side));
    return icon;
}

} // namespace AppLogo
