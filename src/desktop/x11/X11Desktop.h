#pragma once

#include "desktop/Desktop.h"
#include "desktop/HeldInputs.h"

#include <QByteArray>

#include <memory>
#include <vector>

// Xlib's connection type; the X11 headers themselves stay in the .cpp files (their macros clash with Qt).
struct _XDisplay;
class X11InputStream;
class X11Keyboard;
class X11KeyWatch;
class X11HotKeyGrab;
class X11Safeguard;
class X11Screen;

// The desktop of an X11 server, read with core requests and driven with the XTEST extension.
// It keeps one display connection of its own, apart from the toolkit's, for its whole life.
class X11Desktop : public Desktop
{
public:
    enum class OpenError
    {
        NoError,
        NoDisplay, // no X server could be reached under the display name
        NoXTest,   // the server is reachable but offers no XTEST extension
    };

    struct OpenResult
    {
        std::unique_ptr<X11Desktop> desktop; // null when error is not NoError
        OpenError error = OpenError::NoError;
    };

    // Connects to the display named (DISPLAY where empty). Failures come back as an error kind,
    // never as an X error that ends the program.
    static OpenResult Open(const QByteArray& displayName = {});

    ~X11Desktop() override;

    bool IsButtonDown(MouseButton button) override;
    bool IsKeyDown(quint32 keysym) override;
    // Watches through the RECORD extension; false where the server does not offer it.
    bool WatchInput(bool on) override;
    std::vector<ButtonEvent> TakeButtonEvents() override;
    std::vector<InputEvent> TakeInputEvents() override;
    std::vector<PointerMove> TakePointerMoves() override;
    void KeyDown(quint32 keysym) override;
    void KeyUp(quint32 keysym) override;
    void KeyTap(quint32 keysym) override;
    std::vector<quint32> TakeUntypedKeys() override;
    void TurnWheel(WheelDirection direction, int notches) override;
    int PointerX() override;
    int PointerY() override;
    void MovePointer(int x, int y) override;
    void ButtonDown(MouseButton button) override;
    void ButtonUp(MouseButton button) override;
    void ButtonClick(MouseButton button) override;
    void ButtonDoubleClick(MouseButton button) override;
    void ReleaseHeld() override;
    void ClaimHotKeys(bool claimed) override;
    void SetPointerShape(const QString& cursorFile = QString()) override;
    quint32 PixelColor(int x, int y) override;
    std::vector<quint32> PixelBlock(int left, int top, int width, int height) override;
    QSize ScreenSize() override;
    void ToolkitStarted() override;
    // A reader on a connection of its own to the same display, told of changes by DAMAGE.
    std::unique_ptr<ScreenReader> OpenScreenReader() override;

private:
    explicit X11Desktop(_XDisplay* display);

    struct PointerState
    {
        int x = 0;
        int y = 0;
        unsigned int buttons = 0;
    };
    PointerState QueryPointer();
    void FakeButton(MouseButton button, bool press);
    void FakeInput(const HeldInputs::Input& input, bool press);
    // Takes what the server announced since the last look: a resized screen, a new keyboard mapping.
    void TakeServerNotices();

    _XDisplay* m_display = nullptr;
    unsigned long m_root = 0;
    int m_screen = 0;
    std::unique_ptr<X11Screen> m_screenPixels;
    int m_xkbEventBase = -1;                       // the XKB extension's first event type; -1 without it
    std::unique_ptr<X11InputStream> m_inputStream; // while the buttons are followed
    HeldInputs m_held;                             // what this connection's actions hold on the server
    std::unique_ptr<X11Safeguard> m_safeguard;     // told of each change of m_held, before it happens
    std::unique_ptr<X11Keyboard> m_keyboard;
    std::vector<quint32> m_untyped; // keysyms that could not be typed since the last TakeUntypedKeys
    std::unique_ptr<X11HotKeyGrab> m_hotKeys;
    std::unique_ptr<X11KeyWatch> m_keyWatch;
};
