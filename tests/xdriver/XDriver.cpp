#include "xdriver/XDriver.h"

#include <QTest>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>

XDriver::XDriver() : m_display(XOpenDisplay(nullptr))
{}

XDriver::~XDriver()
{
    ReleaseAll();
    XCloseDisplay(m_display);
}

void XDriver::Keys(const QString& keys, bool press)
{
    QStringList names = keys.split('+');
    if (!press)
        std::reverse(names.begin(), names.end());
    for (const QString& name : names)
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, XStringToKeysym(qPrintable(name))), press,
                          CurrentTime);
    XSync(m_display, False);
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

QList<int> XDriver::KeysDown()
{
    char keys[32] = {};
    XQueryKeymap(m_display, keys);
    QList<int> down;
    for (int keycode = 8; keycode < 256; ++keycode)
        if ((keys[keycode / 8] >> (keycode % 8)) & 1)
            down << keycode;
    return down;
}

// Only what is down is let go: a release of a button that is up would still reach the windows.
void XDriver::ReleaseAll()
{
    for (const int keycode : KeysDown())
        XTestFakeKeyEvent(m_display, static_cast<unsigned int>(keycode), False, CurrentTime);
    Window root = 0;
    int x = 0;
    unsigned int buttons = 0;
    XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &root, &x, &x, &x, &x, &buttons);
    for (unsigned int button = 1; button <= 5; ++button)
        if (buttons & (Button1Mask << (button - 1)))
            XTestFakeButtonEvent(m_display, button, False, CurrentTime);
    XSync(m_display, False);
}

unsigned int XDriver::ButtonsDown()
{
    Window root = 0;
    int x = 0;
    unsigned int state = 0;
    XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &root, &x, &x, &x, &x, &state);
    return (state >> 8) & 0x1f;
}

unsigned int XDriver::SwapKeys(const QString& keysym, const QString& otherKeysym)
{
    const KeyCode keycode = XKeysymToKeycode(m_display, XStringToKeysym(qPrintable(keysym)));
    const KeyCode otherKeycode = XKeysymToKeycode(m_display, XStringToKeysym(qPrintable(otherKeysym)));
    int perKeycode = 0;
    KeySym* first = XGetKeyboardMapping(m_display, keycode, 1, &perKeycode);
    KeySym* second = XGetKeyboardMapping(m_display, otherKeycode, 1, &perKeycode);
    XChangeKeyboardMapping(m_display, keycode, perKeycode, second, 1);
    XChangeKeyboardMapping(m_display, otherKeycode, perKeycode, first, 1);
    XFree(first);
    XFree(second);
    XSync(m_display, False);
    return otherKeycode;
}

void XDriver::PressKeycode(unsigned int keycode, bool press)
{
    XTestFakeKeyEvent(m_display, keycode, press, CurrentTime);
    XSync(m_display, False);
}

QList<unsigned long> XDriver::KeyMap()
{
    int first = 0;
    int last = 0;
    XDisplayKeycodes(m_display, &first, &last);
    int perKeycode = 0;
    KeySym* symbols = XGetKeyboardMapping(m_display, static_cast<KeyCode>(first), last - first + 1, &perKeycode);
    QList<unsigned long> map;
    for (int i = 0; symbols != nullptr && i <= last - first; ++i)
        map << symbols[i * perKeycode];
    XFree(symbols);
    return map;
}

QByteArray XDriver::CursorImage()
{
    int eventBase = 0;
    int errorBase = 0;
    int major = 4;
    int minor = 0;
    if (!XFixesQueryExtension(m_display, &eventBase, &errorBase) || !XFixesQueryVersion(m_display, &major, &minor))
        return {};
    XFixesCursorImage* image = XFixesGetCursorImage(m_display);
    if (image == nullptr)
        return {};
    QByteArray bytes = QByteArray::number(image->width) + 'x' + QByteArray::number(image->height) + '+' +
                       QByteArray::number(image->xhot) + '+' + QByteArray::number(image->yhot);
    for (int i = 0; i < image->width * image->height; ++i)
        bytes += QByteArray::number(quint32(image->pixels[i]), 16) + ' ';
    XFree(image);
    return bytes;
}

void XDriver::MakeError(bool wait)
{
    XDestroyWindow(m_display, 0);
    if (wait)
        XSync(m_display, False);
    else
        XFlush(m_display);
}

// A window property's bytes (32-bit items come as longs); empty where it is not set.
QByteArray XDriver::Property(unsigned long window, const char* name)
{
    unsigned long type = 0, items = 0, after = 0;
    int format = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(m_display, window, XInternAtom(m_display, name, False), 0, 1024, False, AnyPropertyType, &type,
                       &format, &items, &after, &data);
    const QByteArray bytes(reinterpret_cast<const char*>(data),
                           qsizetype(items * (format == 32 ? sizeof(long) : size_t(format) / 8)));
    XFree(data);
    return bytes;
}

// The window manager frames each client window: the search goes down until it meets a window of
// the process. A window may go away meanwhile: its errors are no failure.
QList<unsigned long> XDriver::Windows(qint64 pid, bool viewableOnly)
{
    const auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const QByteArray pidProperty(reinterpret_cast<const char*>(&pid), sizeof pid);
    QList<unsigned long> found;
    QList<Window> pending = {DefaultRootWindow(m_display)};
    while (!pending.isEmpty()) {
        Window root = 0, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(m_display, pending.takeLast(), &root, &root, &children, &count);
        for (const Window child : QList<Window>(children, children + count)) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(m_display, child, &attributes) &&
                (!viewableOnly || attributes.map_state == IsViewable))
                (Property(child, "_NET_WM_PID") == pidProperty ? found : pending).append(child);
        }
        XFree(children);
    }
    XSync(m_display, False);
    XSetErrorHandler(previous);
    return found;
}

bool XDriver::AnyTopWindowHas(const char* property)
{
    Window root = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(m_display, DefaultRootWindow(m_display), &root, &root, &children, &count);
    bool found = false;
    for (const Window child : QList<Window>(children, children + count))
        found = found || !Property(child, property).isEmpty();
    XFree(children);
    return found;
}

QString XDriver::Title(unsigned long window)
{
    return QString::fromUtf8(Property(window, "_NET_WM_NAME"));
}

QRect XDriver::Geometry(unsigned long window)
{
    XWindowAttributes attributes{};
    Window child = 0;
    int x = 0, y = 0;
    XGetWindowAttributes(m_display, window, &attributes);
    XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

void XDriver::Activate(unsigned long window)
{
    XEvent event{};
    event.xclient = {
        ClientMessage, 0, False, m_display, window, XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False), 32, {}};
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
