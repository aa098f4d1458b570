#include "app/OwnWindowPresses.h"

#include <QApplication>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

OwnWindowPresses::OwnWindowPresses(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool OwnWindowPresses::IsOwn(const ButtonEvent& press) const
{
    if (press.time != 0 && std::find(m_times.begin(), m_times.end(), press.time) != m_times.end())
        return true;
    // The desktop counts device pixels, the toolkit's windows logical ones.
    const qreal ratio = qApp->devicePixelRatio();
    const QPoint point(static_cast<int>(std::lround(press.x / ratio)), static_cast<int>(std::lround(press.y / ratio)));
    return QApplication::topLevelAt(point) != nullptr;
}

bool OwnWindowPresses::eventFilter(QObject* watched, QEvent* event)
{
    // On X11 a mouse event's timestamp is the X server's time of the press, as the desktop reports it.
    if (event->type() == QEvent::MouseButtonPress) {
        const auto time = static_cast<quint32>(static_cast<QMouseEvent*>(event)->timestamp());
        if (std::find(m_times.begin(), m_times.end(), time) == m_times.end()) {
            m_times[m_next] = time;
            m_next = (m_next + 1) % m_times.size();
        }
    }
    return QObject::eventFilter(watched, event);
}
