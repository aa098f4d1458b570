// clickwarden-wayland-guardian: lets go of the buttons that Clickwarden's playback holds on a
// Wayland compositor, once Clickwarden is gone. It reads the instructions of GuardianProtocol on its
// standard input ('+' or '-', 'b' for a button, the low byte of its evdev code) and, when the input
// ends because the program ended however it did, releases what is still held through a virtual
// pointer of its own, made at its start so that the seat never loses its pointer meanwhile. Keys
// need no help: the compositor lets go of a virtual keyboard's keys when it goes away.
#include "desktop/GuardianProtocol.h"
#include "desktop/HeldInputs.h"
#include "desktop/wayland/WaylandConnection.h"

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <linux/input-event-codes.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

int main(int argc, char* argv[])
{
    // Connected before the first instruction is read: the program may be gone by the time it comes.
    const std::unique_ptr<WaylandConnection> connection =
        WaylandConnection::Connect(argc > 1 ? QByteArray(argv[1]) : QByteArray());
    if (!connection || connection->PointerManager() == nullptr)
        return 1;
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(connection->PointerManager(), connection->Seat());
    connection->Roundtrip();

    std::vector<unsigned char> held; // buttons, in the order pressed
    GuardianProtocol::ReadUntilClosed(STDIN_FILENO, [&held](const unsigned char* message) {
        if (message[1] != static_cast<unsigned char>(HeldInputs::Kind::Button))
            return;
        std::erase(held, message[2]);
        if (message[0] == GuardianProtocol::kHeld)
            held.push_back(message[2]);
    });
    // Last pressed first, as a user lets go.
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
        zwlr_virtual_pointer_v1_button(pointer, 0, BTN_MOUSE | *it, WL_POINTER_BUTTON_STATE_RELEASED);
        zwlr_virtual_pointer_v1_frame(pointer);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    connection->Roundtrip();
    return 0;
}
