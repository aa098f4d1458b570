#include "desktop/gnome/ScreenCastFrames.h"

// PipeWire's parameter builders are C macros, with compound literals and C casts.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>
#include <spa/pod/builder.h>
#pragma GCC diagnostic pop

#include <algorithm>
#include <cstring>

namespace {

constexpr std::chrono::seconds kFirstFrameWait{3};
constexpr int kBytesPerPixel = 4;

void OnStreamParamChanged(void* data, uint32_t id, const spa_pod* param)
{
    if (param != nullptr && id == SPA_PARAM_Format)
        static_cast<ScreenCastFrames*>(data)->OnFormat(param);
}

void OnStreamProcess(void* data)
{
    static_cast<ScreenCastFrames*>(data)->OnProcess();
}

pw_stream_events StreamEvents()
{
    pw_stream_events events{};
    events.version = PW_VERSION_STREAM_EVENTS;
    events.param_changed = OnStreamParamChanged;
    events.process = OnStreamProcess;
    return events;
}
const pw_stream_events kStreamEvents = StreamEvents();

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
// Raw frames with four bytes a pixel, any size and rate: never DMA buffers, which need a GPU to read.
const spa_pod* FormatWanted(spa_pod_builder* builder)
{
    spa_rectangle defaultSize = SPA_RECTANGLE(1280, 1024);
    spa_rectangle smallest = SPA_RECTANGLE(1, 1);
    spa_rectangle largest = SPA_RECTANGLE(16384, 16384);
    spa_fraction anyRate = SPA_FRACTION(0, 1);
    spa_fraction lowest = SPA_FRACTION(0, 1);
    spa_fraction highest = SPA_FRACTION(1000, 1);
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(
        builder, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat, SPA_FORMAT_mediaType, SPA_POD_Id(SPA_MEDIA_TYPE_video),
        SPA_FORMAT_mediaSubtype, SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw), SPA_FORMAT_VIDEO_format,
        SPA_POD_CHOICE_ENUM_Id(5, SPA_VIDEO_FORMAT_BGRx, SPA_VIDEO_FORMAT_BGRx, SPA_VIDEO_FORMAT_BGRA,
                               SPA_VIDEO_FORMAT_RGBx, SPA_VIDEO_FORMAT_RGBA),
        SPA_FORMAT_VIDEO_size, SPA_POD_CHOICE_RANGE_Rectangle(&defaultSize, &smallest, &largest),
        SPA_FORMAT_VIDEO_framerate, SPA_POD_CHOICE_RANGE_Fraction(&anyRate, &lowest, &highest)));
}

// Buffers the program can read in place: memory or a memory file, mapped by PipeWire.
const spa_pod* BuffersWanted(spa_pod_builder* builder)
{
    return static_cast<const spa_pod*>(
        spa_pod_builder_add_object(builder, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_dataType,
                                   SPA_POD_CHOICE_FLAGS_Int((1 << SPA_DATA_MemPtr) | (1 << SPA_DATA_MemFd))));
}
#pragma GCC diagnostic pop

} // namespace

std::shared_ptr<ScreenCastFrames> ScreenCastFrames::Open(quint32 nodeId)
{
    pw_init(nullptr, nullptr);
    std::shared_ptr<ScreenCastFrames> frames(new ScreenCastFrames());
    frames->m_loop = pw_thread_loop_new("clickwarden-screen", nullptr);
    if (frames->m_loop == nullptr)
        return nullptr;
    frames->m_context = pw_context_new(pw_thread_loop_get_loop(frames->m_loop), nullptr, 0);
    if (frames->m_context == nullptr || pw_thread_loop_start(frames->m_loop) != 0)
        return nullptr;
    pw_thread_loop_lock(frames->m_loop);
    frames->m_core = pw_context_connect(frames->m_context, nullptr, 0);
    if (frames->m_core != nullptr)
        frames->m_stream = pw_stream_new(frames->m_core, "clickwarden-screen",
                                         pw_properties_new(PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY, "Capture",
                                                           PW_KEY_MEDIA_ROLE, "Screen", nullptr));
    bool connected = false;
    if (frames->m_stream != nullptr) {
        frames->m_listener = std::make_unique<spa_hook>();
        pw_stream_add_listener(frames->m_stream, frames->m_listener.get(), &kStreamEvents, frames.get());
        unsigned char buffer[1024];
        spa_pod_builder builder{};
        spa_pod_builder_init(&builder, buffer, sizeof buffer);
        const spa_pod* parameters[] = {FormatWanted(&builder)};
        connected =
            pw_stream_connect(frames->m_stream, PW_DIRECTION_INPUT, nodeId,
                              static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS),
                              parameters, 1) == 0;
    }
    pw_thread_loop_unlock(frames->m_loop);
    return connected ? frames : nullptr;
}

ScreenCastFrames::~ScreenCastFrames()
{
    if (m_loop != nullptr)
        pw_thread_loop_stop(m_loop);
    if (m_stream != nullptr)
        pw_stream_destroy(m_stream);
    if (m_core != nullptr)
        pw_core_disconnect(m_core);
    if (m_context != nullptr)
        pw_context_destroy(m_context);
    if (m_loop != nullptr)
        pw_thread_loop_destroy(m_loop);
}

void ScreenCastFrames::OnFormat(const spa_pod* format)
{
    spa_video_info_raw info{};
    if (spa_format_video_raw_parse(format, &info) < 0)
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_order =
            info.format == SPA_VIDEO_FORMAT_RGBx || info.format == SPA_VIDEO_FORMAT_RGBA ? Order::Rgbx : Order::Bgrx;
        m_size = QSize(static_cast<int>(info.size.width), static_cast<int>(info.size.height));
    }
    unsigned char buffer[256];
    spa_pod_builder builder{};
    spa_pod_builder_init(&builder, buffer, sizeof buffer);
    const spa_pod* parameters[] = {BuffersWanted(&builder)};
    pw_stream_update_params(m_stream, parameters, 1);
}

void ScreenCastFrames::OnProcess()
{
    // Only the newest frame counts: older ones queued meanwhile go back at once.
    pw_buffer* newest = nullptr;
    while (pw_buffer* next = pw_stream_dequeue_buffer(m_stream)) {
        if (newest != nullptr)
            pw_stream_queue_buffer(m_stream, newest);
        newest = next;
    }
    if (newest == nullptr)
        return;
    const spa_data& data = newest->buffer->datas[0];
    // mutter sends empty buffers when only the pointer moved, and marks the ones it could not fill.
    if (data.data != nullptr && data.chunk->size > 0 && (data.chunk->flags & SPA_CHUNK_FLAG_CORRUPTED) == 0) {
        const auto* bytes = static_cast<const unsigned char*>(data.data) + data.chunk->offset;
        const std::lock_guard lock(m_mutex);
        m_stride = data.chunk->stride;
        const size_t length = static_cast<size_t>(m_stride) * static_cast<size_t>(m_size.height());
        if (m_stride < m_size.width() * kBytesPerPixel || data.chunk->size < length) {
            pw_stream_queue_buffer(m_stream, newest);
            return;
        }
        m_bytes.assign(bytes, bytes + length);
        ++m_serial;
        m_frameTime = Clock::now();
        m_arrived.notify_all();
    }
    pw_stream_queue_buffer(m_stream, newest);
}

void ScreenCastFrames::InputSent()
{
    const std::lock_guard lock(m_mutex);
    m_inputTime = Clock::now();
}

bool ScreenCastFrames::Read(const QRect& area, std::vector<quint32>* colours, std::stop_token stop)
{
    std::unique_lock lock(m_mutex);
    if (!m_arrived.wait_for(lock, stop, kFirstFrameWait, [this] { return m_serial > 0; }))
        return false;
    // What the input changed comes out in a frame shortly after it, if it has not yet.
    m_arrived.wait_until(lock, stop, m_inputTime + kChangeToFrame, [this] { return m_frameTime >= m_inputTime; });
    colours->assign(static_cast<size_t>(std::max(0, area.width())) * static_cast<size_t>(std::max(0, area.height())),
                    0);
    const QRect part = area.intersected(QRect(QPoint(0, 0), m_size));
    const int red = m_order == Order::Bgrx ? 2 : 0;
    const int blue = 2 - red;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const unsigned char* pixel =
            m_bytes.data() + static_cast<size_t>(y) * static_cast<size_t>(m_stride) + part.left() * kBytesPerPixel;
        quint32* out =
            colours->data() + static_cast<ptrdiff_t>(y - area.top()) * area.width() + (part.left() - area.left());
        for (int x = part.left(); x <= part.right(); ++x, pixel += kBytesPerPixel)
            *out++ = quint32(pixel[red]) | quint32(pixel[1]) << 8 | quint32(pixel[blue]) << 16;
    }
    return true;
}

quint64 ScreenCastFrames::WaitForFrameAfter(quint64 seen, std::stop_token stop)
{
    std::unique_lock lock(m_mutex);
    m_arrived.wait(lock, stop, [this, seen] { return m_serial > seen; });
    return m_serial;
}
