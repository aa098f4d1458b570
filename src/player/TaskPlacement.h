#pragma once

#include "core/MouseButton.h"
#include "tasks/TaskKinds.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>

#include <map>

// Where a run clicks its tasks when the screen check finds their images away from their points:
// the running task's offset, where the last image was found (the next is looked for there first),
// where each held button's press was found (its release follows it), and every place found.
class TaskPlacement
{
public:
    // A task found away from its point: the offset, the screen there (null for the release of a
    // drag, which follows its press unlooked) and the image it was looked for by.
    struct FoundPlace
    {
        QPoint offset;
        QImage screen;
        QByteArray storedImage;
    };

    // A new run: nothing found yet.
    void Reset();
    // The next task starts at its own point.
    void BeginTask() { m_taskOffset = QPoint(); }
    QPoint TaskOffset() const { return m_taskOffset; }
    // Where the next image is looked for first.
    QPoint FindFrom() const { return m_findFrom; }

    // The check found the task's image this far from its point; with find on, the next task is
    // looked for there first.
    void Found(QPoint offset, bool find);
    // A release is decided by its press: it goes where the press was found, with find on.
    void FollowPress(MouseButton button, bool find);
    // The task is being played at TaskOffset(): a press keeps its offset for its release, and a task
    // away from its point is kept as found. True when it was.
    bool Played(int row, TaskKinds::Action action, MouseButton button, const QImage& screen,
                const QByteArray& storedImage);

    // Where a held button's press was played away from its point: a path of the drag follows it.
    QPoint HeldOffset() const { return m_pressOffsets.empty() ? QPoint() : m_pressOffsets.begin()->second; }

    const FoundPlace* FoundAt(int row) const;
    qint64 FoundElsewhere() const { return m_foundElsewhere; }

private:
    QPoint m_taskOffset;
    QPoint m_findFrom;
    std::map<MouseButton, QPoint> m_pressOffsets;
    qint64 m_foundElsewhere = 0;
    std::map<int, FoundPlace> m_found;
};
