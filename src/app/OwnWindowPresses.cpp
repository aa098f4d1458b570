#include "app/OwnWindowPresses.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

OwnWindowPresses::OwnWindowPresses(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool OwnWindowPresses::Remembers(quint32 time) const
{
    return time != 0 && std::find(m_times.begin(), m_times.end(), time) != m_times.end();
}

void OwnWindowPresses::Remember(quint32 time)
{
    if (Remembers(time))
        return;
    m_times[m_next] = time;
    m_next = (m_next + 1) % m_times.size();
}

bool OwnWindowPresses::IsOwnKey(const InputEvent& press) const
{
    return Remembers(press.time) || QGuiApplication::focusWindow() != nullptr;
}

bool OwnWindowPresses::IsOwn(const ButtonEvent& press) const
{
    if (Remembers(press.time))
        return true;
    // The desktop counts device pixels, the toolkit's windows logical ones.
    const qreal ratio = qApp->devicePixelRatio();
    const QPoint point(static_cast<int>(std::lround(press.x / ratio)), static_cast<int>(std::lround(press.y / ratio)));
    return QApplication::topLevelAt(point) != nullptr;
}

bool OwnWindowPresses::eventFilter(QObject* watched, QEvent* event)
{
    // On X11 a mouse event's timestamp is the X server's time of the press, as the desktop reports it.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
        Remember(static_cast<quint32>(static_cast<QInputEvent*>(event)->timestamp()));
    return QObject::eventFilter(watched, event);
}
