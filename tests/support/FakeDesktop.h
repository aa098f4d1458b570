#pragma once

#include "desktop/Desktop.h"

#include <QPoint>
#include <QRect>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

// A scripted desktop for unit tests: it answers key, button, pointer and pixel queries from what
// the test set up, and records every action it receives, in order.
class FakeDesktop : public Desktop
{
public:
    // One call received: the name of the Desktop function, the point or the button, the cursor file.
    struct Action
    {
        QString call;
        int a = 0; // x, the button (IndexOf), the keysym or the wheel's direction
        int b = 0; // y
        QString path;

        bool operator==(const Action& other) const = default;
    };

    static Action Move(int x, int y) { return {"MovePointer", x, y, {}}; }
    static Action Down(MouseButton button) { return {"ButtonDown", IndexOf(button), 0, {}}; }
    static Action Up(MouseButton button) { return {"ButtonUp", IndexOf(button), 0, {}}; }
    static Action Click(MouseButton button) { return {"ButtonClick", IndexOf(button), 0, {}}; }
    static Action DoubleClick(MouseButton button) { return {"ButtonDoubleClick", IndexOf(button), 0, {}}; }
    static Action Shape(const QString& path) { return {"SetPointerShape", 0, 0, path}; }
    // A key by its keysym; a wheel turn by its direction and notches.
    static Action Key(const char* call, quint32 keysym) { return {call, int(keysym), 0, {}}; }
    static Action Wheel(WheelDirection direction, int notches) { return {"TurnWheel", int(direction), notches, {}}; }

    // A key by its keysym, or a button, as the scripted state knows it.
    using Watched = quint64;
    static Watched Of(MouseButton button) { return (Watched(1) << 32) | Watched(IndexOf(button)); }

    // Script: a key (by keysym) or button held (or not) from now on.
    void SetKeyDown(Watched key, bool down)
    {
        m_heldFor.erase(key);
        m_steady[key] = down;
    }
    // Script: the key or button reads as down for the next `queries` queries of it, then up; when it
    // goes up the pointer jumps to the release point, if one on the screen is given.
    void HoldFor(Watched key, int queries, int releaseX = -1, int releaseY = -1);
    void HoldFor(MouseButton button, int queries, int releaseX = -1, int releaseY = -1)
    {
        HoldFor(Of(button), queries, releaseX, releaseY);
    }
    // Script: Ctrl and Shift held from now on, the function key (F11, F12) for the next `queries` queries.
    void HoldShortcut(quint32 functionKey, int queries);
    void SetPointer(int x, int y) { m_pointer = QPoint(x, y); }
    // Script: no key types this keysym (KeyDown and KeyTap report it through TakeUntypedKeys).
    void SetUntypable(quint32 keysym) { m_untypable.push_back(keysym); }
    void SetScreenSize(QSize size) { m_screenSize = size; }
    // Script: the colour of every screen pixel (0 when none is set).
    void SetPixels(std::function<quint32(int x, int y)> colourAt)
    {
        const std::lock_guard lock(m_screenMutex);
        m_colourAt = std::move(colourAt);
    }
    // Script: screen readers tell changes (ReportChange) from now on; before, they are the ones
    // of a desktop that offers none of its own.
    void SetReportsChanges(bool reports) { m_reportsChanges = reports; }
    void ReportChange(const QRect& area);
    // Script: whether the buttons can be followed (they cannot at first), and a press or release
    // that TakeButtonEvents reports next.
    void SetFollowable(bool watchable) { m_followable = watchable; }
    // Script: a desktop that sees only its own presses (Wayland).
    void SetBlindToUser() { m_seesUser = false; }
    void QueueButtonEvent(const ButtonEvent& event) { m_buttonEvents.push_back(event); }
    void QueueInputEvent(const InputEvent& event) { m_inputEvents.push_back(event); }
    void QueuePointerMove(const PointerMove& move) { m_moves.push_back(move); }

    const std::vector<Action>& Actions() const { return m_actions; }
    void ClearActions() { m_actions.clear(); }
    int KeyQueries(Watched key) const { return m_queries.contains(key) ? m_queries.at(key) : 0; }
    int PixelsRead() const { return m_pixelsRead; }

    bool IsButtonDown(MouseButton button) override { return IsDown(Of(button)); }
    bool IsKeyDown(quint32 keysym) override { return IsDown(keysym); }
    bool WatchInput(bool on) override { return on && m_followable; }
    bool SeesUserInput() override { return m_seesUser; }
    std::vector<ButtonEvent> TakeButtonEvents() override { return std::exchange(m_buttonEvents, {}); }
    std::vector<InputEvent> TakeInputEvents() override { return std::exchange(m_inputEvents, {}); }
    std::vector<PointerMove> TakePointerMoves() override { return std::exchange(m_moves, {}); }
    void KeyDown(quint32 keysym) override
    {
        m_actions.push_back(Key("KeyDown", keysym));
        if (Untypable(keysym))
            return;
        m_heldKeys.push_back(keysym);
    }
    void KeyUp(quint32 keysym) override
    {
        m_actions.push_back(Key("KeyUp", keysym));
        std::erase(m_heldKeys, keysym);
    }
    void KeyTap(quint32 keysym) override
    {
        m_actions.push_back(Key("KeyTap", keysym));
        Untypable(keysym);
    }
    std::vector<quint32> TakeUntypedKeys() override { return std::exchange(m_untyped, {}); }
    void TurnWheel(WheelDirection direction, int notches) override { m_actions.push_back(Wheel(direction, notches)); }
    int PointerX() override { return m_pointer.x(); }
    int PointerY() override { return m_pointer.y(); }
    void MovePointer(int x, int y) override
    {
        SetPointer(x, y);
        m_actions.push_back(Move(x, y));
    }
    void ButtonDown(MouseButton button) override { Record(Down(button), button, true); }
    void ButtonUp(MouseButton button) override { Record(Up(button), button, false); }
    void ButtonClick(MouseButton button) override { Record(Click(button), button, false); }
    void ButtonDoubleClick(MouseButton button) override { Record(DoubleClick(button), button, false); }
    // Lets go of the held buttons and keys, last pressed first, as ButtonUp and KeyUp calls.
    void ReleaseHeld() override
    {
        while (!m_held.empty())
            ButtonUp(m_held.back());
        while (!m_heldKeys.empty())
            KeyUp(m_heldKeys.back());
    }
    void SetPointerShape(const QString& cursorFile = QString()) override { m_actions.push_back(Shape(cursorFile)); }
    QSize ScreenSize() override { return m_screenSize; }
    quint32 PixelColor(int x, int y) override;
    std::vector<quint32> PixelBlock(int left, int top, int width, int height) override;
    std::unique_ptr<ScreenReader> OpenScreenReader() override;
    // What a reader of another thread calls.
    std::vector<quint32> ReadForReader(const QRect& area);
    std::vector<QRect> WaitForChanges(std::stop_token stop);

private:
    bool IsDown(Watched key);
    bool Untypable(quint32 keysym)
    {
        const bool untypable = std::find(m_untypable.begin(), m_untypable.end(), keysym) != m_untypable.end();
        if (untypable)
            m_untyped.push_back(keysym);
        return untypable;
    }
    void Record(const Action& action, MouseButton button, bool held)
    {
        m_actions.push_back(action);
        std::erase(m_held, button);
        if (held)
            m_held.push_back(button);
    }

    std::vector<MouseButton> m_held; // buttons held by ButtonDown, in the order pressed
    std::map<Watched, bool> m_steady;
    std::map<Watched, std::pair<int, QPoint>> m_heldFor; // queries still to answer "down", and the release point
    std::map<Watched, int> m_queries;
    std::function<quint32(int, int)> m_colourAt;
    std::vector<Action> m_actions;
    QPoint m_pointer;
    std::vector<ButtonEvent> m_buttonEvents;
    std::vector<InputEvent> m_inputEvents;
    std::vector<PointerMove> m_moves;
    std::vector<quint32> m_heldKeys;
    std::vector<quint32> m_untypable;
    std::vector<quint32> m_untyped;
    bool m_followable = false;
    bool m_seesUser = true;
    std::atomic<int> m_pixelsRead = 0;
    bool m_reportsChanges = false;
    std::mutex m_screenMutex; // the pixels and the changes, shared with readers
    std::condition_variable_any m_changed;
    std::vector<QRect> m_changes;
    QSize m_screenSize{1920, 1080};
};
