#pragma once

#include <QRect>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_output;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
struct zwlr_virtual_pointer_manager_v1;
struct zwp_virtual_keyboard_manager_v1;
struct zwlr_screencopy_manager_v1;

// A libwayland-client connection of the program's own (not the toolkit's, so that it works with no
// window at all) and the globals the desktop needs from it: the seat, shared memory, the outputs
// with their place in the layout, and the wlroots interfaces that drive and read the screen.
class WaylandConnection
{
public:
    struct Output
    {
        wl_output* output = nullptr;
        zxdg_output_v1* xdgOutput = nullptr;
        quint32 name = 0; // the registry's name of the global
        QRect logical;    // where it sits in the layout, in layout coordinates
        QRect fromCore;   // the same from wl_output alone: position and mode divided by the scale
        int scale = 1;
        bool hasLogical = false;
        QRect Rect() const { return hasLogical ? logical : fromCore; }
    };

    // Connects to the compositor named (WAYLAND_DISPLAY where empty); null when none answers.
    static std::unique_ptr<WaylandConnection> Connect(const QByteArray& displayName = {});
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* Display() const { return m_display; }
    wl_seat* Seat() const { return m_seat; }
    wl_shm* Shm() const { return m_shm; }
    zwlr_virtual_pointer_manager_v1* PointerManager() const { return m_pointerManager; }
    zwp_virtual_keyboard_manager_v1* KeyboardManager() const { return m_keyboardManager; }
    zwlr_screencopy_manager_v1* ScreencopyManager() const { return m_screencopyManager; }
    const std::vector<std::unique_ptr<Output>>& Outputs() const { return m_outputs; }

    // The interfaces this desktop needs and the compositor does not offer, by name; empty when all are there.
    QStringList MissingInterfaces() const;
    // The smallest rectangle holding every output; empty without outputs.
    QRect Layout() const;

    // Sends what is queued and waits until the compositor has handled it and its answers were
    // dispatched. False once the connection is broken.
    bool Roundtrip();
    // Dispatches events until done() is true, for at most timeoutMs. False on a timeout or a broken connection.
    bool DispatchUntil(const std::function<bool()>& done, int timeoutMs);

    // Called back by the listeners (public for the C callbacks in the .cpp file).
    void OnGlobal(wl_registry* registry, quint32 name, const char* interface, quint32 version);
    void OnGlobalRemoved(quint32 name);

private:
    explicit WaylandConnection(wl_display* display);
    void WatchOutput(Output& output);

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    wl_shm* m_shm = nullptr;
    zxdg_output_manager_v1* m_xdgOutputManager = nullptr;
    zwlr_virtual_pointer_manager_v1* m_pointerManager = nullptr;
    zwp_virtual_keyboard_manager_v1* m_keyboardManager = nullptr;
    zwlr_screencopy_manager_v1* m_screencopyManager = nullptr;
    std::vector<std::unique_ptr<Output>> m_outputs;
};
