#include "desktop/EvdevDesktop.h"

#include <linux/input-event-codes.h>

#include <chrono>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kDoubleClickGap{15};

int EvdevButtonOf(MouseButton button)
{
    switch (button) {
    case MouseButton::Left:
        break;
    case MouseButton::Right:
        return BTN_RIGHT;
    case MouseButton::Middle:
        return BTN_MIDDLE;
    }
    return BTN_LEFT;
}

} // namespace

bool EvdevDesktop::IsButtonDown(MouseButton button)
{
    return m_held.IsHeld({HeldInputs::Kind::Button, EvdevButtonOf(button)});
}

void EvdevDesktop::SendInput(const HeldInputs::Input& input, bool press)
{
    if (!ReadyToSend())
        return;
    if (press)
        m_held.Pressing(input);
    Deliver(input, press);
    if (!press)
        m_held.Released(input);
}

void EvdevDesktop::ButtonDown(MouseButton button)
{
    SendInput({HeldInputs::Kind::Button, EvdevButtonOf(button)}, true);
}

void EvdevDesktop::ButtonUp(MouseButton button)
{
    SendInput({HeldInputs::Kind::Button, EvdevButtonOf(button)}, false);
}

void EvdevDesktop::ButtonClick(MouseButton button)
{
    ButtonDown(button);
    ButtonUp(button);
}

void EvdevDesktop::ButtonDoubleClick(MouseButton button)
{
    ButtonClick(button);
    std::this_thread::sleep_for(kDoubleClickGap);
    ButtonClick(button);
}

void EvdevDesktop::ReleaseHeld()
{
    // A copy: each release takes its input off the list.
    const std::vector<HeldInputs::Input> held = m_held.Held();
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        SendInput(*it, false);
}
