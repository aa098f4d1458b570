#pragma once

#include "player/ScreenCheck.h"

#include <QObject>
#include <QString>

class Desktop;
class TaskList;
class TaskPlacement;
struct SharedState;

// The player's check of the screen before a task, as the options ask for it: a task with an image
// waits until the screen shows it at the task's point, or where it is found instead, and the place
// to click it goes to the task placement. It decides nothing about the run itself: the player hears
// matched() or gaveUp() and goes on, skips the task or stops.
class TaskScreenCheck : public QObject
{
    Q_OBJECT

public:
    TaskScreenCheck(const TaskList& tasks, Desktop& desktop, const SharedState& state, TaskPlacement& placement,
                    QObject* parent = nullptr);

    // The remark to make once at the start when the screen is checked but tasks have no image to
    // check against; empty when there is none to make.
    QString RemarkOnTasksWithoutImages() const;
    // Starts the check before the task at row; true while it waits, and then matched() or gaveUp()
    // follows. A screen that matches at once takes the found place and does not wait.
    bool Waits(int row);
    // Takes where the check found the task's image as the place to click it.
    void TakeFoundPlace();
    // Whether a task whose image never came is skipped; otherwise playback stops there.
    bool SkipsMismatches() const;

    bool IsWaiting() const { return m_check.IsWaiting(); }
    // Ends a wait without a signal.
    void Cancel() { m_check.Cancel(); }
    // The block where the image matched, as the screen showed it.
    const QImage& FoundImage() const { return m_check.FoundImage(); }

signals:
    void matched();
    void gaveUp(const ScreenMismatch& mismatch);

private:
    bool Finds() const;

    const TaskList& m_tasks;
    Desktop& m_desktop;
    const SharedState& m_state;
    TaskPlacement& m_placement;
    ScreenCheck m_check;
};
