// clickwarden-guardian: undoes what Clickwarden holds on the X server once Clickwarden is gone. It
// reads three-byte instructions on its standard input ('+' or '-', then 'b' a button, 'k' a key,
// 'l' a lent key code or 'c' the pointer shape, then the X button number or key code) and, when
// the input ends because the program ended however it did, lets go of what is still held, takes
// the lent characters off their key codes and gives the root window its normal pointer back, on a
// connection of its own.
#include "desktop/GuardianProtocol.h"
#include "desktop/HeldInputs.h"
#include "desktop/x11/X11LetGo.h"

#include <X11/Xlib.h>

#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

void Apply(std::vector<HeldInputs::Input>& held, const unsigned char* message)
{
    const HeldInputs::Input input{static_cast<HeldInputs::Kind>(message[1]), message[2]};
    std::erase(held, input);
    if (message[0] == GuardianProtocol::kHeld)
        held.push_back(input);
}

// A request that fails (a key code the layout took back) must not end the guardian before the rest.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Connected before the first instruction is read: the program may be gone by the time it comes.
    Display* display = XOpenDisplay(argc > 1 && argv[1][0] != '\0' ? argv[1] : nullptr);
    if (display == nullptr)
        return 1;
    XSetErrorHandler(IgnoreError);
    std::vector<HeldInputs::Input> held;
    GuardianProtocol::ReadUntilClosed(STDIN_FILENO, [&held](const unsigned char* message) { Apply(held, message); });
    X11LetGo::Undo(display, held);
    XCloseDisplay(display);
    return 0;
}
