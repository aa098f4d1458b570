// clickwarden-guardian: lets go of the buttons and keys that Clickwarden's playback holds, once
// Clickwarden is gone. It reads three-byte instructions on its standard input ('+' or '-', 'b' for a
// button or 'k' for a key, the X button number or key code) and, when the input ends because the
// program ended however it did, releases what is still held on a connection of its own.
#include "desktop/GuardianProtocol.h"
#include "desktop/HeldInputs.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <unistd.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using Held = std::vector<std::pair<char, unsigned char>>;

void Apply(Held& held, const unsigned char* message)
{
    const std::pair<char, unsigned char> input{static_cast<char>(message[1]), message[2]};
    std::erase(held, input);
    if (message[0] == GuardianProtocol::kHeld)
        held.push_back(input);
}

void Release(Display* display, const Held& held)
{
    // Last pressed first, as a user lets go.
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
        if (it->first == static_cast<char>(HeldInputs::Kind::Button))
            XTestFakeButtonEvent(display, it->second, False, CurrentTime);
        else if (it->first == static_cast<char>(HeldInputs::Kind::Key))
            XTestFakeKeyEvent(display, it->second, False, CurrentTime);
    }
    XSync(display, False);
}

} // namespace

int main(int argc, char* argv[])
{
    // Connected before the first instruction is read: the program may be gone by the time it comes.
    Display* display = XOpenDisplay(argc > 1 && argv[1][0] != '\0' ? argv[1] : nullptr);
    if (display == nullptr)
        return 1;
    Held held;
    GuardianProtocol::ReadUntilClosed(STDIN_FILENO, [&held](const unsigned char* message) { Apply(held, message); });
    Release(display, held);
    XCloseDisplay(display);
    return 0;
}
