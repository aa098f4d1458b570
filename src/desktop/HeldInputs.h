#pragma once

#include <functional>
#include <vector>

// What the program's own actions hold on the desktop now, in the desktop's own codes (on X11 a
// button number or a key code): the buttons and keys held down, the key codes lent to characters
// the layout lacks, the pointer shape set on the whole screen. The one record of them: whatever
// ends a playback (its stop, the program's end, a guardian that outlives a killed program, the next
// start after both were killed) lets go of what it lists and gives the rest back.
class HeldInputs
{
public:
    enum class Kind : char
    {
        Button = 'b',
        Key = 'k',
        LentKey = 'l',      // a key code that carries a lent character
        PointerShape = 'c', // the whole screen's pointer shape (code 0)
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

    // A press of this input is about to go out (a key code about to be lent, a shape about to be set).
    void Pressing(const Input& input);
    // A release of this input went out (also after a whole click; a lent key code given back, the
    // normal shape back).
    void Released(const Input& input);

    bool IsHeld(const Input& input) const;
    // What is held, in the order it was pressed.
    const std::vector<Input>& Held() const { return m_held; }

private:
    std::vector<Input> m_held;
    Listener m_listener;
};
