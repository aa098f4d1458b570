#include "support/FakeDesktop.h"

void FakeDesktop::SetKeyDown(int virtualKey, bool down)
{
    m_heldFor.erase(virtualKey);
    m_steady[virtualKey] = down;
}

void FakeDesktop::HoldFor(int virtualKey, int queries)
{
    SetKeyDown(virtualKey, false);
    if (queries > 0)
        m_heldFor[virtualKey] = queries;
}

void FakeDesktop::HoldFor(int virtualKey, int queries, int releaseX, int releaseY)
{
    HoldFor(virtualKey, queries);
    m_releasePoints[virtualKey] = QPoint(releaseX, releaseY);
}

void FakeDesktop::HoldShortcut(int functionKey, int queries)
{
    SetKeyDown(VirtualKey::kControl, true);
    SetKeyDown(VirtualKey::kShift, true);
    HoldFor(functionKey, queries);
}

int FakeDesktop::KeyQueries(int virtualKey) const
{
    const auto found = m_queries.find(virtualKey);
    return found == m_queries.end() ? 0 : found->second;
}

bool FakeDesktop::IsKeyDown(int virtualKey)
{
    ++m_queries[virtualKey];
    bool down = m_steady[virtualKey];
    if (const auto held = m_heldFor.find(virtualKey); held != m_heldFor.end()) {
        down = true;
        if (--held->second == 0) {
            m_heldFor.erase(held);
            if (const auto release = m_releasePoints.find(virtualKey); release != m_releasePoints.end()) {
                m_pointer = release->second;
                m_releasePoints.erase(release);
            }
        }
    }
    if (m_keyHook)
        m_keyHook(virtualKey);
    return down;
}

void FakeDesktop::MovePointer(int x, int y)
{
    SetPointer(x, y);
    m_actions.push_back(Move(x, y));
}

quint32 FakeDesktop::PixelColor(int x, int y)
{
    ++m_pixelsRead;
    return m_colourAt ? m_colourAt(x, y) : 0;
}

std::vector<quint32> FakeDesktop::PixelBlock(int left, int top, int width, int height)
{
    std::vector<quint32> block;
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i)
            block.push_back(PixelColor(left + i, top + j));
    }
    return block;
}
