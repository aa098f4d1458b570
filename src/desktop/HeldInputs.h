#pragma once

#include <functional>
#include <vector>

// The buttons and keys that the program's own presses hold down now, in the desktop's own codes
// (on X11 a button number or a key code): the one record of them. Whatever ends a playback (its
// stop, the program's end, a guardian that outlives a killed program) lets go of what it lists.
class HeldInputs
{
public:
    enum class Kind : char
    {
        Button = 'b',
        Key = 'k',
    };
    struct Input
    {
        Kind kind = Kind::Button;
        int code = 0;

        bool operator==(const Input&) const = default;
    };
    // Hears of every change: told of a press before it goes out and of a release after it went
    // out, so that it never knows of less than is held.
    using Listener = std::function<void(const Input& input, bool held)>;

    void SetListener(Listener listener) { m_listener = std::move(listener); }

    // A press of this input is about to go out.
    void Pressing(const Input& input);
    // A release of this input went out (also after a whole click).
    void Released(const Input& input);

    bool IsHeld(const Input& input) const;
    // What is held, in the order it was pressed.
    const std::vector<Input>& Held() const { return m_held; }

private:
    std::vector<Input> m_held;
    Listener m_listener;
};
