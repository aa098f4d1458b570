#include "support/FakeDesktop.h"

void FakeDesktop::SetKeyDown(int virtualKey, bool down)
{
    m_queued.erase(virtualKey);
    m_steady[virtualKey] = down;
}

void FakeDesktop::HoldFor(int virtualKey, int queries)
{
    m_queued[virtualKey].assign(static_cast<std::size_t>(queries), true);
    m_steady[virtualKey] = false;
}

void FakeDesktop::HoldFor(int virtualKey, int queries, int releaseX, int releaseY)
{
    HoldFor(virtualKey, queries);
    m_releasePoints[virtualKey] = Release{releaseX, releaseY};
}

void FakeDesktop::SetPointer(int x, int y)
{
    m_x = x;
    m_y = y;
}

void FakeDesktop::SetPixels(std::function<quint32(int, int)> colourAt)
{
    m_colourAt = std::move(colourAt);
}

void FakeDesktop::OnKeyQuery(std::function<void(int)> hook)
{
    m_keyHook = std::move(hook);
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
    auto queued = m_queued.find(virtualKey);
    if (queued != m_queued.end() && !queued->second.empty()) {
        down = queued->second.front();
        queued->second.pop_front();
        if (queued->second.empty()) {
            m_queued.erase(queued);
            const auto release = m_releasePoints.find(virtualKey);
            if (release != m_releasePoints.end()) {
                SetPointer(release->second.x, release->second.y);
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

void FakeDesktop::ButtonDown(int button)
{
    m_actions.push_back(Down(button));
}

void FakeDesktop::ButtonUp(int button)
{
    m_actions.push_back(Up(button));
}

void FakeDesktop::ButtonClick(int button)
{
    m_actions.push_back(Click(button));
}

void FakeDesktop::ButtonDoubleClick(int button)
{
    m_actions.push_back(DoubleClick(button));
}

void FakeDesktop::SetPointerShape(const QString& cursorFile)
{
    m_actions.push_back(Shape(cursorFile));
}

quint32 FakeDesktop::PixelColor(int x, int y)
{
    ++m_pixelsRead;
    return m_colourAt ? m_colourAt(x, y) : 0;
}

std::vector<quint32> FakeDesktop::PixelBlock(int left, int top, int width, int height)
{
    std::vector<quint32> block;
    block.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i)
            block.push_back(PixelColor(left + i, top + j));
    }
    return block;
}
