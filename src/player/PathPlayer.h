#pragma once

#include "tasks/InputTask.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QTimer>

#include <chrono>
#include <deque>

class Desktop;

// Moves the pointer along a path task at its recorded pace, divided by the speed, on a timer of its
// own so that the window's thread never waits. Between two points of the path the pointer goes in
// short straight steps, as the hand went between the points the recording kept; moved() says when
// the last point is reached.
class PathPlayer : public QObject
{
    Q_OBJECT

public:
    // The longest time between two moves: about one frame of a 60 Hz screen.
    static constexpr std::chrono::milliseconds kStep{16};

    explicit PathPlayer(Desktop& desktop, QObject* parent = nullptr);

    // Starts from where the pointer is; every point is moved by offset (where the press was found).
    void Run(const std::vector<InputTask::PathPoint>& path, QPoint offset, double speed);
    bool IsMoving() const { return !m_steps.empty(); }
    // Makes the moves that are due, and says moved() after the last; the timer runs it.
    void Next();
    void Cancel();

signals:
    void moved();

private:
    struct Step
    {
        QPoint to;
        qint64 atMs = 0; // since the start
    };

    void ArmTimer();

    Desktop& m_desktop;
    QTimer m_timer;
    QElapsedTimer m_clock;
    std::deque<Step> m_steps;
};
