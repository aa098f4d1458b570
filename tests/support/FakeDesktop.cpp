#include "support/FakeDesktop.h"

#include "core/KeySymbols.h"

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
