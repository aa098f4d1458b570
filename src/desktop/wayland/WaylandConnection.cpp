#include "desktop/wayland/WaylandConnection.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

using Output = WaylandConnection::Output;

void OnRegistryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    static_cast<WaylandConnection*>(data)->OnGlobal(registry, name, interface, version);
}
void OnRegistryGlobalRemove(void* data, wl_registry*, uint32_t name)
{
    static_cast<WaylandConnection*>(data)->OnGlobalRemoved(name);
}
const wl_registry_listener kRegistryListener = {OnRegistryGlobal, OnRegistryGlobalRemove};

void OnOutputGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*, const char*,
                      int32_t)
{
    static_cast<Output*>(data)->fromCore.moveTopLeft(QPoint(x, y));
}
void OnOutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0)
        return;
    auto* output = static_cast<Output*>(data);
    output->fromCore.setSize(QSize(width / output->scale, height / output->scale));
}
void OnOutputDone(void*, wl_output*)
{}
void OnOutputScale(void* data, wl_output*, int32_t factor)
{
    auto* output = static_cast<Output*>(data);
    const QSize pixels = output->fromCore.size() * output->scale;
    output->scale = std::max(1, factor);
    output->fromCore.setSize(pixels / output->scale);
}
void OnOutputName(void*, wl_output*, const char*)
{}
void OnOutputDescription(void*, wl_output*, const char*)
{}
const wl_output_listener kOutputListener = {OnOutputGeometry, OnOutputMode, OnOutputDone,
                                            OnOutputScale,    OnOutputName, OnOutputDescription};

void OnLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y)
{
    auto* output = static_cast<Output*>(data);
    output->logical.moveTopLeft(QPoint(x, y));
    output->hasLogical = true;
}
void OnLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height)
{
    auto* output = static_cast<Output*>(data);
    output->logical.setSize(QSize(width, height));
    output->hasLogical = true;
}
void OnXdgOutputDone(void*, zxdg_output_v1*)
{}
void OnXdgOutputName(void*, zxdg_output_v1*, const char*)
{}
void OnXdgOutputDescription(void*, zxdg_output_v1*, const char*)
{}
const zxdg_output_v1_listener kXdgOutputListener = {OnLogicalPosition, OnLogicalSize, OnXdgOutputDone, OnXdgOutputName,
                                                    OnXdgOutputDescription};

template <typename Proxy>
Proxy* Bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered, uint32_t wanted)
{
    return static_cast<Proxy*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

} // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::Connect(const QByteArray& displayName)
{
    wl_display* display = wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (display == nullptr)
        return nullptr;
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
    // The first round brings the globals, the second the outputs' geometry.
    if (!connection->Roundtrip() || !connection->Roundtrip())
        return nullptr;
    return connection;
}

WaylandConnection::WaylandConnection(wl_display* display) : m_display(display)
{
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &kRegistryListener, this);
}

WaylandConnection::~WaylandConnection()
{
    for (const auto& output : m_outputs) {
        if (output->xdgOutput != nullptr)
            zxdg_output_v1_destroy(output->xdgOutput);
        wl_output_destroy(output->output);
    }
    if (m_screencopyManager != nullptr)
        zwlr_screencopy_manager_v1_destroy(m_screencopyManager);
    if (m_pointerManager != nullptr)
        zwlr_virtual_pointer_manager_v1_destroy(m_pointerManager);
    if (m_keyboardManager != nullptr)
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(m_keyboardManager)); // the interface has no destroy request
    if (m_xdgOutputManager != nullptr)
        zxdg_output_manager_v1_destroy(m_xdgOutputManager);
    if (m_shm != nullptr)
        wl_shm_destroy(m_shm);
    if (m_seat != nullptr)
        wl_seat_destroy(m_seat);
    wl_registry_destroy(m_registry);
    wl_display_flush(m_display);
    wl_display_disconnect(m_display);
}

void WaylandConnection::OnGlobal(wl_registry* registry, quint32 name, const char* interface, quint32 version)
{
    const auto is = [interface](const wl_interface& wanted) {
        return std::strcmp(interface, wanted.name) == 0;
    };
    if (is(wl_seat_interface) && m_seat == nullptr) {
        m_seat = Bind<wl_seat>(registry, name, &wl_seat_interface, version, 1);
    } else if (is(wl_shm_interface)) {
        m_shm = Bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    } else if (is(wl_output_interface)) {
        auto output = std::make_unique<Output>();
        output->name = name;
        output->output = Bind<wl_output>(registry, name, &wl_output_interface, version, 2);
        WatchOutput(*output);
        m_outputs.push_back(std::move(output));
    } else if (is(zxdg_output_manager_v1_interface)) {
        m_xdgOutputManager =
            Bind<zxdg_output_manager_v1>(registry, name, &zxdg_output_manager_v1_interface, version, 2);
        for (const auto& output : m_outputs)
            WatchOutput(*output);
    } else if (is(zwlr_virtual_pointer_manager_v1_interface)) {
        m_pointerManager = Bind<zwlr_virtual_pointer_manager_v1>(
            registry, name, &zwlr_virtual_pointer_manager_v1_interface, version, 1);
    } else if (is(zwp_virtual_keyboard_manager_v1_interface)) {
        m_keyboardManager = Bind<zwp_virtual_keyboard_manager_v1>(
            registry, name, &zwp_virtual_keyboard_manager_v1_interface, version, 1);
    } else if (is(zwlr_screencopy_manager_v1_interface)) {
        m_screencopyManager =
            Bind<zwlr_screencopy_manager_v1>(registry, name, &zwlr_screencopy_manager_v1_interface, version, 2);
    }
}

void WaylandConnection::WatchOutput(Output& output)
{
    if (output.output == nullptr)
        return;
    if (output.xdgOutput == nullptr && m_xdgOutputManager != nullptr) {
        output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(m_xdgOutputManager, output.output);
        zxdg_output_v1_add_listener(output.xdgOutput, &kXdgOutputListener, &output);
    }
    if (wl_proxy_get_listener(reinterpret_cast<wl_proxy*>(output.output)) == nullptr)
        wl_output_add_listener(output.output, &kOutputListener, &output);
}

void WaylandConnection::OnGlobalRemoved(quint32 name)
{
    const auto gone = std::find_if(m_outputs.begin(), m_outputs.end(),
                                   [name](const std::unique_ptr<Output>& output) { return output->name == name; });
    if (gone == m_outputs.end())
        return;
    if ((*gone)->xdgOutput != nullptr)
        zxdg_output_v1_destroy((*gone)->xdgOutput);
    wl_output_destroy((*gone)->output);
    m_outputs.erase(gone);
}

QStringList WaylandConnection::MissingInterfaces() const
{
    QStringList missing;
    if (m_seat == nullptr)
        missing << QStringLiteral("wl_seat");
    if (m_shm == nullptr)
        missing << QStringLiteral("wl_shm");
    if (m_pointerManager == nullptr)
        missing << QStringLiteral("zwlr_virtual_pointer_manager_v1");
    if (m_keyboardManager == nullptr)
        missing << QStringLiteral("zwp_virtual_keyboard_manager_v1");
    if (m_screencopyManager == nullptr)
        missing << QStringLiteral("zwlr_screencopy_manager_v1");
    return missing;
}

QRect WaylandConnection::Layout() const
{
    QRect layout;
    for (const auto& output : m_outputs)
        layout = layout.united(output->Rect());
    return layout;
}

bool WaylandConnection::Roundtrip()
{
    return wl_display_roundtrip(m_display) >= 0;
}

bool WaylandConnection::DispatchUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        while (wl_display_prepare_read(m_display) != 0)
            if (wl_display_dispatch_pending(m_display) < 0)
                return false;
        if (done()) {
            wl_display_cancel_read(m_display);
            break;
        }
        wl_display_flush(m_display);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd descriptor{wl_display_get_fd(m_display), POLLIN, 0};
        const int ready = left.count() > 0 ? poll(&descriptor, 1, static_cast<int>(left.count())) : 0;
        if (ready <= 0) {
            wl_display_cancel_read(m_display);
            if (ready < 0 && errno == EINTR)
                continue;
            return false;
        }
        if (wl_display_read_events(m_display) < 0 || wl_display_dispatch_pending(m_display) < 0)
            return false;
    }
    return true;
}
