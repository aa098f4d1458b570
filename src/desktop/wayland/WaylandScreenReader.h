#pragma once

#include "desktop/ScreenReader.h"

#include <QByteArray>

#include <memory>

class WaylandConnection;
class WaylandDamageWatch;
class WaylandScreenCopy;

// Reads the screen on a Wayland connection of its own, so that a search never waits on the
// desktop's thread: whole regions in one screen copy, and the changes the compositor tells.
class WaylandScreenReader : public ScreenReader
{
public:
    // Null when the compositor named cannot be reached or offers no screen copy.
    static std::unique_ptr<WaylandScreenReader> Open(const QByteArray& displayName);
    ~WaylandScreenReader() override;

    std::vector<quint32> Block(const QRect& area, std::stop_token stop) override;
    std::vector<QRect> WaitForChanges(std::stop_token stop) override;

private:
    explicit WaylandScreenReader(std::unique_ptr<WaylandConnection> connection);

    std::unique_ptr<WaylandConnection> m_connection;
    std::unique_ptr<WaylandScreenCopy> m_copy;
    std::unique_ptr<WaylandDamageWatch> m_damage; // null where the compositor tells no changes
    QRect m_read;                                 // what was read, for a compositor that tells no changes
};
