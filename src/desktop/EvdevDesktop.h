#pragma once

#include "desktop/Desktop.h"
#include "desktop/HeldInputs.h"

// A desktop driven through virtual devices that take evdev codes, where a client sees no input but
// its own (the Wayland compositors). Every press and release goes through SendInput, so what the
// program holds is always known; the buttons, the clicks and the letting go are the same for each.
class EvdevDesktop : public Desktop
{
public:
    // True only for a button the program's own presses hold: no client may read the seat's buttons.
    bool IsButtonDown(MouseButton button) override;
    // Always false: no client may read the keyboard of the seat.
    bool IsKeyDown(quint32) override { return false; }
    // Always false: no Wayland interface lets a client watch other clients' input.
    bool WatchInput(bool) override { return false; }
    bool SeesUserInput() override { return false; }
    std::vector<ButtonEvent> TakeButtonEvents() override { return {}; }
    std::vector<InputEvent> TakeInputEvents() override { return {}; }
    void ButtonDown(MouseButton button) override;
    void ButtonUp(MouseButton button) override;
    void ButtonClick(MouseButton button) override;
    void ButtonDoubleClick(MouseButton button) override;
    void ReleaseHeld() override;
    // Does nothing: a client cannot shape the pointer over other clients' surfaces.
    void SetPointerShape(const QString& = QString()) override {}

protected:
    // Presses or lets go of one button or key; what is held is on record before a press goes out.
    void SendInput(const HeldInputs::Input& input, bool press);
    // Whether the devices can take input now (they may be made at the first use).
    virtual bool ReadyToSend() { return true; }
    // The device's own press or release.
    virtual void Deliver(const HeldInputs::Input& input, bool press) = 0;
    HeldInputs& Held() { return m_held; }

private:
    HeldInputs m_held; // evdev codes: BTN_LEFT ..., and the key codes of the device's keymap
};
