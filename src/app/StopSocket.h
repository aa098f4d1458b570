#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

// The local socket in the user's runtime directory through which "clickwarden --stop" asks the
// running instance to stop its recording or playback: the stop that needs no global keys, for
// Wayland desktops, where a binding of the compositor runs it (on X11 too).
class StopSocket : public QObject
{
    Q_OBJECT

public:
    // Listens for stop requests; stopRun ends the run and says whether one was running. A socket
    // left by an instance that died is replaced; a live instance's is left to it.
    explicit StopSocket(std::function<bool()> stopRun, QObject* parent = nullptr);
    bool IsListening() const;

    enum class Answer
    {
        Stopped,        // a run was stopped
        NothingRunning, // the instance neither records nor plays
        NoInstance,     // nothing listens
    };
    // Asks the running instance, waiting at most timeoutMs for its answer.
    static Answer AskToStop(int timeoutMs = 3000);
    // The socket's path, under XDG_RUNTIME_DIR.
    static QString Path();

private:
    void AnswerClients();

    QLocalServer* m_server = nullptr;
    std::function<bool()> m_stopRun;
};
