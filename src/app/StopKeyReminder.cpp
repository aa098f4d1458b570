#include "app/StopKeyReminder.h"

#include <QEvent>
#include <QWindow>

namespace StopKeyReminder {

namespace {

class StateReportFilter : public QObject
{
public:
    StateReportFilter(QWindow* window, std::function<void(bool)> report)
        : QObject(window), m_window(window), m_report(std::move(report))
    {}

protected:
    // A state the window system reports comes to the window as a spontaneous event, and before the
    // widget hears of it.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::WindowStateChange && event->spontaneous())
            m_report(m_window->windowStates().testFlag(Qt::WindowMinimized));
        return QObject::eventFilter(watched, event);
    }

private:
    QWindow* m_window;
    std::function<void(bool)> m_report;
};
} // namespace

Answer AnswerChange(const WindowChange& change)
{
    if (change.minimised)
        return Answer::Nothing;
    if (!change.recording && !change.playing)
        return Answer::LayOut;
    // A window the program minimised itself goes down as the window manager gets round to it.
    return change.restoredByUser ? Answer::RemindAndMinimise : Answer::Nothing;
}

TextId ReminderText(const WindowChange& change)
{
    return change.recording ? TextId::RecordingReminder : TextId::PlayingReminder;
}

void WatchReportedStates(QWindow* window, std::function<void(bool minimised)> report)
{
    window->installEventFilter(new StateReportFilter(window, std::move(report)));
}

} // namespace StopKeyReminder
