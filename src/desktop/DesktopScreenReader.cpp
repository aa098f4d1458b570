#include "desktop/DesktopScreenReader.h"

#include "desktop/Desktop.h"

#include <QMetaObject>

#include <algorithm>

DesktopScreenReader::DesktopScreenReader(Desktop& desktop) : m_desktop(desktop)
{}

DesktopScreenReader::~DesktopScreenReader() = default;

bool DesktopScreenReader::ReadBand(const QRect& band, std::stop_token stop)
{
    const quint64 ticket = ++m_asked;
    std::shared_ptr<Shared> shared = m_shared;
    Desktop* desktop = &m_desktop;
    QMetaObject::invokeMethod(
        &m_context,
        [shared, desktop, band, ticket] {
            std::vector<quint32> pixels = desktop->PixelBlock(band.left(), band.top(), band.width(), band.height());
            const std::lock_guard lock(shared->mutex);
            shared->band = std::move(pixels);
            shared->finished = ticket;
            shared->done.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(shared->mutex);
    return shared->done.wait(lock, stop, [&] { return shared->finished >= ticket; });
}

std::vector<quint32> DesktopScreenReader::Block(const QRect& area, std::stop_token stop)
{
    m_read |= area;
    std::vector<quint32> pixels(std::size_t(std::max(area.width(), 0)) * std::size_t(std::max(area.height(), 0)), 0);
    const int bandRows = std::max(1, kBandPixels / std::max(area.width(), 1));
    for (int top = area.top(); top <= area.bottom(); top += bandRows) {
        const QRect band(area.left(), top, area.width(), std::min(bandRows, area.bottom() + 1 - top));
        if (!ReadBand(band, stop))
            break;
        const std::lock_guard lock(m_shared->mutex);
        std::copy(m_shared->band.begin(), m_shared->band.end(),
                  pixels.begin() + std::ptrdiff_t(top - area.top()) * area.width());
    }
    return pixels;
}

std::vector<QRect> DesktopScreenReader::WaitForChanges(std::stop_token stop)
{
    return UntoldChanges(m_read, stop);
}
