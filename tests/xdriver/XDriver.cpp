#include "xdriver/XDriver.h"

#include "desktop/x11/CursorFile.h"

#include <QImage>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>

namespace {
// A window property's bytes (32-bit items come as longs); empty where it is not set.
QByteArray Property(Display* display, Window window, const char* name)
{
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, AnyPropertyType, &type,
                       &format, &items, &after, &data);
    const QByteArray bytes(reinterpret_cast<const char*>(data),
                           qsizetype(items * (format == 32 ? sizeof(long) : size_t(format / 8))));
    XFree(data);
    return bytes;
}
} // namespace

XDriver::XDriver() : m_display(XOpenDisplay(nullptr))
{}

XDriver::~XDriver()
{
    ReleaseAll();
    XCloseDisplay(m_display);
}

void XDriver::Keys(const QString& keys, bool press)
{
    QStringList names = keys.split(QLatin1Char('+'));
    if (!press)
        std::reverse(names.begin(), names.end());
    for (const QString& name : names)
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, XStringToKeysym(qPrintable(name))), press,
                          CurrentTime);
    XSync(m_display, False);
}

void XDriver::Tap(const QString& keys)
{
    Keys(keys, true);
    Keys(keys, false);
}

void XDriver::Button(unsigned int xButton, bool press)
{
    XTestFakeButtonEvent(m_display, xButton, press, CurrentTime);
    XSync(m_display, False);
}

void XDriver::MovePointer(QPoint at)
{
    XTestFakeMotionEvent(m_display, -1, at.x(), at.y(), CurrentTime);
    XSync(m_display, False);
}

// Only what is down is let go: a release of a button that is up would still reach the windows.
void XDriver::ReleaseAll()
{
    char keys[32] = {};
    XQueryKeymap(m_display, keys);
    for (unsigned int keycode = 8; keycode < 256; ++keycode)
        if ((keys[keycode / 8] >> (keycode % 8)) & 1)
            XTestFakeKeyEvent(m_display, keycode, False, CurrentTime);
    Window root = 0;
    Window child = 0;
    int x = 0;
    unsigned int buttons = 0;
    XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &x, &x, &x, &x, &buttons);
    for (unsigned int button = 1; button <= 5; ++button)
        if (buttons & (Button1Mask << (button - 1)))
            XTestFakeButtonEvent(m_display, button, False, CurrentTime);
    XSync(m_display, False);
}

bool XDriver::ShowsCursor(const CursorFile& cursor)
{
    XFixesCursorImage* shown = XFixesGetCursorImage(m_display);
    QImage image(shown->width, shown->height, QImage::Format_ARGB32_Premultiplied);
    // Each pixel comes as an unsigned long that holds 32 bits of premultiplied ARGB.
    for (int i = 0; i < shown->width * shown->height; ++i)
        image.setPixel(i % shown->width, i / shown->width, static_cast<QRgb>(shown->pixels[i]));
    const bool same = QPoint(shown->xhot, shown->yhot) == cursor.hotspot && image == cursor.image;
    XFree(shown);
    return same;
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
            (Property(m_display, children[i], "_NET_WM_PID") == pidProperty ? found : pending).append(children[i]);
        }
        XFree(children);
    }
    XSync(m_display, False);
    XSetErrorHandler(previous);
    return found;
}

QString XDriver::Title(unsigned long window)
{
    return QString::fromUtf8(Property(m_display, window, "_NET_WM_NAME"));
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
    Window focus = 0;
    int revert = 0;
    return QTest::qWaitFor([&] { return XGetInputFocus(m_display, &focus, &revert), focus == window; }, 30000);
}
