#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

struct _XDisplay;

// The user at the X server, for tests that drive the real desktop: a connection of its own that
// presses keys and buttons through XTEST, as xdotool does, and finds a process's windows. The
// destructor lets go of every key and button still held, so that a failed check leaves none held.
class XDriver
{
public:
    XDriver();
    ~XDriver();
    XDriver(const XDriver&) = delete;
    XDriver& operator=(const XDriver&) = delete;

    // Keys are X keysym names joined by "+", such as "Control_L+Shift_L+F12": pressed in this
    // order, released in the reverse order.
    void Keys(const QString& keys, bool press);
    void Tap(const QString& keys) { Keys(keys, true), Keys(keys, false); }
    void Button(unsigned int xButton, bool press);
    void MovePointer(QPoint at);
    void ReleaseAll();
    // The key codes that are down now.
    QList<int> KeysDown();
    // The buttons held now, as a mask of X buttons 1 to 5 (bit 0 button 1).
    unsigned int ButtonsDown();
    // Swaps the symbols of two keys, as a keyboard layout change does (a second call swaps back), and
    // returns the keycode that carries the first symbol now.
    unsigned int SwapKeys(const QString& keysym, const QString& otherKeysym);
    void PressKeycode(unsigned int keycode, bool press);
    // The first symbol of every key code: a lent code left behind shows here.
    QList<unsigned long> KeyMap();
    // The pointer's shape now (size, hot spot and pixels): a cursor left on the root window shows here.
    QByteArray CursorImage();
    // Makes a request that fails: the server answers with an error (BadWindow), read at once or,
    // without waiting, by whatever next reads from the connection.
    void MakeError(bool wait = true);
    _XDisplay* Connection() const { return m_display; }

    // The process's windows (only the viewable ones, or all it has), a window's title and its place
    // on the screen without the window manager's frame.
    QList<unsigned long> Windows(qint64 pid, bool viewableOnly = true);
    QString Title(unsigned long window);
    QRect Geometry(unsigned long window);
    // Asks the window manager to raise and focus the window (and restore it when minimised), as the
    // user does; Focus also waits for the focus and is false when it did not follow.
    void Activate(unsigned long window);
    bool Focus(unsigned long window);
    // Whether a window just below the root carries this property (dbus-launch marks the window that
    // tells where the bus it started runs with _DBUS_SESSION_BUS_ADDRESS).
    bool AnyTopWindowHas(const char* property);

private:
    QByteArray Property(unsigned long window, const char* name);

    _XDisplay* m_display = nullptr;
};
