#pragma once

#include "desktop/ScreenReader.h"
#include "desktop/x11/PixelFormat.h"

#include <QByteArray>

#include <memory>

struct _XDisplay;

// The screen of an X11 server read on a display connection of the reader's own, so that another
// thread can read while the desktop's connection goes on with its work: through shared memory
// (MIT-SHM) where the server is on this machine, else in plain requests. Changes come from the
// DAMAGE extension, rectangle by rectangle; a server without it falls back to the slow wait.
class X11ScreenReader : public ScreenReader
{
public:
    // Null where the display cannot be reached or its screen is not true colour.
    static std::unique_ptr<X11ScreenReader> Open(const QByteArray& displayName);
    ~X11ScreenReader() override;

    std::vector<quint32> Block(const QRect& area, std::stop_token stop) override;
    std::vector<QRect> WaitForChanges(std::stop_token stop) override;

private:
    X11ScreenReader(_XDisplay* display, const PixelFormat& format);
    struct SharedMemory;

    // Reads a band of rows of the screen into an image; null where the server refused.
    struct _XImage* ReadBand(const QRect& band);
    // Takes the server's reports that arrived: changed rectangles, a resized screen.
    void TakeEvents(std::vector<QRect>& changes);
    // Waits for the connection or the stop; false once stopped.
    bool Sleep(int timeoutMs, std::stop_token stop);

    _XDisplay* m_display = nullptr;
    unsigned long m_root = 0;
    PixelFormat m_format;
    bool m_usualFormat = false; // 0x00RRGGBB in 32 bits, the usual case: red and blue swap places
    int m_width = 0;
    int m_height = 0;
    unsigned long m_damage = 0; // 0 without the DAMAGE extension
    int m_damageEvent = -1;
    int m_wake[2] = {-1, -1};               // a pipe: a stop request writes to it to end a wait
    std::unique_ptr<SharedMemory> m_shared; // null without MIT-SHM
};
