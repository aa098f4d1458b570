#include "desktop/wayland/WaylandScreenCopy.h"

#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <wayland-client.h>

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
void OnDamage(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t)
{}
const zwlr_screencopy_frame_v1_listener kFrameListener = {OnBuffer, OnFlags, OnReady, OnFailed, OnDamage};

// One pixel row of the buffer in the program's colours (red in the low byte); false for a format it
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
    if (copied && !frame.failed &&
        m_buffer.Prepare(m_connection.Shm(), {frame.format, frame.width, frame.height, frame.stride})) {
        zwlr_screencopy_frame_v1_copy(copy, m_buffer.Buffer());
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
            !ConvertRow(frame.format, m_buffer.Pixels() + static_cast<ptrdiff_t>(sourceY) * frame.stride, frame.width,
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

std::vector<quint32> WaylandScreenCopy::Block(const QRect& wanted)
{
    std::vector<quint32> colours(static_cast<size_t>(std::max(0, wanted.width())) *
                                 static_cast<size_t>(std::max(0, wanted.height())));
    for (const auto& output : m_connection.Outputs()) {
        const QRect part = wanted.intersected(output->Rect());
        if (part.isEmpty())
            continue;
        const auto copied = Capture(*output, part.translated(-output->Rect().topLeft()));
        if (!copied)
            continue;
        for (int row = 0; row < part.height(); ++row)
            std::copy_n(copied->begin() + static_cast<ptrdiff_t>(row) * part.width(), part.width(),
                        colours.begin() + static_cast<ptrdiff_t>(part.top() - wanted.top() + row) * wanted.width() +
                            (part.left() - wanted.left()));
    }
    return colours;
}
