#pragma once

#include <QObject>
#include <QString>

#include <functional>

class MessageBoxes;
class Notifier;
class Run;
struct ScreenMismatch;
struct SharedState;

// Tells how a run went: the messages at the end of a recording or a playback, the lines on stderr
// a script reads, the notification of a run that closed the program, and the program's exit
// status. It shows no window of its own beyond the message boxes it is given.
class RunReporter : public QObject
{
    Q_OBJECT

public:
    // fileName: the name of the file the list was read from, for the notification; state: the
    // close-after-playing switch in force; unattended: no one watches (--unattended).
    RunReporter(Run* run, MessageBoxes& messages, Notifier* notifier, std::function<QString()> fileName,
                const SharedState& state, bool unattended, QObject* parent = nullptr);

    // What the program returns when it ends: not 0 when a run that closed it did not click every task.
    int ExitStatus() const { return m_exitStatus; }
    // A run that closes the program when it is done: the file's switch, or --unattended.
    bool ClosesAfterPlaying() const;

    // "Events captured: n." after a recording that added rows.
    void RecordingEnded(int eventCount);
    // The file named on the command line could not be used.
    void CommandLineFileFailed(const QString& text, const QString& line);

signals:
    // The program ends now, with ExitStatus().
    void exitRequested();
    // A remark of the run for the status line (it is on stderr already).
    void noteRaised(const QString& text);
    // Playback stopped at this row because the screen never matched; the box has been closed.
    void mismatchShown(int row);

private:
    void ReportScreenMismatch(const ScreenMismatch& mismatch, bool skipped);
    // The stop keys or the tray stopped playback.
    void PlaybackStopped(const QString& message);
    // Ends a run that closed the program: tells a failure to a person, and ends with this status.
    void EndRun(int status, const QString& failure = QString());

    MessageBoxes& m_messages;
    Notifier* m_notifier;
    std::function<QString()> m_fileName;
    const SharedState& m_state;
    bool m_unattended;
    int m_exitStatus = 0;
};
