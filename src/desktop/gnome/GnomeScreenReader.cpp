#include "desktop/gnome/GnomeScreenReader.h"

#include "desktop/gnome/ScreenCastFrames.h"

GnomeScreenReader::GnomeScreenReader(std::shared_ptr<ScreenCastFrames> frames, const QRect& monitor)
    : m_frames(std::move(frames)), m_monitor(monitor)
{}

std::vector<quint32> GnomeScreenReader::Block(const QRect& area, std::stop_token stop)
{
    std::vector<quint32> colours;
    if (!m_frames->Read(area.translated(-m_monitor.topLeft()), &colours, stop))
        colours.assign(static_cast<size_t>(std::max(0, area.width())) * static_cast<size_t>(std::max(0, area.height())),
                       0);
    return colours;
}

std::vector<QRect> GnomeScreenReader::WaitForChanges(std::stop_token stop)
{
    const quint64 frame = m_frames->WaitForFrameAfter(m_seen, stop);
    if (frame == m_seen)
        return {};
    m_seen = frame;
    return {m_monitor};
}
