#include "desktop/x11/X11InputStream.h"

#include "desktop/x11/X11Buttons.h"
#include "desktop/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>

#include <poll.h>

#include <cstring>
#include <utility>

namespace {

void Intercept(XPointer inboxPointer, XRecordInterceptData* data)
{
    auto* inbox = reinterpret_cast<X11InputStream::Inbox*>(inboxPointer);
    if (data->category == XRecordStartOfData)
        inbox->started = true;
    if (data->category == XRecordFromServer && data->data_len * 4 >= sizeof(xEvent)) {
        xEvent event;
        std::memcpy(&event, data->data, sizeof event);
        const int type = event.u.u.type & 0x7f;
        const unsigned int detail = event.u.u.detail;
        const std::optional<MouseButton> button = X11Buttons::FromNumber(detail);
        const auto& at = event.u.keyButtonPointer;
        // Moves come whatever the buttons: only those of a drag are kept.
        if (type == MotionNotify) {
            if (at.state & (Button1Mask | Button2Mask | Button3Mask))
                inbox->moves.push_back(PointerMove{at.rootX, at.rootY, at.time, ++inbox->order});
        } else if ((type == ButtonPress || type == ButtonRelease) && button)
            inbox->events.push_back(
                ButtonEvent{*button, type == ButtonPress, at.rootX, at.rootY, at.time, ++inbox->order});
        // The wheel's buttons come as a press and a release for each notch: the press stands for it.
        else if (type == KeyPress || type == KeyRelease || (type == ButtonPress && detail >= 4 && detail <= 7))
            inbox->input.push_back(
                X11InputStream::RawInput{type, detail, at.state, at.rootX, at.rootY, at.time, ++inbox->order});
    }
    XRecordFreeData(data);
}

// How long the server may take to confirm that it records: far more than it needs on a busy desktop.
constexpr int kStartTimeoutMs = 1000;

} // namespace

std::unique_ptr<X11InputStream> X11InputStream::Start(Display* control)
{
    // Asked quietly: the library's own check prints a complaint when the extension is missing.
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    if (!XQueryExtension(control, "RECORD", &opcode, &eventBase, &errorBase))
        return nullptr;
    // The data connection carries nothing but the recorded events once the context is enabled.
    Display* data = XOpenDisplay(DisplayString(control));
    if (data == nullptr)
        return nullptr;

    XRecordRange* range = XRecordAllocRange();
    if (range == nullptr) {
        XCloseDisplay(data);
        return nullptr;
    }
    range->device_events.first = KeyPress;
    range->device_events.last = MotionNotify;
    XRecordClientSpec clients = XRecordAllClients;
    XRecordContext context = 0;
    {
        X11ErrorTrap trap(control);
        context = XRecordCreateContext(control, 0, &clients, 1, &range, 1);
        XSync(control, False);
        if (trap.Failed())
            context = 0;
    }
    XFree(range);
    if (context == 0) {
        XCloseDisplay(data);
        return nullptr;
    }
    std::unique_ptr<X11InputStream> stream(new X11InputStream(control, data, context));
    if (!XRecordEnableContextAsync(data, context, &Intercept, reinterpret_cast<XPointer>(&stream->m_inbox)) ||
        !stream->WaitForStart())
        return nullptr;
    return stream;
}

X11InputStream::X11InputStream(Display* control, Display* data, unsigned long context)
    : m_control(control), m_data(data), m_context(context)
{}

X11InputStream::~X11InputStream()
{
    X11ErrorTrap trap(m_control);
    XRecordDisableContext(m_control, m_context);
    XRecordFreeContext(m_control, m_context);
    XSync(m_control, False);
    XCloseDisplay(m_data);
}

// Events are recorded only once the server has answered the enable request: a press made before
// that would be lost, so the start waits for the answer.
bool X11InputStream::WaitForStart()
{
    XFlush(m_data);
    pollfd socket{ConnectionNumber(m_data), POLLIN, 0};
    for (int waited = 0; !m_inbox.started && waited < kStartTimeoutMs; ++waited) {
        XRecordProcessReplies(m_data);
        if (!m_inbox.started)
            poll(&socket, 1, 1);
    }
    return m_inbox.started;
}

std::vector<ButtonEvent> X11InputStream::Take()
{
    // Reads whatever has arrived on the data connection and hands it to Intercept, without waiting.
    XRecordProcessReplies(m_data);
    m_justRead = true;
    std::vector<ButtonEvent> events;
    events.swap(m_inbox.events);
    return events;
}

std::vector<X11InputStream::RawInput> X11InputStream::TakeInput()
{
    // Right after Take() the connection has just been read: what came since is for the next poll.
    if (!std::exchange(m_justRead, false))
        XRecordProcessReplies(m_data);
    std::vector<RawInput> input;
    input.swap(m_inbox.input);
    return input;
}
