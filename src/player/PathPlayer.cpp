#include "player/PathPlayer.h"

#include "desktop/Desktop.h"

#include <algorithm>
#include <cmath>

PathPlayer::PathPlayer(Desktop& desktop, QObject* parent) : QObject(parent), m_desktop(desktop)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &PathPlayer::Next);
}

void PathPlayer::Run(const std::vector<InputTask::PathPoint>& path, QPoint offset, double speed)
{
    m_steps.clear();
    QPoint from(m_desktop.PointerX(), m_desktop.PointerY());
    double at = 0;
    for (const InputTask::PathPoint& point : path) {
        const QPoint to = QPoint(point.x, point.y) + offset;
        const double span = point.ms / std::max(speed, 0.001);
        const int steps = std::max(1, int(std::ceil(span / double(kStep.count()))));
        for (int k = 1; k <= steps; ++k) {
            const double part = double(k) / steps;
            const QPoint between(int(std::lround(from.x() + (to.x() - from.x()) * part)),
                                 int(std::lround(from.y() + (to.y() - from.y()) * part)));
            // A step that goes nowhere is left out, but never a point of the path itself.
            if (k == steps || between != (m_steps.empty() ? from : m_steps.back().to))
                m_steps.push_back({between, qint64(std::llround(at + span * part))});
        }
        at += span;
        from = to;
    }
    m_clock.start();
    Next();
}

void PathPlayer::Next()
{
    if (!IsMoving())
        return;
    while (IsMoving() && m_steps.front().atMs <= m_clock.elapsed()) {
        m_desktop.MovePointer(m_steps.front().to.x(), m_steps.front().to.y());
        m_steps.pop_front();
    }
    if (IsMoving()) {
        ArmTimer();
        return;
    }
    emit moved();
}

void PathPlayer::ArmTimer()
{
    m_timer.start(int(std::max<qint64>(0, m_steps.front().atMs - m_clock.elapsed())));
}

void PathPlayer::Cancel()
{
    m_timer.stop();
    m_steps.clear();
}
