#include "desktop/wayland/WaylandScreenReader.h"

#include "desktop/wayland/WaylandConnection.h"
#include "desktop/wayland/WaylandDamageWatch.h"
#include "desktop/wayland/WaylandScreenCopy.h"

std::unique_ptr<WaylandScreenReader> WaylandScreenReader::Open(const QByteArray& displayName)
{
    std::unique_ptr<WaylandConnection> connection = WaylandConnection::Connect(displayName);
    if (!connection || connection->ScreencopyManager() == nullptr)
        return nullptr;
    return std::unique_ptr<WaylandScreenReader>(new WaylandScreenReader(std::move(connection)));
}

WaylandScreenReader::WaylandScreenReader(std::unique_ptr<WaylandConnection> connection)
    : m_connection(std::move(connection)), m_copy(std::make_unique<WaylandScreenCopy>(*m_connection))
{
    // Watching begins now: the first wait tells the changes since the reader was opened.
    if (WaylandDamageWatch::Offered(*m_connection))
        m_damage = std::make_unique<WaylandDamageWatch>(*m_connection);
}

WaylandScreenReader::~WaylandScreenReader()
{
    // The waiting copies go before the connection they were made on.
    m_damage.reset();
    m_copy.reset();
}

std::vector<quint32> WaylandScreenReader::Block(const QRect& area, std::stop_token)
{
    m_read |= area;
    return m_copy->Block(area);
}

std::vector<QRect> WaylandScreenReader::WaitForChanges(std::stop_token stop)
{
    if (m_damage)
        return m_damage->Wait(stop);
    return UntoldChanges(m_read, stop);
}
