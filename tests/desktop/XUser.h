#pragma once

#include <QPoint>
#include <QRect>
#include <QtGlobal>

#include <set>
#include <vector>

struct _XDisplay;

// The user at the desktop, for tests of the X11 desktop: a second connection to the X server that
// presses keys and buttons with XTEST, puts windows on the screen and watches what arrives at them.
// Whatever it pressed it releases again in ReleaseAll and at the latest in its destructor, so that a
// failed check never leaves a key or button held for the tests that follow.
class XUser
{
public:
    enum class Key
    {
        ShiftLeft,
        ShiftRight,
        ControlLeft,
        ControlRight,
        F11,
        F12,
        AltLeft,
    };

    struct ButtonEvent
    {
        bool press = false;
        unsigned int button = 0; // the X button
        QPoint root;             // on the screen
        unsigned long time = 0;  // server milliseconds
    };

    XUser();
    ~XUser();
    XUser(const XUser&) = delete;
    XUser& operator=(const XUser&) = delete;

    bool IsOpen() const { return m_display != nullptr; }
    int ScreenWidth() const { return m_width; }
    int ScreenHeight() const { return m_height; }

    void PressKey(Key key);
    void ReleaseKey(Key key);
    void PressButton(unsigned int xButton);
    void ReleaseButton(unsigned int xButton);
    void ReleaseAll();
    void MovePointer(int x, int y);

    // A window over the whole screen that shows PatternColour at every pixel; it also keeps clicks
    // off the root window, where the window manager would open its menu, and takes the keys the
    // user presses. Raised and painted again on each call.
    void ShowPattern();
    // The colour the pattern has at a screen pixel, red in the low byte, then green, then blue:
    // different for every pixel of a screen up to 4096 pixels wide and high.
    static quint32 PatternColour(int x, int y);

    // A window at `area` that reports the button events it receives, above everything else.
    void ShowClickWindow(const QRect& area);
    void HideClickWindow();
    // The button events that reached the click window so far.
    std::vector<ButtonEvent> TakeButtonEvents();

private:
    unsigned char Keycode(Key key) const;
    unsigned long CreateWindow(const QRect& area);

    _XDisplay* m_display = nullptr;
    unsigned long m_root = 0;
    int m_width = 0;
    int m_height = 0;
    unsigned long m_patternWindow = 0;
    unsigned long m_clickWindow = 0;
    std::set<unsigned char> m_keysDown;
    std::set<unsigned int> m_buttonsDown;
};
