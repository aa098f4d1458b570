#include "desktop/x11/X11LetGo.h"

#include <X11/Xlib.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

namespace X11LetGo {

void Undo(Display* display, const std::vector<HeldInputs::Input>& held)
{
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
        const auto code = static_cast<unsigned int>(it->code);
        switch (it->kind) {
        case HeldInputs::Kind::Button:
            XTestFakeButtonEvent(display, code, False, CurrentTime);
            break;
        case HeldInputs::Kind::Key:
            XTestFakeKeyEvent(display, code, False, CurrentTime);
            break;
        case HeldInputs::Kind::LentKey:
        case HeldInputs::Kind::PointerShape:
            break;
        }
    }
    // The releases first: a key let go after its code lost its character would type nothing.
    XSync(display, False);
    for (const HeldInputs::Input& input : held) {
        if (input.kind == HeldInputs::Kind::LentKey) {
            KeySym none = NoSymbol;
            XChangeKeyboardMapping(display, input.code, 1, &none, 1);
        } else if (input.kind == HeldInputs::Kind::PointerShape) {
            const Window root = DefaultRootWindow(display);
            XUndefineCursor(display, root);
            const Cursor arrow = XCreateFontCursor(display, XC_left_ptr);
            SetPointersCursor(display, root, arrow);
            XFreeCursor(display, arrow);
        }
    }
    XSync(display, False);
}

void SetPointersCursor(Display* display, unsigned long root, unsigned long cursor)
{
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = 2;
    int minor = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &eventBase, &errorBase) ||
        XIQueryVersion(display, &major, &minor) != Success)
        return;
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllMasterDevices, &count);
    for (int i = 0; i < count; ++i)
        if (devices[i].use == XIMasterPointer)
            XIDefineCursor(display, devices[i].deviceid, root, cursor);
    if (devices != nullptr)
        XIFreeDeviceInfo(devices);
    XSync(display, False);
}

} // namespace X11LetGo
