#include "desktop/wayland/WaylandDamageWatch.h"

#include "desktop/wayland/WaylandConnection.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>

namespace {

using Watch = WaylandDamageWatch::Watch;

// How often a wait looks at its stop request.
constexpr int kStopCheckMs = 100;

void OnBuffer(void* data, zwlr_screencopy_frame_v1* frame, uint32_t format, uint32_t width, uint32_t height,
              uint32_t stride)
{
    auto* watch = static_cast<Watch*>(data);
    if (!watch->buffer.Prepare(watch->shm, {format, int(width), int(height), int(stride)})) {
        watch->failed = true;
        return;
    }
    // The copy waits in the compositor until the output changes.
    zwlr_screencopy_frame_v1_copy_with_damage(frame, watch->buffer.Buffer());
}
void OnFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags)
{
    static_cast<Watch*>(data)->yInverted = (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
}
void OnReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t)
{
    static_cast<Watch*>(data)->ready = true;
}
void OnFailed(void* data, zwlr_screencopy_frame_v1*)
{
    static_cast<Watch*>(data)->failed = true;
}
void OnDamage(void* data, zwlr_screencopy_frame_v1*, uint32_t x, uint32_t y, uint32_t width, uint32_t height)
{
    static_cast<Watch*>(data)->damage.emplace_back(int(x), int(y), int(width), int(height));
}
const zwlr_screencopy_frame_v1_listener kWatchListener = {OnBuffer, OnFlags, OnReady, OnFailed, OnDamage};

} // namespace

bool WaylandDamageWatch::Offered(const WaylandConnection& connection)
{
    return connection.ScreencopyManager() != nullptr &&
           zwlr_screencopy_manager_v1_get_version(connection.ScreencopyManager()) >= 2;
}

WaylandDamageWatch::WaylandDamageWatch(WaylandConnection& connection) : m_connection(connection)
{
    for (const auto& output : m_connection.Outputs()) {
        auto watch = std::make_unique<Watch>();
        watch->outputName = output->name;
        watch->shm = m_connection.Shm();
        Arm(*watch);
        m_watches.push_back(std::move(watch));
    }
    wl_display_flush(m_connection.Display());
}

WaylandDamageWatch::~WaylandDamageWatch()
{
    for (const auto& watch : m_watches)
        if (watch->frame != nullptr)
            zwlr_screencopy_frame_v1_destroy(watch->frame);
}

void WaylandDamageWatch::Arm(Watch& watch)
{
    if (watch.frame != nullptr)
        zwlr_screencopy_frame_v1_destroy(watch.frame);
    watch.frame = nullptr;
    watch.ready = false;
    watch.failed = false;
    watch.damage.clear();
    const WaylandConnection::Output* output = OutputNamed(watch.outputName);
    if (output == nullptr)
        return;
    watch.frame = zwlr_screencopy_manager_v1_capture_output(m_connection.ScreencopyManager(), 0, output->output);
    zwlr_screencopy_frame_v1_add_listener(watch.frame, &kWatchListener, &watch);
}

const WaylandConnection::Output* WaylandDamageWatch::OutputNamed(quint32 name) const
{
    for (const auto& output : m_connection.Outputs())
        if (output->name == name)
            return output.get();
    return nullptr;
}

QRect WaylandDamageWatch::PlaceOf(quint32 outputName) const
{
    const WaylandConnection::Output* output = OutputNamed(outputName);
    return output != nullptr ? output->Rect() : QRect();
}

std::vector<QRect> WaylandDamageWatch::Collect(Watch& watch)
{
    std::vector<QRect> changed;
    const QRect place = PlaceOf(watch.outputName);
    const WaylandShmBuffer::Shape& shape = watch.buffer.Made();
    if (!place.isEmpty() && shape.width > 0 && shape.height > 0) {
        // A scaled output's buffer has more pixels than the layout: a change covers every layout
        // pixel it touches.
        for (QRect area : watch.damage) {
            if (watch.yInverted)
                area.moveTop(shape.height - area.bottom() - 1);
            const int left = area.left() * place.width() / shape.width;
            const int top = area.top() * place.height() / shape.height;
            const int right = ((area.right() + 1) * place.width() + shape.width - 1) / shape.width;
            const int bottom = ((area.bottom() + 1) * place.height() + shape.height - 1) / shape.height;
            changed.push_back(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).translated(place.topLeft()));
        }
    }
    Arm(watch);
    return changed;
}

std::vector<QRect> WaylandDamageWatch::Wait(std::stop_token stop)
{
    const auto finished = [this] {
        return std::any_of(m_watches.begin(), m_watches.end(),
                           [](const auto& watch) { return watch->ready || watch->failed; });
    };
    while (!stop.stop_requested()) {
        // A timeout is no failure: it is the moment to look at the stop request.
        if (!m_connection.DispatchUntil([&] { return finished() || stop.stop_requested(); }, kStopCheckMs) &&
            wl_display_get_error(m_connection.Display()) != 0)
            return {};
        std::vector<QRect> changed;
        for (const auto& watch : m_watches) {
            if (watch->ready) {
                const std::vector<QRect> told = Collect(*watch);
                changed.insert(changed.end(), told.begin(), told.end());
            } else if (watch->failed) {
                // A copy that failed cannot tell what changed: the whole output may have.
                if (const QRect place = PlaceOf(watch->outputName); !place.isEmpty())
                    changed.push_back(place);
                Arm(*watch);
            }
        }
        wl_display_flush(m_connection.Display());
        if (!changed.empty())
            return changed;
    }
    return {};
}
