#include "desktop/gnome/GnomeDesktop.h"

#include "desktop/gnome/GnomeScreenReader.h"
#include "desktop/gnome/MutterSession.h"
#include "desktop/gnome/ScreenCastFrames.h"
#include "desktop/gnome/SeatKeymap.h"

#include <algorithm>
#include <cstdio>

std::unique_ptr<GnomeDesktop> GnomeDesktop::Open(const QByteArray& namedBus, const QByteArray& runtimeDir,
                                                 const QByteArray& waylandDisplay)
{
    const QString address = MutterSession::BusAddress(namedBus, runtimeDir);
    if (!MutterSession::IsOffered(address))
        return nullptr;
    return std::unique_ptr<GnomeDesktop>(new GnomeDesktop(address, waylandDisplay));
}

GnomeDesktop::GnomeDesktop(const QString& busAddress, const QByteArray& waylandDisplay)
    : m_busAddress(busAddress), m_waylandDisplay(waylandDisplay), m_strokes(std::make_unique<KeyStrokes>())
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

void GnomeDesktop::Deliver(const HeldInputs::Input& input, bool press)
{
    NoteInput();
    if (input.kind == HeldInputs::Kind::Button)
        m_session->Button(input.code, press);
    else
        m_session->Key(input.code, press);
}

KeyStrokes::Stroke GnomeDesktop::StrokeFor(quint32 keysym)
{
    // The keyboard is the session's: the compositor tells its layout once it exists.
    if (!m_seatKeymap && EnsureSession())
        m_seatKeymap = SeatKeymap::Connect(m_waylandDisplay);
    if (!m_seatKeymap)
        return {};
    xkb_keymap* keymap = m_seatKeymap->Keymap();
    if (m_seatKeymap->Generation() != m_strokesGeneration) {
        m_strokes = std::make_unique<KeyStrokes>(keymap, m_seatKeymap->Group());
        m_strokesGeneration = m_seatKeymap->Generation();
    }
    return m_strokes->For(keysym);
}

// By key codes, with the modifiers pressed here: mutter lets go of all of them when the session ends.
void GnomeDesktop::KeyDown(quint32 keysym)
{
    if (m_pressed.contains(keysym))
        return;
    KeyStrokes::Stroke stroke = StrokeFor(keysym);
    if (stroke.key == 0) {
        m_untyped.push_back(keysym);
        return;
    }
    // Only the modifiers not held already are pressed, and let go of, for this symbol.
    std::erase_if(stroke.modifiers, [this](int modifier) { return Held().IsHeld({HeldInputs::Kind::Key, modifier}); });
    for (const int modifier : stroke.modifiers)
        SendInput({HeldInputs::Kind::Key, modifier}, true);
    if (!Held().IsHeld({HeldInputs::Kind::Key, stroke.key}))
        SendInput({HeldInputs::Kind::Key, stroke.key}, true);
    m_pressed.emplace(keysym, std::move(stroke));
}

void GnomeDesktop::KeyUp(quint32 keysym)
{
    const auto pressed = m_pressed.find(keysym);
    // A release of a key that is not down would reach nobody.
    if (pressed == m_pressed.end())
        return;
    const KeyStrokes::Stroke stroke = std::move(pressed->second);
    m_pressed.erase(pressed);
    const auto release = [this](int code) {
        if (Held().IsHeld({HeldInputs::Kind::Key, code}))
            SendInput({HeldInputs::Kind::Key, code}, false);
    };
    release(stroke.key);
    for (auto it = stroke.modifiers.rbegin(); it != stroke.modifiers.rend(); ++it)
        release(*it);
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
    NoteInput();
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
    NoteInput();
    m_session->MovePointer(m_pointerX, m_pointerY);
}

void GnomeDesktop::ReleaseHeld()
{
    EvdevDesktop::ReleaseHeld();
    m_pressed.clear();
}

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
    const QRect area(left, top, width, height);
    std::vector<quint32> colours;
    if (!EnsureFrames() || !m_frames->Read(area.translated(-m_session->MonitorRect().topLeft()), &colours))
        colours.assign(static_cast<size_t>(std::max(0, width)) * static_cast<size_t>(std::max(0, height)), 0);
    return colours;
}

std::unique_ptr<ScreenReader> GnomeDesktop::OpenScreenReader()
{
    if (!EnsureFrames())
        return Desktop::OpenScreenReader();
    return std::make_unique<GnomeScreenReader>(m_frames, m_session->MonitorRect());
}

void GnomeDesktop::NoteInput()
{
    if (m_frames)
        m_frames->InputSent();
}

bool GnomeDesktop::EnsureFrames()
{
    if (!m_frames && EnsureSession() && !std::exchange(m_framesTried, true)) {
        m_frames = ScreenCastFrames::Open(m_session->NodeId());
        if (!m_frames)
            std::fprintf(stderr, "clickwarden: the screen cannot be read: PipeWire cannot be reached\n");
    }
    return m_frames != nullptr;
}
