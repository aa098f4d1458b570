#pragma once

#include "desktop/Desktop.h"

#include <QPoint>

#include <functional>
#include <map>
#include <utility>
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
    // Script: Ctrl and Shift held from now on, the function key (F11, F12) for the next `queries` queries.
    void HoldShortcut(int functionKey, int queries);
    void SetPointer(int x, int y) { m_pointer = QPoint(x, y); }
    void SetScreenSize(QSize size) { m_screenSize = size; }
    // Script: the colour of every screen pixel (0 when none is set).
    void SetPixels(std::function<quint32(int x, int y)> colourAt) { m_colourAt = std::move(colourAt); }
    // Script: whether the buttons can be followed (they cannot at first), and a press or release
    // that TakeButtonEvents reports next.
    void SetFollowable(bool followable) { m_followable = followable; }
    void QueueButtonEvent(const ButtonEvent& event) { m_buttonEvents.push_back(event); }
    // Called after every IsKeyDown query, so a test can change the script as time goes on.
    void OnKeyQuery(std::function<void(int virtualKey)> hook) { m_keyHook = std::move(hook); }

    const std::vector<Action>& Actions() const { return m_actions; }
    void ClearActions() { m_actions.clear(); }
    int KeyQueries(int virtualKey) const;
    int PixelsRead() const { return m_pixelsRead; }

    bool IsKeyDown(int virtualKey) override;
    bool FollowButtons(bool on) override { return on && m_followable; }
    std::vector<ButtonEvent> TakeButtonEvents() override { return std::exchange(m_buttonEvents, {}); }
    int PointerX() override { return m_pointer.x(); }
    int PointerY() override { return m_pointer.y(); }
    void MovePointer(int x, int y) override;
    void ButtonDown(int button) override { m_actions.push_back(Down(button)); }
    void ButtonUp(int button) override { m_actions.push_back(Up(button)); }
    void ButtonClick(int button) override { m_actions.push_back(Click(button)); }
    void ButtonDoubleClick(int button) override { m_actions.push_back(DoubleClick(button)); }
    void SetPointerShape(const QString& cursorFile = QString()) override { m_actions.push_back(Shape(cursorFile)); }
    QSize ScreenSize() override { return m_screenSize; }
    quint32 PixelColor(int x, int y) override;
    std::vector<quint32> PixelBlock(int left, int top, int width, int height) override;

private:
    std::map<int, bool> m_steady;
    std::map<int, int> m_heldFor; // queries still to answer "down"
    std::map<int, QPoint> m_releasePoints;
    std::map<int, int> m_queries;
    std::function<quint32(int, int)> m_colourAt;
    std::function<void(int)> m_keyHook;
    std::vector<Action> m_actions;
    QPoint m_pointer;
    std::vector<ButtonEvent> m_buttonEvents;
    bool m_followable = false;
    int m_pixelsRead = 0;
    QSize m_screenSize{1920, 1080};
};
