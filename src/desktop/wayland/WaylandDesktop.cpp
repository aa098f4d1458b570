#include "desktop/wayland/WaylandDesktop.h"

#include "desktop/GuardianProcess.h"
#include "desktop/wayland/WaylandConnection.h"
#include "desktop/wayland/WaylandScreenCopy.h"
#include "desktop/wayland/WaylandScreenReader.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <utility>

namespace {

// Clients hear of a new keyboard on the seat and ask for it on their own time; a key sent before
// that would reach them inside their keyboard's enter event, which they ignore.
constexpr std::chrono::milliseconds kNewKeyboardSettle{50};
constexpr quint32 kKeymapFormatXkbV1 = 1;
constexpr quint32 kPressed = 1;
constexpr quint32 kReleased = 0;
// libinput's distance for one notch of a wheel.
constexpr double kNotchDistance = 15.0;
constexpr int kGuardianStartMs = 3000;

} // namespace

WaylandDesktop::OpenResult WaylandDesktop::Open(const QByteArray& displayName, const QString& guardianProgram)
{
    OpenResult result;
    std::unique_ptr<WaylandConnection> connection = WaylandConnection::Connect(displayName);
    if (!connection) {
        result.noCompositor = true;
        return result;
    }
    result.missingInterfaces = connection->MissingInterfaces();
    if (result.missingInterfaces.isEmpty())
        result.desktop.reset(new WaylandDesktop(std::move(connection), displayName, guardianProgram));
    return result;
}

WaylandDesktop::WaylandDesktop(std::unique_ptr<WaylandConnection> connection, const QByteArray& displayName,
                               const QString& guardianProgram)
    : m_connection(std::move(connection)), m_displayName(displayName), m_guardianProgram(guardianProgram)
{
    Held().SetListener([this](const HeldInputs::Input& input, bool held) { TellGuardian(input, held); });
    m_screenCopy = std::make_unique<WaylandScreenCopy>(*m_connection);
    m_pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(m_connection->PointerManager(), m_connection->Seat());
    const QRect layout = m_connection->Layout();
    m_pointerX = layout.center().x();
    m_pointerY = layout.center().y();
    m_connection->Roundtrip();
}

WaylandDesktop::~WaylandDesktop()
{
    ReleaseHeld();
    if (m_keyboard != nullptr)
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
    zwlr_virtual_pointer_v1_destroy(m_pointer);
    m_screenCopy.reset();
    m_connection->Roundtrip();
    m_guardian.reset();
}

void WaylandDesktop::TellGuardian(const HeldInputs::Input& input, bool held)
{
    // Only buttons: the compositor lets go of a virtual keyboard's keys itself when it goes away.
    if (input.kind != HeldInputs::Kind::Button)
        return;
    // Looked for at the first press: the program's folder is known once the application exists.
    if (!m_guardian && held && !std::exchange(m_guardianTried, true)) {
        m_guardian = GuardianProcess::Start(kGuardianName, m_displayName,
                                            m_guardianProgram.isEmpty() ? GuardianProcess::ProgramPath(kGuardianName)
                                                                        : m_guardianProgram);
        if (m_guardian && !m_guardian->WaitUntilReady(kGuardianStartMs))
            std::fprintf(stderr,
                         "clickwarden: %s did not start: a button held by playback stays down if the "
                         "program is killed\n",
                         kGuardianName);
    }
    if (m_guardian)
        m_guardian->Tell(input, held);
}

quint32 WaylandDesktop::Now() const
{
    return static_cast<quint32>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start).count());
}

// The round trip makes the call synchronous: the compositor has handled the event when it returns.
void WaylandDesktop::Deliver(const HeldInputs::Input& input, bool press)
{
    const auto code = static_cast<quint32>(input.code);
    if (input.kind == HeldInputs::Kind::Button) {
        zwlr_virtual_pointer_v1_button(m_pointer, Now(), code, press ? kPressed : kReleased);
        zwlr_virtual_pointer_v1_frame(m_pointer);
    } else if (m_keyboard != nullptr) {
        zwp_virtual_keyboard_v1_key(m_keyboard, Now(), code, press ? kPressed : kReleased);
        const quint32 mask = m_keymap.ModifierMaskOf(code);
        if (mask != 0) {
            m_modifiers = press ? (m_modifiers | mask) : (m_modifiers & ~mask);
            zwp_virtual_keyboard_v1_modifiers(m_keyboard, m_modifiers, 0, 0, 0);
        }
    }
    m_connection->Roundtrip();
}

bool WaylandDesktop::EnsureKeyboard()
{
    if (m_keyboard != nullptr)
        return true;
    m_keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(m_connection->KeyboardManager(), m_connection->Seat());
    UploadKeymap();
    std::this_thread::sleep_for(kNewKeyboardSettle);
    UploadKeymap(); // the enter event of clients that asked for the keyboard meanwhile, with no key in it
    return m_keyboard != nullptr;
}

// Sends the keymap, then the modifiers alone: that makes the compositor switch the seat to this
// keyboard and send clients its keymap (and keyboard enter) before any key, not with the first one.
void WaylandDesktop::UploadKeymap()
{
    const QByteArray text = m_keymap.Text();
    const int fd = memfd_create("clickwarden-keymap", MFD_CLOEXEC);
    if (fd < 0)
        return;
    // The compositor maps the size given, terminating zero included.
    const auto size = static_cast<size_t>(text.size()) + 1;
    if (write(fd, text.constData(), size) == static_cast<ssize_t>(size))
        zwp_virtual_keyboard_v1_keymap(m_keyboard, kKeymapFormatXkbV1, fd, static_cast<quint32>(size));
    close(fd);
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, m_modifiers, 0, 0, 0);
    m_connection->Roundtrip();
}

void WaylandDesktop::SendKey(quint32 keysym, bool press)
{
    if (!EnsureKeyboard())
        return;
    const WaylandKeymap::Key key = m_keymap.KeyFor(keysym, [this](quint32 code) {
        return Held().IsHeld({HeldInputs::Kind::Key, static_cast<int>(code)});
    });
    if (key.code == 0)
        return;
    if (key.added)
        UploadKeymap();
    const HeldInputs::Input input{HeldInputs::Kind::Key, static_cast<int>(key.code)};
    // A release of a key that is not down would reach nobody.
    if (press || Held().IsHeld(input))
        SendInput(input, press);
}

void WaylandDesktop::KeyDown(quint32 keysym)
{
    SendKey(keysym, true);
}

void WaylandDesktop::KeyUp(quint32 keysym)
{
    SendKey(keysym, false);
}

void WaylandDesktop::KeyTap(quint32 keysym)
{
    SendKey(keysym, true);
    SendKey(keysym, false);
}

void WaylandDesktop::TurnWheel(WheelDirection direction, int notches)
{
    const bool vertical = direction == WheelDirection::Up || direction == WheelDirection::Down;
    const int sign = direction == WheelDirection::Down || direction == WheelDirection::Right ? 1 : -1;
    const quint32 axis = vertical ? WL_POINTER_AXIS_VERTICAL_SCROLL : WL_POINTER_AXIS_HORIZONTAL_SCROLL;
    // One frame per notch, as a real wheel sends them: clients count steps by frames.
    for (int notch = 0; notch < notches; ++notch) {
        zwlr_virtual_pointer_v1_axis_source(m_pointer, WL_POINTER_AXIS_SOURCE_WHEEL);
        zwlr_virtual_pointer_v1_axis_discrete(m_pointer, Now(), axis, wl_fixed_from_double(sign * kNotchDistance),
                                              sign);
        zwlr_virtual_pointer_v1_frame(m_pointer);
    }
    m_connection->Roundtrip();
}

void WaylandDesktop::MovePointer(int x, int y)
{
    const QRect layout = m_connection->Layout();
    if (layout.isEmpty())
        return;
    // The compositor maps x out of the extent onto the layout's width: with the width as the extent
    // every pixel is reached exactly.
    m_pointerX = std::clamp(x, layout.left(), layout.right());
    m_pointerY = std::clamp(y, layout.top(), layout.bottom());
    zwlr_virtual_pointer_v1_motion_absolute(m_pointer, Now(), static_cast<quint32>(m_pointerX - layout.left()),
                                            static_cast<quint32>(m_pointerY - layout.top()),
                                            static_cast<quint32>(layout.width()),
                                            static_cast<quint32>(layout.height()));
    zwlr_virtual_pointer_v1_frame(m_pointer);
    m_connection->Roundtrip();
}

QSize WaylandDesktop::ScreenSize()
{
    const QRect layout = m_connection->Layout();
    return layout.isEmpty() ? QSize() : QSize(layout.right() + 1, layout.bottom() + 1);
}

quint32 WaylandDesktop::PixelColor(int x, int y)
{
    return PixelBlock(x, y, 1, 1).front();
}

std::vector<quint32> WaylandDesktop::PixelBlock(int left, int top, int width, int height)
{
    return m_screenCopy->Block(QRect(left, top, width, height));
}

std::unique_ptr<ScreenReader> WaylandDesktop::OpenScreenReader()
{
    // A connection of the reader's own; the banded reader through this one is the fallback.
    if (std::unique_ptr<WaylandScreenReader> reader = WaylandScreenReader::Open(m_displayName))
        return reader;
    return Desktop::OpenScreenReader();
}
