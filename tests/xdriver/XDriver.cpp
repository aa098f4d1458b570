#include "xdriver/XDriver.h"

#include "desktop/x11/CursorFile.h"

#include <QImage>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <memory>

namespace {
// A window property's items as Xlib hands them over (32-bit items as longs); empty where it is not set.
QByteArray Property(Display* display, Window window, const char* name, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, type, &actualType, &format,
                       &items, &after, &data);
    const size_t itemSize = format == 32 ? sizeof(long) : static_cast<size_t>(format / 8);
    const QByteArray bytes(reinterpret_cast<const char*>(data), data == nullptr ? 0 : qsizetype(itemSize * items));
    XFree(data);
    return bytes;
}
} // namespace

XDriver::XDriver() : m_display(XOpenDisplay(nullptr))
{}

XDriver::~XDriver()
{
    if (m_display == nullptr)
        return;
    ReleaseAll();
    XCloseDisplay(m_display);
}

void XDriver::Keys(const QString& keys, bool press)
{
    QStringList names = keys.split(QLatin1Char('+'));
    if (!press)
        std::reverse(names.begin(), names.end());
    for (const QString& name : names) {
        const KeyCode keycode = XKeysymToKeycode(m_display, XStringToKeysym(name.toLatin1().constData()));
        XTestFakeKeyEvent(m_display, keycode, press ? True : False, CurrentTime);
    }
    XSync(m_display, False);
}

void XDriver::Tap(const QString& keys)
{
    Keys(keys, true);
    Keys(keys, false);
}

void XDriver::Button(unsigned int xButton, bool press)
{
    XTestFakeButtonEvent(m_display, xButton, press ? True : False, CurrentTime);
    XSync(m_display, False);
}

void XDriver::ReleaseAll()
{
    char keys[32] = {};
    XQueryKeymap(m_display, keys);
    for (int keycode = 8; keycode < 256; ++keycode)
        if ((keys[keycode / 8] >> (keycode % 8)) & 1)
            XTestFakeKeyEvent(m_display, static_cast<unsigned int>(keycode), False, CurrentTime);
    for (unsigned int button = 1; button <= 5; ++button)
        XTestFakeButtonEvent(m_display, button, False, CurrentTime);
    XSync(m_display, False);
}

void XDriver::MovePointer(QPoint at)
{
    XTestFakeMotionEvent(m_display, DefaultScreen(m_display), at.x(), at.y(), CurrentTime);
    XSync(m_display, False);
}

bool XDriver::ShowsCursor(const CursorFile& cursor)
{
    const std::unique_ptr<XFixesCursorImage, int (*)(void*)> shown(XFixesGetCursorImage(m_display), XFree);
    if (!shown || QPoint(shown->xhot, shown->yhot) != cursor.hotspot)
        return false;
    QImage image(shown->width, shown->height, QImage::Format_ARGB32_Premultiplied);
    // Each pixel comes as an unsigned long that holds 32 bits of premultiplied ARGB.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, static_cast<QRgb>(shown->pixels[y * image.width() + x]));
    return image == cursor.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The window manager frames each client window: the search goes down until it meets a window of
// the process. A window may go away meanwhile: its errors are no failure.
QList<unsigned long> XDriver::Windows(qint64 pid, bool viewableOnly)
{
    const auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const auto ownPid = static_cast<unsigned long>(pid);
    const QByteArray pidProperty(reinterpret_cast<const char*>(&ownPid), sizeof ownPid);
    QList<unsigned long> found;
    QList<Window> pending = {DefaultRootWindow(m_display)};
    while (!pending.isEmpty()) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(m_display, pending.takeLast(), &root, &parent, &children, &count);
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(m_display, children[i], &attributes) == 0 ||
                (viewableOnly && attributes.map_state != IsViewable))
                continue;
            if (Property(m_display, children[i], "_NET_WM_PID", XA_CARDINAL) == pidProperty)
                found.append(children[i]);
            else
                pending.append(children[i]);
        }
        XFree(children);
    }
    XSync(m_display, False);
    XSetErrorHandler(previous);
    return found;
}

QString XDriver::Title(unsigned long window)
{
    return QString::fromUtf8(Property(m_display, window, "_NET_WM_NAME", XInternAtom(m_display, "UTF8_STRING", False)));
}

QRect XDriver::Geometry(unsigned long window)
{
    XWindowAttributes attributes{};
    Window child = 0;
    int x = 0;
    int y = 0;
    if (XGetWindowAttributes(m_display, window, &attributes) == 0 ||
        !XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y, &child))
        return {};
    return {x, y, attributes.width, attributes.height};
}

void XDriver::Activate(unsigned long window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // from a pager: the user asked for it
    XSendEvent(m_display, DefaultRootWindow(m_display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(m_display);
}

bool XDriver::Focus(unsigned long window)
{
    Activate(window);
    return QTest::qWaitFor(
        [this, window] {
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(m_display, &focus, &revert);
            return focus == window;
        },
        30000);
}
