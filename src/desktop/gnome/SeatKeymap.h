#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

struct wl_display;
struct wl_keyboard;
struct wl_registry;
struct wl_seat;
struct xkb_context;
struct xkb_keymap;

// The keyboard layout the compositor types with, as it tells every client that asks for the seat's
// keyboard, over a Wayland connection of its own; kept up to date when the user changes layouts.
class SeatKeymap
{
public:
    // Connects to the compositor named (WAYLAND_DISPLAY where empty); null when none answers.
    static std::unique_ptr<SeatKeymap> Connect(const QByteArray& displayName);
    ~SeatKeymap();
    SeatKeymap(const SeatKeymap&) = delete;
    SeatKeymap& operator=(const SeatKeymap&) = delete;

    // The layout now (after reading what the compositor said meanwhile); null until it told one.
    xkb_keymap* Keymap();
    // The layout group in effect, where the compositor told it (it tells focused clients only): else 0.
    quint32 Group() const { return m_group; }
    // How many layouts were told so far: a new one means new strokes.
    int Generation() const { return m_generation; }

    // Called back by the listeners (public for the C callbacks in the .cpp file).
    void OnGlobal(wl_registry* registry, quint32 name, const char* interface, quint32 version);
    void OnCapabilities(quint32 capabilities);
    void OnKeymap(quint32 format, int fd, quint32 size);
    void OnGroup(quint32 group) { m_group = group; }

private:
    explicit SeatKeymap(wl_display* display);

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    wl_keyboard* m_keyboard = nullptr;
    xkb_context* m_context = nullptr;
    xkb_keymap* m_keymap = nullptr;
    quint32 m_group = 0;
    int m_generation = 0;
};
