#include "desktop/gnome/SeatKeymap.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

void OnRegistryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    static_cast<SeatKeymap*>(data)->OnGlobal(registry, name, interface, version);
}
void OnRegistryGlobalRemove(void*, wl_registry*, uint32_t)
{}
const wl_registry_listener kRegistryListener = {OnRegistryGlobal, OnRegistryGlobalRemove};

void OnSeatCapabilities(void* data, wl_seat*, uint32_t capabilities)
{
    static_cast<SeatKeymap*>(data)->OnCapabilities(capabilities);
}
void OnSeatName(void*, wl_seat*, const char*)
{}
const wl_seat_listener kSeatListener = {OnSeatCapabilities, OnSeatName};

void OnKeymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size)
{
    static_cast<SeatKeymap*>(data)->OnKeymap(format, fd, size);
}
void OnEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*)
{}
void OnLeave(void*, wl_keyboard*, uint32_t, wl_surface*)
{}
void OnKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t)
{}
void OnModifiers(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t group)
{
    static_cast<SeatKeymap*>(data)->OnGroup(group);
}
void OnRepeatInfo(void*, wl_keyboard*, int32_t, int32_t)
{}
const wl_keyboard_listener kKeyboardListener = {OnKeymap, OnEnter, OnLeave, OnKey, OnModifiers, OnRepeatInfo};

} // namespace

std::unique_ptr<SeatKeymap> SeatKeymap::Connect(const QByteArray& displayName)
{
    wl_display* display = wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (display == nullptr)
        return nullptr;
    std::unique_ptr<SeatKeymap> keymap(new SeatKeymap(display));
    // The globals, the seat's capabilities, the keyboard's keymap.
    for (int round = 0; round < 3; ++round)
        if (wl_display_roundtrip(display) < 0)
            return nullptr;
    return keymap;
}

SeatKeymap::SeatKeymap(wl_display* display)
    : m_display(display), m_context(xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES))
{
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &kRegistryListener, this);
}

SeatKeymap::~SeatKeymap()
{
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_context);
    if (m_keyboard != nullptr)
        wl_keyboard_destroy(m_keyboard);
    if (m_seat != nullptr)
        wl_seat_destroy(m_seat);
    wl_registry_destroy(m_registry);
    wl_display_disconnect(m_display);
}

void SeatKeymap::OnGlobal(wl_registry* registry, quint32 name, const char* interface, quint32 version)
{
    if (m_seat != nullptr || std::strcmp(interface, wl_seat_interface.name) != 0)
        return;
    m_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 5u)));
    wl_seat_add_listener(m_seat, &kSeatListener, this);
}

void SeatKeymap::OnCapabilities(quint32 capabilities)
{
    if (m_keyboard != nullptr || (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) == 0)
        return;
    m_keyboard = wl_seat_get_keyboard(m_seat);
    wl_keyboard_add_listener(m_keyboard, &kKeyboardListener, this);
}

void SeatKeymap::OnKeymap(quint32 format, int fd, quint32 size)
{
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
        void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (text != MAP_FAILED) {
            xkb_keymap* keymap = xkb_keymap_new_from_string(m_context, static_cast<const char*>(text),
                                                            XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
            munmap(text, size);
            if (keymap != nullptr) {
                xkb_keymap_unref(m_keymap);
                m_keymap = keymap;
                ++m_generation;
            }
        }
    }
    close(fd);
}

xkb_keymap* SeatKeymap::Keymap()
{
    // What came meanwhile: a layout changed by the user.
    while (wl_display_prepare_read(m_display) != 0)
        wl_display_dispatch_pending(m_display);
    wl_display_flush(m_display);
    wl_display_read_events(m_display);
    wl_display_dispatch_pending(m_display);
    return m_keymap;
}
