#include "support/FakeDesktop.h"

#include "core/KeySymbols.h"
#include "desktop/ScreenReader.h"

namespace {
class FakeScreenReader : public ScreenReader
{
public:
    explicit FakeScreenReader(FakeDesktop& desktop) : m_desktop(desktop) {}
    std::vector<quint32> Block(const QRect& area, std::stop_token) override { return m_desktop.ReadForReader(area); }
    std::vector<QRect> WaitForChanges(std::stop_token stop) override { return m_desktop.WaitForChanges(stop); }

private:
    FakeDesktop& m_desktop;
};
} // namespace

void FakeDesktop::HoldFor(Watched key, int queries, int releaseX, int releaseY)
{
    SetKeyDown(key, false);
    if (queries > 0)
        m_heldFor[key] = {queries, QPoint(releaseX, releaseY)};
}

void FakeDesktop::HoldShortcut(quint32 functionKey, int queries)
{
    SetKeyDown(KeySymbols::kControl, true);
    SetKeyDown(KeySymbols::kShift, true);
    HoldFor(functionKey, queries);
}

bool FakeDesktop::IsDown(Watched key)
{
    ++m_queries[key];
    const auto held = m_heldFor.find(key);
    if (held == m_heldFor.end())
        return m_steady[key];
    auto& [queries, release] = held->second;
    if (--queries == 0) {
        if (release.x() >= 0 && release.y() >= 0)
            m_pointer = release;
        m_heldFor.erase(held);
    }
    return true;
}

quint32 FakeDesktop::PixelColor(int x, int y)
{
    ++m_pixelsRead;
    return m_colourAt ? m_colourAt(x, y) : 0;
}

std::vector<quint32> FakeDesktop::PixelBlock(int left, int top, int width, int height)
{
    std::vector<quint32> block;
    for (int k = 0; k < width * height; ++k)
        block.push_back(PixelColor(left + k % width, top + k / width));
    return block;
}

std::unique_ptr<ScreenReader> FakeDesktop::OpenScreenReader()
{
    return m_reportsChanges ? std::make_unique<FakeScreenReader>(*this) : Desktop::OpenScreenReader();
}

std::vector<quint32> FakeDesktop::ReadForReader(const QRect& area)
{
    const std::lock_guard lock(m_screenMutex);
    return PixelBlock(area.left(), area.top(), area.width(), area.height());
}

void FakeDesktop::ReportChange(const QRect& area)
{
    const std::lock_guard lock(m_screenMutex);
    m_changes.push_back(area);
    m_changed.notify_all();
}

std::vector<QRect> FakeDesktop::WaitForChanges(std::stop_token stop)
{
    std::unique_lock lock(m_screenMutex);
    m_changed.wait(lock, stop, [this] { return !m_changes.empty(); });
    return std::exchange(m_changes, {});
}
