#pragma once

#include "desktop/wayland/WaylandConnection.h"
#include "desktop/wayland/WaylandShmBuffer.h"

#include <QRect>
#include <QtGlobal>

#include <memory>
#include <stop_token>
#include <vector>

struct zwlr_screencopy_frame_v1;

// Tells where the screen changed, through screen copy's copy with damage: each output always has a
// copy waiting for it to change, so that the compositor gathers every change for this client
// between two looks and none is missed while the program reads.
class WaylandDamageWatch
{
public:
    // One output's waiting copy (public for the C callbacks in the .cpp file).
    struct Watch
    {
        quint32 outputName = 0; // the registry's name: the output may go while it is watched
        zwlr_screencopy_frame_v1* frame = nullptr;
        WaylandShmBuffer buffer;
        wl_shm* shm = nullptr;
        bool yInverted = false;
        bool ready = false;
        bool failed = false;
        std::vector<QRect> damage; // in the buffer's pixels
    };

    // Starts watching every output of the connection, which must offer screen copy version 2.
    explicit WaylandDamageWatch(WaylandConnection& connection);
    ~WaylandDamageWatch();
    WaylandDamageWatch(const WaylandDamageWatch&) = delete;
    WaylandDamageWatch& operator=(const WaylandDamageWatch&) = delete;

    // Whether the compositor tells changes at all.
    static bool Offered(const WaylandConnection& connection);

    // Waits until an output changes: the rectangles that changed, in layout coordinates, since the
    // last call (the first: since the watch began). Nothing on a stop or a broken connection.
    std::vector<QRect> Wait(std::stop_token stop);

private:
    const WaylandConnection::Output* OutputNamed(quint32 name) const;
    QRect PlaceOf(quint32 outputName) const;
    void Arm(Watch& watch);
    // The changes a finished copy told, in layout coordinates; the copy is then armed again.
    std::vector<QRect> Collect(Watch& watch);

    WaylandConnection& m_connection;
    std::vector<std::unique_ptr<Watch>> m_watches;
};
