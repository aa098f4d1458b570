#include "xdriver/LogWindow.h"

#include <QMouseEvent>
#include <QPainter>

LogWindow::LogWindow(const QRect& area)
    : QWidget(nullptr, Qt::Window | Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint |
                           Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      m_pattern(area.size(), QImage::Format_RGB32)
{
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x)
            m_pattern.setPixel(x, y, Rgb(area.topLeft() + QPoint(x, y)));
    }
    setGeometry(area);
}

quint32 LogWindow::Colour(QPoint at)
{
    const auto x = static_cast<quint32>(at.x());
    const auto y = static_cast<quint32>(at.y());
    return (x & 0xff) | ((y & 0xff) << 8) | ((((x >> 8) & 0x0f) | (((y >> 8) & 0x0f) << 4)) << 16);
}

QRgb LogWindow::Rgb(QPoint at)
{
    const quint32 colour = Colour(at);
    return qRgb(int(colour & 0xff), int((colour >> 8) & 0xff), int(colour >> 16));
}

void LogWindow::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, m_pattern);
}

void LogWindow::Log(const char* kind, const QMouseEvent* event)
{
    const QPoint at = event->globalPosition().toPoint();
    m_events << QStringLiteral("%1 %2 %3,%4")
                    .arg(QLatin1String(kind))
                    .arg(static_cast<int>(event->button()))
                    .arg(at.x())
                    .arg(at.y());
}
