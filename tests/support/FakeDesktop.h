#pragma once

#include "desktop/Desktop.h"

#include <deque>
#include <functional>
#include <map>
#include <vector>

// A scripted desktop for unit tests: it answers key, button, pointer and pixel queries from what
// the test set up, and records every action it receives, in order.
class FakeDesktop : public Desktop
{
public:
    struct Action
    {
        enum class Kind
        {
            Move,
            ButtonDown,
            ButtonUp,
            Click,
            DoubleClick,
            PointerShape,
        };
        Kind kind;
        int a = 0;    // x, or the button code
        int b = 0;    // y
        QString path; // the cursor file of PointerShape

        bool operator==(const Action& other) const = default;
    };

    static Action Move(int x, int y) { return {Action::Kind::Move, x, y, {}}; }
    static Action Down(int button) { return {Action::Kind::ButtonDown, button, 0, {}}; }
    static Action Up(int button) { return {Action::Kind::ButtonUp, button, 0, {}}; }
    static Action Click(int button) { return {Action::Kind::Click, button, 0, {}}; }
    static Action DoubleClick(int button) { return {Action::Kind::DoubleClick, button, 0, {}}; }
    static Action Shape(const QString& path) { return {Action::Kind::PointerShape, 0, 0, path}; }

    // Script: a key or button held (or not) from now on.
    void SetKeyDown(int virtualKey, bool down);
    // Script: the key reads as down for the next `queries` queries of it, then up; when it goes up
    // the pointer jumps to the given release point, if one is given.
    void HoldFor(int virtualKey, int queries);
    void HoldFor(int virtualKey, int queries, int releaseX, int releaseY);
    void SetPointer(int x, int y);
    // Script: the colour of every screen pixel (0 when none is set).
    void SetPixels(std::function<quint32(int x, int y)> colourAt);
    // Called after every IsKeyDown query, so a test can change the script as time goes on.
    void OnKeyQuery(std::function<void(int virtualKey)> hook);

    const std::vector<Action>& Actions() const { return m_actions; }
    void ClearActions() { m_actions.clear(); }
    int KeyQueries(int virtualKey) const;
    int PixelsRead() const { return m_pixelsRead; }

    bool IsKeyDown(int virtualKey) override;
    int PointerX() override { return m_x; }
    int PointerY() override { return m_y; }
    void MovePointer(int x, int y) override;
    void ButtonDown(int button) override;
    void ButtonUp(int button) override;
    void ButtonClick(int button) override;
    void ButtonDoubleClick(int button) override;
    void SetPointerShape(const QString& cursorFile = QString()) override;
    quint32 PixelColor(int x, int y) override;
    std::vector<quint32> PixelBlock(int left, int top, int width, int height) override;

private:
    struct Release
    {
        int x;
        int y;
    };

    std::map<int, bool> m_steady;
    std::map<int, std::deque<bool>> m_queued;
    std::map<int, Release> m_releasePoints;
    std::map<int, int> m_queries;
    std::function<quint32(int, int)> m_colourAt;
    std::function<void(int)> m_keyHook;
    std::vector<Action> m_actions;
    int m_x = 0;
    int m_y = 0;
    int m_pixelsRead = 0;
};
