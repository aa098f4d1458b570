#pragma once

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

// A wallpaper such as screens show: gradients in two directions and anti-aliased text.
inline QImage Wallpaper(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient across(0, 0, size.width(), size.height());
    across.setColorAt(0, QColor(20, 60, 140));
    across.setColorAt(0.5, QColor(230, 120, 40));
    across.setColorAt(1, QColor(250, 250, 220));
    painter.fillRect(image.rect(), across);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 40));
    painter.setPen(Qt::white);
    painter.drawText(QRect(40, 300, 1200, 200), Qt::AlignCenter, QStringLiteral("Grüße — Clickwarden"));
    return image;
}

// A pixel in the program's colours: red in the low byte, then green, then blue.
inline quint32 ColourOf(QRgb pixel)
{
    return static_cast<quint32>(qRed(pixel)) | static_cast<quint32>(qGreen(pixel)) << 8 |
           static_cast<quint32>(qBlue(pixel)) << 16;
}
