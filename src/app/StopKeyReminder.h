#pragma once

#include "core/TextTable.h"

#include <functional>

class QWindow;

// The rule behind the reminder of the stop keys: the main window stays minimised while a recording
// or a playback runs, and a restore the user asks for is answered with the reminder and the window
// goes back down. The window manager's own late map of a window that was minimised before it was
// ever shown (a playback started from the command line) is no such restore: a box in the middle of
// the screen would catch the clicks meant for what is under it.
namespace StopKeyReminder {

// Follows the states the window system reports for the window.
class RestoreWatch
{
public:
    void Reported(bool minimised)
    {
        m_restoredByUser = m_minimised && !minimised;
        m_minimised = minimised;
    }
    // The last report brought the window back from a minimised state the window system had
    // reported itself: only the user does that.
    bool RestoredByUser() const { return m_restoredByUser; }

private:
    bool m_minimised = false;
    bool m_restoredByUser = false;
};

enum class Answer
{
    Nothing,
    LayOut,            // lay the grid out for the new size
    RemindAndMinimise, // the reminder (ReminderText), then minimise again
};

struct WindowChange
{
    bool minimised = false; // the window's state after the change
    bool recording = false;
    bool playing = false;
    bool restoredByUser = false; // RestoreWatch::RestoredByUser
};

Answer AnswerChange(const WindowChange& change);
// The text of the reminder: recording (123) before playing (135).
TextId ReminderText(const WindowChange& change);

// Calls back with every window state the window system reports for the window (not the states the
// program sets itself).
void WatchReportedStates(QWindow* window, std::function<void(bool minimised)> report);

} // namespace StopKeyReminder
