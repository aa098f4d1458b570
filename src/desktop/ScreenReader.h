#pragma once

#include <QRect>
#include <QtGlobal>

#include <stop_token>
#include <vector>

// Reads the screen's pixels on a thread of its own, apart from the desktop's other work, and
// tells when the screen has changed. One thread at a time uses a reader. A stop request ends a
// call at once: a wait answers nothing, a read what it has.
class ScreenReader
{
public:
    // How long a reader that cannot tell changes waits before it answers the whole screen.
    static constexpr int kUntoldChangeMs = 1000;

    ScreenReader() = default;
    virtual ~ScreenReader();
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // The colours of a rectangle, as Desktop::PixelBlock gives them; black off the screen. The
    // changes WaitForChanges tells include every one that came after the read began.
    virtual std::vector<quint32> Block(const QRect& area, std::stop_token stop) = 0;
    // Waits until the screen changes: the rectangles that changed since the last call (the first
    // call: since the reader was opened).
    virtual std::vector<QRect> WaitForChanges(std::stop_token stop) = 0;

protected:
    // The wait of a reader that cannot tell changes: after kUntoldChangeMs, all it has read may
    // have changed; nothing on a stop.
    static std::vector<QRect> UntoldChanges(const QRect& read, std::stop_token stop);
};
