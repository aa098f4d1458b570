#include "support/FakeDesktop.h"

void FakeDesktop::HoldFor(int virtualKey, int queries, int releaseX, int releaseY)
{
    SetKeyDown(virtualKey, false);
    if (queries > 0)
        m_heldFor[virtualKey] = {queries, QPoint(releaseX, releaseY)};
}

void FakeDesktop::HoldShortcut(int functionKey, int queries)
{
    SetKeyDown(VirtualKey::kControl, true);
    SetKeyDown(VirtualKey::kShift, true);
    HoldFor(functionKey, queries);
}

bool FakeDesktop::IsKeyDown(int virtualKey)
{
    ++m_queries[virtualKey];
    const auto held = m_heldFor.find(virtualKey);
    if (held == m_heldFor.end())
        return m_steady[virtualKey];
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
