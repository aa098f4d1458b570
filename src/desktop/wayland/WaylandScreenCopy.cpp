#include "desktop/wayland/WaylandScreenCopy.h"

#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

namespace {

using Frame = WaylandScreenCopy::Frame;

// A copy that the compositor never answers must not hold the run up for ever.
constexpr int kCopyTimeoutMs = 3000;

void OnBuffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width, uint32_t height, uint32_t stride)
{
    auto* frame = static_cast<Frame*>(data);
    frame->format = format;
    frame->width = static_cast<int>(width);
    frame->height = static_cast<int>(height);
    frame->stride = static_cast<int>(stride);
    frame->offered = true;
}
void OnFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags)
{
    static_cast<Frame*>(data)->yInverted = (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
}
void OnReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t)
{
    static_cast<Frame*>(data)->ready = true;
}
void OnFailed(void* data, zwlr_screencopy_frame_v1*)
{
    static_cast<Frame*>(data)->failed = true;
}
const zwlr_screencopy_frame_v1_listener kFrameListener = {OnBuffer, OnFlags, OnReady, OnFailed};

// One pixel of the buffer as the program's colour (red in the low byte); false for a format it
// does not read. The 32-bit formats are little-endian words: XRGB is 0xXXRRGGBB, XBGR 0xXXBBGGRR.
bool ConvertRow(quint32 format, const unsigned char* row, int width, quint32* out)
{
    for (int i = 0; i < width; ++i) {
        quint32 word = 0;
        std::memcpy(&word, row + static_cast<ptrdiff_t>(i) * 4, 4);
        switch (format) {
        case WL_SHM_FORMAT_XRGB8888:
        case WL_SHM_FORMAT_ARGB8888:
            out[i] = ((word >> 16) & 0xFF) | (word & 0xFF00) | ((word & 0xFF) << 16);
            break;
        case WL_SHM_FORMAT_XBGR8888:
        case WL_SHM_FORMAT_ABGR8888:
            out[i] = word & 0xFFFFFF;
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace

WaylandScreenCopy::~WaylandScreenCopy()
{
    DropBuffer();
}

void WaylandScreenCopy::DropBuffer()
{
    if (m_buffer != nullptr)
        wl_buffer_destroy(m_buffer);
    if (m_pool != nullptr)
        wl_shm_pool_destroy(m_pool);
    if (m_pixels != nullptr)
        munmap(m_pixels, m_size);
    m_buffer = nullptr;
    m_pool = nullptr;
    m_pixels = nullptr;
    m_size = 0;
}

bool WaylandScreenCopy::PrepareBuffer(const Frame& frame)
{
    if (m_buffer != nullptr && frame.format == m_bufferShape.format && frame.width == m_bufferShape.width &&
        frame.height == m_bufferShape.height && frame.stride == m_bufferShape.stride)
        return true;
    DropBuffer();
    const size_t size = static_cast<size_t>(frame.stride) * static_cast<size_t>(frame.height);
    if (size == 0 || frame.stride < frame.width * 4)
        return false;
    const int fd = memfd_create("clickwarden-screencopy", MFD_CLOEXEC);
    if (fd < 0)
        return false;
    void* pixels = ftruncate(fd, static_cast<off_t>(size)) == 0
                       ? mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                       : MAP_FAILED;
    if (pixels == MAP_FAILED) {
        close(fd);
        return false;
    }
    m_pixels = static_cast<unsigned char*>(pixels);
    m_size = size;
    m_pool = wl_shm_create_pool(m_connection.Shm(), fd, static_cast<int32_t>(size));
    close(fd);
    m_buffer = wl_shm_pool_create_buffer(m_pool, 0, frame.width, frame.height, frame.stride, frame.format);
    m_bufferShape = frame;
    return true;
}

std::optional<std::vector<quint32>> WaylandScreenCopy::Capture(const WaylandConnection::Output& output,
                                                               const QRect& region)
{
    if (m_connection.ScreencopyManager() == nullptr || region.isEmpty())
        return std::nullopt;
    Frame frame;
    const QRect whole(QPoint(0, 0), output.Rect().size());
    zwlr_screencopy_frame_v1* copy =
        region == whole
            ? zwlr_screencopy_manager_v1_capture_output(m_connection.ScreencopyManager(), 0, output.output)
            : zwlr_screencopy_manager_v1_capture_output_region(m_connection.ScreencopyManager(), 0, output.output,
                                                               region.x(), region.y(), region.width(), region.height());
    zwlr_screencopy_frame_v1_add_listener(copy, &kFrameListener, &frame);
    bool copied = m_connection.DispatchUntil([&] { return frame.offered || frame.failed; }, kCopyTimeoutMs);
    if (copied && !frame.failed && PrepareBuffer(frame)) {
        zwlr_screencopy_frame_v1_copy(copy, m_buffer);
        copied = m_connection.DispatchUntil([&] { return frame.ready || frame.failed; }, kCopyTimeoutMs);
    }
    zwlr_screencopy_frame_v1_destroy(copy);
    if (!copied || !frame.ready)
        return std::nullopt;

    // A scaled output gives more buffer pixels than logical ones: take the one under each logical pixel.
    std::vector<quint32> colours(static_cast<size_t>(region.width()) * static_cast<size_t>(region.height()));
    std::vector<quint32> row(static_cast<size_t>(frame.width));
    int convertedRow = -1;
    for (int y = 0; y < region.height(); ++y) {
        int sourceY = y * frame.height / region.height();
        if (frame.yInverted)
            sourceY = frame.height - 1 - sourceY;
        if (sourceY != convertedRow &&
            !ConvertRow(frame.format, m_pixels + static_cast<ptrdiff_t>(sourceY) * frame.stride, frame.width,
                        row.data()))
            return std::nullopt;
        convertedRow = sourceY;
        quint32* target = colours.data() + static_cast<ptrdiff_t>(y) * region.width();
        if (frame.width == region.width())
            std::memcpy(target, row.data(), row.size() * sizeof(quint32));
        else
            for (int x = 0; x < region.width(); ++x)
                target[x] = row[static_cast<size_t>(x * frame.width / region.width())];
    }
    return colours;
}
