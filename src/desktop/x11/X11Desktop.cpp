#include "desktop/x11/X11Desktop.h"

#include "desktop/x11/CursorFile.h"
#include "desktop/x11/X11Buttons.h"
#include "desktop/x11/X11Cursor.h"
#include "desktop/x11/X11ErrorTrap.h"
#include "desktop/x11/X11HeldRecord.h"
#include "desktop/x11/X11HotKeyGrab.h"
#include "desktop/x11/X11InputStream.h"
#include "desktop/x11/X11KeyWatch.h"
#include "desktop/x11/X11Keyboard.h"
#include "desktop/x11/X11Safeguard.h"
#include "desktop/x11/X11Screen.h"
#include "desktop/x11/X11ScreenReader.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <thread>
#include <utility>

namespace {

constexpr std::chrono::milliseconds kDoubleClickGap{15};

} // namespace

X11Desktop::OpenResult X11Desktop::Open(const QByteArray& displayName)
{
    Display* display = XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData());
    if (display == nullptr)
        return {nullptr, OpenError::NoDisplay};
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display);
        return {nullptr, OpenError::NoXTest};
    }
    X11ErrorTrap::InstallHandlers();
    // A run killed together with its guardian left its buttons, keys and lent codes: undone first.
    X11HeldRecord::Sweep(display, DisplayString(display));
    return {std::unique_ptr<X11Desktop>(new X11Desktop(display)), OpenError::NoError};
}

X11Desktop::X11Desktop(_XDisplay* display) : m_display(display)
{
    m_screen = DefaultScreen(m_display);
    m_root = RootWindow(m_display, m_screen);

    // A client that uses XKB, as Xlib does, hears of a new mapping through XKB events only.
    int opcode = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (XkbQueryExtension(m_display, &opcode, &m_xkbEventBase, &errorBase, &major, &minor)) {
        constexpr unsigned long kMapChanges = XkbMapNotifyMask | XkbNewKeyboardNotifyMask;
        XkbSelectEvents(m_display, XkbUseCoreKbd, kMapChanges, kMapChanges);
    } else {
        m_xkbEventBase = -1;
    }
    m_keyWatch = std::make_unique<X11KeyWatch>(m_display);
    m_safeguard = std::make_unique<X11Safeguard>(DisplayString(m_display), m_held);
    m_held.SetListener([this](const HeldInputs::Input& input, bool held) { m_safeguard->Changed(input, held); });
    m_hotKeys = std::make_unique<X11HotKeyGrab>(m_display, m_root);

    // The root window reports its new size when the screen is resized, without a query per read.
    XSelectInput(m_display, m_root, StructureNotifyMask);
    // Keys go through FakeInput too, so that every one held is known to the guardian.
    m_keyboard = std::make_unique<X11Keyboard>(m_display, m_held, [this](unsigned int keycode, bool press) {
        FakeInput({HeldInputs::Kind::Key, static_cast<int>(keycode)}, press);
    });
    m_screenPixels = std::make_unique<X11Screen>(m_display, m_root, m_screen);
}

X11Desktop::~X11Desktop()
{
    ReleaseHeld();
    m_keyboard.reset();
    m_hotKeys.reset();
    m_inputStream.reset();
    // The root window's cursor would outlive the program: give the normal one back.
    if (m_held.IsHeld({HeldInputs::Kind::PointerShape, 0}))
        SetPointerShape();
    m_held.SetListener({});
    m_safeguard.reset();
    XCloseDisplay(m_display);
}

X11Desktop::PointerState X11Desktop::QueryPointer()
{
    Window rootReturn = 0;
    Window childReturn = 0;
    int windowX = 0;
    int windowY = 0;
    PointerState state;
    XQueryPointer(m_display, m_root, &rootReturn, &childReturn, &state.x, &state.y, &windowX, &windowY, &state.buttons);
    return state;
}

bool X11Desktop::IsButtonDown(MouseButton button)
{
    return (QueryPointer().buttons & (Button1Mask << (X11Buttons::NumberOf(button) - 1))) != 0;
}

bool X11Desktop::IsKeyDown(quint32 keysym)
{
    X11KeyWatch::Keymap keys = {};
    XQueryKeymap(m_display, keys.data());
    // The reply brought in whatever the server announced before it, a new keyboard mapping among them.
    if (XEventsQueued(m_display, QueuedAlready) > 0)
        TakeServerNotices();
    return m_keyWatch->IsDown(keysym, keys);
}

bool X11Desktop::WatchInput(bool on)
{
    if (!on)
        m_inputStream.reset();
    else if (!m_inputStream)
        m_inputStream = X11InputStream::Start(m_display);
    return m_inputStream != nullptr;
}

std::vector<ButtonEvent> X11Desktop::TakeButtonEvents()
{
    return m_inputStream ? m_inputStream->Take() : std::vector<ButtonEvent>();
}

std::vector<PointerMove> X11Desktop::TakePointerMoves()
{
    return m_inputStream ? m_inputStream->TakeMoves() : std::vector<PointerMove>();
}

std::vector<InputEvent> X11Desktop::TakeInputEvents()
{
    std::vector<InputEvent> events;
    if (!m_inputStream)
        return events;
    const std::vector<X11InputStream::RawInput> raw = m_inputStream->TakeInput();
    if (raw.empty())
        return events;
    TakeServerNotices(); // a new keyboard map, if one came
    for (const X11InputStream::RawInput& input : raw) {
        InputEvent event;
        event.x = input.x;
        event.y = input.y;
        event.time = input.time;
        event.order = input.order;
        if (input.type == ButtonPress) {
            event.kind = InputEvent::Kind::Wheel;
            event.direction = WheelDirection(input.detail - Button4);
        } else {
            event.kind = input.type == KeyPress ? InputEvent::Kind::Press : InputEvent::Kind::Release;
            event.key = static_cast<int>(input.detail);
            event.keysym = m_keyboard->KeysymOf(input.detail, input.state);
            event.baseKeysym = m_keyboard->BaseKeysymOf(input.detail, input.state);
        }
        events.push_back(event);
    }
    return events;
}

void X11Desktop::KeyDown(quint32 keysym)
{
    TakeServerNotices();
    if (!m_keyboard->Press(keysym))
        m_untyped.push_back(keysym);
}

void X11Desktop::KeyUp(quint32 keysym)
{
    TakeServerNotices();
    m_keyboard->Release(keysym);
}

void X11Desktop::KeyTap(quint32 keysym)
{
    TakeServerNotices();
    if (!m_keyboard->Tap(keysym))
        m_untyped.push_back(keysym);
}

std::vector<quint32> X11Desktop::TakeUntypedKeys()
{
    return std::exchange(m_untyped, {});
}

void X11Desktop::TurnWheel(WheelDirection direction, int notches)
{
    const HeldInputs::Input button{HeldInputs::Kind::Button, Button4 + static_cast<int>(direction)};
    for (int notch = 0; notch < notches; ++notch) {
        FakeInput(button, true);
        FakeInput(button, false);
    }
}

int X11Desktop::PointerX()
{
    return QueryPointer().x;
}

int X11Desktop::PointerY()
{
    return QueryPointer().y;
}

void X11Desktop::MovePointer(int x, int y)
{
    XTestFakeMotionEvent(m_display, m_screen, x, y, CurrentTime);
    XSync(m_display, False);
}

void X11Desktop::FakeButton(MouseButton button, bool press)
{
    FakeInput({HeldInputs::Kind::Button, static_cast<int>(X11Buttons::NumberOf(button))}, press);
}

// Every press and release of the program goes through here, so that what is held is always known.
void X11Desktop::FakeInput(const HeldInputs::Input& input, bool press)
{
    if (press)
        m_held.Pressing(input);
    const auto code = static_cast<unsigned int>(input.code);
    if (input.kind == HeldInputs::Kind::Button)
        XTestFakeButtonEvent(m_display, code, press ? True : False, CurrentTime);
    else
        XTestFakeKeyEvent(m_display, code, press ? True : False, CurrentTime);
    // Only a round trip makes the press visible to the next query (a flush alone often does not).
    XSync(m_display, False);
    if (!press)
        m_held.Released(input);
}

void X11Desktop::ReleaseHeld()
{
    // A copy: each release takes its input off the list.
    const std::vector<HeldInputs::Input> held = m_held.Held();
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        if (it->kind == HeldInputs::Kind::Button || it->kind == HeldInputs::Kind::Key)
            FakeInput(*it, false);
    if (m_keyboard) {
        m_keyboard->Forget();
        m_keyboard->GiveBack();
    }
}

void X11Desktop::ButtonDown(MouseButton button)
{
    FakeButton(button, true);
}

void X11Desktop::ButtonUp(MouseButton button)
{
    FakeButton(button, false);
}

void X11Desktop::ButtonClick(MouseButton button)
{
    FakeButton(button, true);
    FakeButton(button, false);
}

// The two clicks follow each other at once, well inside any toolkit's double-click time and at the
// same spot.
void X11Desktop::ButtonDoubleClick(MouseButton button)
{
    ButtonClick(button);
    // Events of the same millisecond share a timestamp, and toolkits (Qt among them) then now and
    // again drop the second click: leave a few milliseconds between the two, well inside any
    // toolkit's double-click time.
    std::this_thread::sleep_for(kDoubleClickGap);
    ButtonClick(button);
}

// The shape is the root window's cursor: it shows wherever no window sets a cursor of its own.
// Neither a pointer grab (it would take the clicks being recorded) nor a cursor change for every
// client (it would outlive a crash of the program).
void X11Desktop::ClaimHotKeys(bool claimed)
{
    m_hotKeys->Claim(claimed);
}

void X11Desktop::SetPointerShape(const QString& cursorFile)
{
    const HeldInputs::Input shape{HeldInputs::Kind::PointerShape, 0};
    if (cursorFile.isEmpty()) {
        X11Cursor::ResetRootCursor(m_display, m_root);
        m_held.Released(shape);
        return;
    }
    const std::optional<CursorFile> file = CursorFile::Load(cursorFile);
    if (!file)
        return;
    const Cursor cursor = X11Cursor::Create(m_display, m_root, *file);
    if (cursor == 0)
        return;
    m_held.Pressing(shape);
    X11Cursor::SetRootCursor(m_display, m_root, cursor);
    XFreeCursor(m_display, cursor); // the root window keeps it as long as it needs it
    XSync(m_display, False);
}

QSize X11Desktop::ScreenSize()
{
    TakeServerNotices();
    return m_screenPixels->Size();
}

quint32 X11Desktop::PixelColor(int x, int y)
{
    return PixelBlock(x, y, 1, 1).front();
}

std::vector<quint32> X11Desktop::PixelBlock(int left, int top, int width, int height)
{
    TakeServerNotices();
    return m_screenPixels->Block(left, top, width, height);
}

std::unique_ptr<ScreenReader> X11Desktop::OpenScreenReader()
{
    std::unique_ptr<ScreenReader> reader = X11ScreenReader::Open(DisplayString(m_display));
    return reader ? std::move(reader) : Desktop::OpenScreenReader();
}

void X11Desktop::ToolkitStarted()
{
    X11ErrorTrap::InstallHandlers();
}

void X11Desktop::TakeServerNotices()
{
    bool remapped = false;
    while (XEventsQueued(m_display, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type == ConfigureNotify && event.xconfigure.window == static_cast<Window>(m_root)) {
            m_screenPixels->Resized(event.xconfigure.width, event.xconfigure.height);
        } else if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            remapped = remapped || event.xmapping.request != MappingPointer;
        } else if (m_xkbEventBase >= 0 && event.type == m_xkbEventBase) {
            const int kind = reinterpret_cast<const XkbAnyEvent*>(&event)->xkb_type;
            remapped = remapped || kind == XkbMapNotify || kind == XkbNewKeyboardNotify;
        }
    }
    // A layout change may have put the stop keys on other keycodes, and any key on another.
    if (remapped) {
        m_keyWatch->Forget();
        m_keyboard->Stale();
        m_hotKeys->Remapped();
    }
}
