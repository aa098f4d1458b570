#include "desktop/gnome/GnomeDesktop.h"

#include "desktop/DesktopScreenReader.h"
#include "desktop/gnome/MutterSession.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <cstdio>
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

std::unique_ptr<GnomeDesktop> GnomeDesktop::Open(const QByteArray& namedBus, const QByteArray& runtimeDir)
{
    const QString address = MutterSession::BusAddress(namedBus, runtimeDir);
    if (!MutterSession::IsOffered(address))
        return nullptr;
    return std::unique_ptr<GnomeDesktop>(new GnomeDesktop(address));
}

GnomeDesktop::GnomeDesktop(const QString& busAddress) : m_busAddress(busAddress)
{}

GnomeDesktop::~GnomeDesktop()
{
    ReleaseHeld();
}

bool GnomeDesktop::EnsureSession()
{
    if (m_session)
        return true;
    if (std::exchange(m_sessionTried, true))
        return false;
    QString error;
    m_session = MutterSession::Start(m_busAddress, &error);
    if (!m_session) {
        std::fprintf(stderr, "clickwarden: GNOME's remote desktop refused a session: %s\n", qPrintable(error));
        return false;
    }
    const QRect monitor = m_session->MonitorRect();
    m_pointerX = monitor.center().x();
    m_pointerY = monitor.center().y();
    return true;
}

bool GnomeDesktop::IsButtonDown(MouseButton button)
{
    return m_held.IsHeld({HeldInputs::Kind::Button, EvdevButtonOf(button)});
}

bool GnomeDesktop::IsKeyDown(quint32)
{
    return false;
}

bool GnomeDesktop::WatchInput(bool)
{
    return false;
}

void GnomeDesktop::SendInput(const HeldInputs::Input& input, bool press)
{
    if (!EnsureSession())
        return;
    if (press)
        m_held.Pressing(input);
    if (input.kind == HeldInputs::Kind::Button)
        m_session->Button(input.code, press);
    else
        m_session->Keysym(static_cast<quint32>(input.code), press);
    if (!press)
        m_held.Released(input);
}

void GnomeDesktop::KeyDown(quint32 keysym)
{
    SendInput({HeldInputs::Kind::Key, static_cast<int>(keysym)}, true);
}

void GnomeDesktop::KeyUp(quint32 keysym)
{
    const HeldInputs::Input input{HeldInputs::Kind::Key, static_cast<int>(keysym)};
    // A release of a key that is not down would reach nobody.
    if (m_held.IsHeld(input))
        SendInput(input, false);
}

void GnomeDesktop::KeyTap(quint32 keysym)
{
    KeyDown(keysym);
    KeyUp(keysym);
}

std::vector<quint32> GnomeDesktop::TakeUntypedKeys()
{
    return std::exchange(m_untyped, {});
}

void GnomeDesktop::TurnWheel(WheelDirection direction, int notches)
{
    if (!EnsureSession())
        return;
    const bool horizontal = direction == WheelDirection::Left || direction == WheelDirection::Right;
    const int sign = direction == WheelDirection::Down || direction == WheelDirection::Right ? 1 : -1;
    // One step per call, as a real wheel sends them: clients count steps by frames.
    for (int notch = 0; notch < notches; ++notch)
        m_session->Wheel(horizontal, sign);
}

int GnomeDesktop::PointerX()
{
    EnsureSession();
    return m_pointerX;
}

int GnomeDesktop::PointerY()
{
    EnsureSession();
    return m_pointerY;
}

void GnomeDesktop::MovePointer(int x, int y)
{
    if (!EnsureSession())
        return;
    const QRect screen(QPoint(0, 0), ScreenSize());
    m_pointerX = std::clamp(x, screen.left(), screen.right());
    m_pointerY = std::clamp(y, screen.top(), screen.bottom());
    m_session->MovePointer(m_pointerX, m_pointerY);
}

void GnomeDesktop::ButtonDown(MouseButton button)
{
    SendInput({HeldInputs::Kind::Button, EvdevButtonOf(button)}, true);
}

void GnomeDesktop::ButtonUp(MouseButton button)
{
    SendInput({HeldInputs::Kind::Button, EvdevButtonOf(button)}, false);
}

void GnomeDesktop::ButtonClick(MouseButton button)
{
    ButtonDown(button);
    ButtonUp(button);
}

void GnomeDesktop::ButtonDoubleClick(MouseButton button)
{
    ButtonClick(button);
    std::this_thread::sleep_for(kDoubleClickGap);
    ButtonClick(button);
}

void GnomeDesktop::ReleaseHeld()
{
    // A copy: each release takes its input off the list.
    const std::vector<HeldInputs::Input> held = m_held.Held();
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        SendInput(*it, false);
}

void GnomeDesktop::SetPointerShape(const QString&)
{}

QSize GnomeDesktop::ScreenSize()
{
    if (!EnsureSession())
        return {};
    const QRect monitor = m_session->MonitorRect();
    return QSize(monitor.right() + 1, monitor.bottom() + 1);
}

quint32 GnomeDesktop::PixelColor(int x, int y)
{
    return PixelBlock(x, y, 1, 1).front();
}

std::vector<quint32> GnomeDesktop::PixelBlock(int left, int top, int width, int height)
{
    Q_UNUSED(left);
    Q_UNUSED(top);
    return std::vector<quint32>(static_cast<size_t>(std::max(0, width)) * static_cast<size_t>(std::max(0, height)));
}

std::unique_ptr<ScreenReader> GnomeDesktop::OpenScreenReader()
{
    return Desktop::OpenScreenReader();
}
