#include "desktop/x11/X11ScreenReader.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xdamage.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {
constexpr bool kLittleEndianHost = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
// Rows read in one request: a stop waits for one band at most.
constexpr int kBandRows = 128;
// More changed rectangles than this are taken as the one around them all.
constexpr std::size_t kMostChanges = 16;
} // namespace

// A segment of shared memory the server writes bands of the screen into.
struct X11ScreenReader::SharedMemory
{
    XShmSegmentInfo segment{};
    std::size_t bytes = 0;
    XImage* image = nullptr; // the last band's, over the segment

    ~SharedMemory()
    {
        if (image != nullptr) {
            image->data = nullptr;
            XDestroyImage(image);
        }
        if (segment.shmaddr != nullptr)
            ::shmdt(segment.shmaddr);
    }
};

std::unique_ptr<X11ScreenReader> X11ScreenReader::Open(const QByteArray& displayName)
{
    Display* display = XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData());
    if (display == nullptr)
        return nullptr;
    Visual* visual = DefaultVisual(display, DefaultScreen(display));
    if (visual->c_class != TrueColor && visual->c_class != DirectColor) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<X11ScreenReader>(
        new X11ScreenReader(display, PixelFormat(visual->red_mask, visual->green_mask, visual->blue_mask)));
}

X11ScreenReader::X11ScreenReader(Display* display, const PixelFormat& format)
    : m_display(display), m_root(DefaultRootWindow(display)), m_format(format),
      m_width(DisplayWidth(display, DefaultScreen(display))), m_height(DisplayHeight(display, DefaultScreen(display)))
{
    Visual* visual = DefaultVisual(display, DefaultScreen(display));
    m_usualFormat = visual->red_mask == 0xff0000 && visual->green_mask == 0xff00 && visual->blue_mask == 0xff;
    XSelectInput(m_display, m_root, StructureNotifyMask);
    int errorBase = 0;
    if (XDamageQueryExtension(m_display, &m_damageEvent, &errorBase))
        m_damage = XDamageCreate(m_display, m_root, XDamageReportRawRectangles);
    if (::pipe2(m_wake, O_NONBLOCK | O_CLOEXEC) != 0)
        m_wake[0] = m_wake[1] = -1;
    // Room for a band across the widest screen a server gives; the segment goes once attached.
    if (XShmQueryExtension(m_display)) {
        auto shared = std::make_unique<SharedMemory>();
        shared->bytes = std::size_t(std::max(m_width, 8192)) * kBandRows * 4;
        const int id = ::shmget(IPC_PRIVATE, shared->bytes, IPC_CREAT | 0600);
        shared->segment.shmid = id;
        if (id >= 0) {
            shared->segment.shmaddr = static_cast<char*>(::shmat(shared->segment.shmid, nullptr, 0));
            if (shared->segment.shmaddr == reinterpret_cast<char*>(-1))
                shared->segment.shmaddr = nullptr;
            shared->segment.readOnly = False;
            // A server on another machine refuses the segment: the reads go the plain way.
            if (shared->segment.shmaddr != nullptr && XShmAttach(m_display, &shared->segment)) {
                XSync(m_display, False);
                m_shared = std::move(shared);
            }
            // Marked for removal now, it goes once both sides have let go of it, however the program ends.
            ::shmctl(id, IPC_RMID, nullptr);
        }
    }
    XSync(m_display, False);
}

X11ScreenReader::~X11ScreenReader()
{
    if (m_shared)
        XShmDetach(m_display, &m_shared->segment);
    if (m_damage != 0)
        XDamageDestroy(m_display, m_damage);
    XCloseDisplay(m_display);
    for (const int end : m_wake) {
        if (end >= 0)
            ::close(end);
    }
}

std::vector<quint32> X11ScreenReader::Block(const QRect& area, std::stop_token stop)
{
    std::vector<quint32> colours(std::size_t(std::max(area.width(), 0)) * std::size_t(std::max(area.height(), 0)), 0);
    // The server refuses a rectangle past the screen: only the part on it is asked for.
    const QRect onScreen = area & QRect(0, 0, m_width, m_height);
    for (int top = onScreen.top(); top <= onScreen.bottom() && !stop.stop_requested(); top += kBandRows) {
        const int rows = std::min(kBandRows, onScreen.bottom() + 1 - top);
        XImage* image = ReadBand(QRect(onScreen.left(), top, onScreen.width(), rows));
        if (image == nullptr)
            break;
        const bool direct =
            image->bits_per_pixel == 32 && image->byte_order == (kLittleEndianHost ? LSBFirst : MSBFirst);
        for (int row = 0; row < rows; ++row) {
            quint32* target = colours.data() + std::size_t(top + row - area.top()) * std::size_t(area.width()) +
                              std::size_t(onScreen.left() - area.left());
            const char* source = image->data + std::ptrdiff_t(row) * image->bytes_per_line;
            if (direct && m_usualFormat) {
                for (int column = 0; column < onScreen.width(); ++column) {
                    quint32 pixel = 0;
                    std::memcpy(&pixel, source + std::ptrdiff_t(column) * 4, sizeof pixel);
                    target[column] = (pixel >> 16 & 0xFF) | (pixel & 0xFF00) | (pixel & 0xFF) << 16;
                }
            } else {
                for (int column = 0; column < onScreen.width(); ++column)
                    target[column] = m_format.ToColour(XGetPixel(image, column, row));
            }
        }
        if (!m_shared)
            XDestroyImage(image);
    }
    return colours;
}

XImage* X11ScreenReader::ReadBand(const QRect& band)
{
    if (!m_shared)
        return XGetImage(m_display, m_root, band.left(), band.top(), unsigned(band.width()), unsigned(band.height()),
                         AllPlanes, ZPixmap);
    SharedMemory& shared = *m_shared;
    if (shared.image == nullptr || shared.image->width != band.width() || shared.image->height != band.height()) {
        if (shared.image != nullptr) {
            shared.image->data = nullptr;
            XDestroyImage(shared.image);
        }
        Visual* visual = DefaultVisual(m_display, DefaultScreen(m_display));
        const int depth = DefaultDepth(m_display, DefaultScreen(m_display));
        shared.image = XShmCreateImage(m_display, visual, unsigned(depth), ZPixmap, nullptr, &shared.segment,
                                       unsigned(band.width()), unsigned(band.height()));
        if (shared.image == nullptr ||
            std::size_t(shared.image->bytes_per_line) * std::size_t(band.height()) > shared.bytes) {
            if (shared.image != nullptr)
                XDestroyImage(shared.image);
            shared.image = nullptr;
            return nullptr;
        }
        shared.image->data = shared.segment.shmaddr;
    }
    return XShmGetImage(m_display, m_root, shared.image, band.left(), band.top(), AllPlanes) ? shared.image : nullptr;
}

void X11ScreenReader::TakeEvents(std::vector<QRect>& changes)
{
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (m_damage != 0 && event.type == m_damageEvent + XDamageNotify) {
            const XRectangle& area = reinterpret_cast<const XDamageNotifyEvent&>(event).area;
            changes.emplace_back(area.x, area.y, area.width, area.height);
        } else if (event.type == ConfigureNotify && event.xconfigure.window == Window(m_root)) {
            m_width = event.xconfigure.width;
            m_height = event.xconfigure.height;
            changes.emplace_back(0, 0, m_width, m_height);
        }
    }
}

bool X11ScreenReader::Sleep(int timeoutMs, std::stop_token stop)
{
    const std::stop_callback wake(stop, [this] {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &byte, 1);
    });
    if (stop.stop_requested())
        return false;
    pollfd watched[2] = {{ConnectionNumber(m_display), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    ::poll(watched, m_wake[0] >= 0 ? 2 : 1, timeoutMs);
    char drained[64];
    while (m_wake[0] >= 0 && ::read(m_wake[0], drained, sizeof drained) > 0) {
    }
    return !stop.stop_requested();
}

std::vector<QRect> X11ScreenReader::WaitForChanges(std::stop_token stop)
{
    std::vector<QRect> changes;
    TakeEvents(changes);
    if (m_damage == 0) {
        if (!Sleep(kUntoldChangeMs, stop))
            return {};
        return {QRect(0, 0, m_width, m_height)};
    }
    while (changes.empty()) {
        if (!Sleep(-1, stop))
            return {};
        TakeEvents(changes);
    }
    if (changes.size() > kMostChanges) {
        QRect around;
        for (const QRect& change : changes)
            around |= change;
        changes = {around};
    }
    return changes;
}
