#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class Run;
class StatusIndicator;

// Shows what runs in the status indicator, paced: a start or an end at once, progress at most
// every so often. The indicator's Stop does what the stop keys do, and no task runs while its
// menu is open.
class RunStatusDisplay : public QObject
{
    Q_OBJECT

public:
    // indicator: the one to show in; one of its own, a child of this, where none is given.
    RunStatusDisplay(Run* run, StatusIndicator* indicator, QObject* parent = nullptr);

    const StatusIndicator& Indicator() const { return *m_indicator; }
    // Shows what runs now, or holds it back when progress came too soon after the last.
    void ShowStatus();

signals:
    // The indicator shows a new status: the caption follows.
    void shown();

private:
    void MenuShown(bool shown);

    Run* m_run;
    StatusIndicator* m_indicator;
    QTimer m_pacing; // shows progress held back once the tasks have paused
    QElapsedTimer m_shown;
    bool m_pending = false;
};
