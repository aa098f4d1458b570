#pragma once

#include "desktop/wayland/WaylandConnection.h"
#include "desktop/wayland/WaylandShmBuffer.h"

#include <QRect>
#include <QtGlobal>

#include <optional>
#include <vector>

// Copies screen pixels through the wlroots screen copy interface into shared memory of the
// program's own. The buffer of the last size asked is kept for the next copy: the screen check
// asks for the same region again and again.
class WaylandScreenCopy
{
public:
    explicit WaylandScreenCopy(WaylandConnection& connection) : m_connection(connection) {}
    WaylandScreenCopy(const WaylandScreenCopy&) = delete;
    WaylandScreenCopy& operator=(const WaylandScreenCopy&) = delete;

    // The colours of a rectangle of the layout, over every output it crosses, as Desktop::PixelBlock
    // gives them: 0 where no output shows.
    std::vector<quint32> Block(const QRect& wanted);

    // The colours of a region of one output (in the output's own logical coordinates, inside it),
    // row by row, red in the low byte; nothing when the compositor failed or gave an unknown format.
    std::optional<std::vector<quint32>> Capture(const WaylandConnection::Output& output, const QRect& region);

    // Told by the frame's listener (public for the C callbacks in the .cpp file).
    struct Frame
    {
        quint32 format = 0;
        int width = 0;
        int height = 0;
        int stride = 0;
        bool yInverted = false;
        bool offered = false; // the compositor said which buffer it wants
        bool ready = false;
        bool failed = false;
    };

private:
    WaylandConnection& m_connection;
    WaylandShmBuffer m_buffer;
};
