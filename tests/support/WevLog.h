#pragma once

#include <QPointF>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// A full-screen Wayland client that logs what it receives: wev (packaged), run under the test's
// compositor, its log read back as presses with their positions, typed text, key combinations
// and wheel steps.
class WevLog
{
public:
    struct Press
    {
        int button = 0; // evdev code: 272 left, 273 right, 274 middle
        bool pressed = false;
        QPointF at; // where the pointer was, in the surface's (here the screen's) coordinates
    };

    WevLog();
    ~WevLog();
    WevLog(const WevLog&) = delete;
    WevLog& operator=(const WevLog&) = delete;

    // Starts wev and waits until its window fills the output; where the compositor places windows
    // instead (mutter), fill() is called once it has placed wev's, to make it fill it. False (with
    // Error()) when it did not.
    bool Start(int timeoutMs = 5000, const std::function<void()>& fill = {});
    QString Error() const { return m_error; }

    // Reads what came, until done() holds or the time is up; returns done().
    bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

    const std::vector<Press>& Presses() const { return m_presses; }
    // The characters of every key pressed, in order.
    const QString& Typed() const { return m_typed; }
    // Each key press as "Control+a": the depressed modifiers, then the key's symbol name.
    const QStringList& Keys() const { return m_keys; }
    // The discrete wheel steps, one entry per step: "vertical 1", "horizontal -1" ...
    const QStringList& WheelSteps() const { return m_wheel; }
    void Clear();

private:
    void ReadAvailable();
    void ParseLine(const QString& line);

    QProcess m_process;
    QString m_error;
    QByteArray m_pending; // a partial line
    bool m_configured = false;
    bool m_placed = false;    // wev's window was given a size
    QString m_pointerObject;  // wev may bind the pointer twice: only one object's events count
    QString m_keyboardObject; // and the keyboard
    QPointF m_pointer;
    QString m_modifiers;
    bool m_keyPressed = false; // the last key line was a press: its sym line follows
    std::vector<Press> m_presses;
    QString m_typed;
    QStringList m_keys;
    QStringList m_wheel;
};
