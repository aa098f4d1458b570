#pragma once

#include "desktop/EvdevDesktop.h"
#include "desktop/gnome/KeyStrokes.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

class MutterSession;
class ScreenCastFrames;
class SeatKeymap;

// The desktop of GNOME's compositor, mutter, through its own remote desktop and screen cast
// interfaces on the session bus: the pointer placed in the primary monitor's stream coordinates,
// buttons, discrete wheel steps, key symbols typed by the keys of the active layout (read from
// the compositor as any client reads it), and the screen read from the stream's frames over
// PipeWire. Symbols the layout lacks cannot be typed (mutter lends no key codes): TakeUntypedKeys
// names them. As on any Wayland desktop it follows no
// buttons or keys and knows the pointer only where it put it. The session starts with the first
// use, once the toolkit runs, and ends with the program: mutter then lets go of what it holds.
class GnomeDesktop : public EvdevDesktop
{
public:
    // The desktop where mutter offers its interfaces on the session bus (the address named, else
    // the runtime directory's bus; none is started); null where it does not.
    // The layout is read from the compositor named (WAYLAND_DISPLAY where empty).
    static std::unique_ptr<GnomeDesktop> Open(const QByteArray& namedBus, const QByteArray& runtimeDir,
                                              const QByteArray& waylandDisplay = {});
    ~GnomeDesktop() override;

    void KeyDown(quint32 keysym) override;
    void KeyUp(quint32 keysym) override;
    void KeyTap(quint32 keysym) override;
    std::vector<quint32> TakeUntypedKeys() override;
    void TurnWheel(WheelDirection direction, int notches) override;
    // Where the program last put the pointer (at first the middle of the primary monitor).
    int PointerX() override;
    int PointerY() override;
    void MovePointer(int x, int y) override;
    // Lets go as every desktop of virtual devices does, and forgets the symbols held.
    void ReleaseHeld() override;
    // The primary monitor's size, counted from the layout's origin.
    QSize ScreenSize() override;
    quint32 PixelColor(int x, int y) override;
    std::vector<quint32> PixelBlock(int left, int top, int width, int height) override;
    std::unique_ptr<ScreenReader> OpenScreenReader() override;

private:
    GnomeDesktop(const QString& busAddress, const QByteArray& waylandDisplay);
    // Starts the sessions at the first use; false (said once on stderr) where mutter refused.
    bool EnsureSession();
    // Opens the stream's frames at the first read; false where PipeWire cannot be reached.
    bool EnsureFrames();
    // Tells the frames that what they show may change now.
    void NoteInput();
    bool ReadyToSend() override { return EnsureSession(); }
    void Deliver(const HeldInputs::Input& input, bool press) override;
    // How the layout of the moment types the symbol.
    KeyStrokes::Stroke StrokeFor(quint32 keysym);

    QString m_busAddress;
    QByteArray m_waylandDisplay;
    std::unique_ptr<SeatKeymap> m_seatKeymap;
    std::unique_ptr<KeyStrokes> m_strokes;
    int m_strokesGeneration = 0;
    // The symbols held down, with the key that gives each and the modifier keys pressed for it alone.
    std::map<quint32, KeyStrokes::Stroke> m_pressed;
    std::unique_ptr<MutterSession> m_session;
    std::shared_ptr<ScreenCastFrames> m_frames; // shared with the screen readers
    bool m_sessionTried = false;
    bool m_framesTried = false;
    std::vector<quint32> m_untyped;
    int m_pointerX = 0;
    int m_pointerY = 0;
};
