#include "desktop/XUser.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <bit>
#include <chrono>
#include <thread>

XUser::XUser()
{
    m_display = XOpenDisplay(nullptr);
    if (m_display == nullptr)
        return;
    m_root = DefaultRootWindow(m_display);
    m_width = DisplayWidth(m_display, DefaultScreen(m_display));
    m_height = DisplayHeight(m_display, DefaultScreen(m_display));
}

XUser::~XUser()
{
    if (m_display == nullptr)
        return;
    ReleaseAll();
    HideClickWindow();
    if (m_patternWindow != 0)
        XDestroyWindow(m_display, m_patternWindow);
    XCloseDisplay(m_display);
}

unsigned char XUser::Keycode(Key key) const
{
    // In the order of XUser::Key.
    static constexpr KeySym kSymbols[] = {XK_Shift_L, XK_Shift_R, XK_Control_L, XK_Control_R, XK_F11, XK_F12, XK_Alt_L};
    return XKeysymToKeycode(m_display, kSymbols[static_cast<int>(key)]);
}

void XUser::PressKey(Key key)
{
    // The keys go to the pattern, not to a window of a test running beside, whose shortcuts they
    // could trigger.
    if (m_patternWindow != 0)
        XSetInputFocus(m_display, m_patternWindow, RevertToPointerRoot, CurrentTime);
    m_keysDown.insert(Keycode(key));
    XTestFakeKeyEvent(m_display, Keycode(key), True, CurrentTime);
    XSync(m_display, False);
}

void XUser::ReleaseKey(Key key)
{
    m_keysDown.erase(Keycode(key));
    XTestFakeKeyEvent(m_display, Keycode(key), False, CurrentTime);
    XSync(m_display, False);
}

void XUser::PressButton(unsigned int xButton)
{
    m_buttonsDown.insert(xButton);
    XTestFakeButtonEvent(m_display, xButton, True, CurrentTime);
    XSync(m_display, False);
}

void XUser::ReleaseButton(unsigned int xButton)
{
    m_buttonsDown.erase(xButton);
    XTestFakeButtonEvent(m_display, xButton, False, CurrentTime);
    XSync(m_display, False);
}

void XUser::ReleaseAll()
{
    for (unsigned char keycode : m_keysDown)
        XTestFakeKeyEvent(m_display, keycode, False, CurrentTime);
    for (unsigned int button : m_buttonsDown)
        XTestFakeButtonEvent(m_display, button, False, CurrentTime);
    m_keysDown.clear();
    m_buttonsDown.clear();
    XSync(m_display, False);
}

void XUser::MovePointer(int x, int y)
{
    XTestFakeMotionEvent(m_display, DefaultScreen(m_display), x, y, CurrentTime);
    XSync(m_display, False);
}

quint32 XUser::PatternColour(int x, int y)
{
    const auto ux = static_cast<quint32>(x);
    const auto uy = static_cast<quint32>(y);
    return (ux & 0xff) | ((uy & 0xff) << 8) | ((((ux >> 8) & 0x0f) | (((uy >> 8) & 0x0f) << 4)) << 16);
}

// Override-redirect, so that the window manager neither frames nor moves it; returns once mapped.
unsigned long XUser::CreateWindow(const QRect& area)
{
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(m_display, DefaultScreen(m_display));
    attributes.event_mask = ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
    const Window window = XCreateWindow(m_display, m_root, area.x(), area.y(), static_cast<unsigned int>(area.width()),
                                        static_cast<unsigned int>(area.height()), 0, CopyFromParent, InputOutput,
                                        CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XMapRaised(m_display, window);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    XEvent event;
    while (!XCheckTypedWindowEvent(m_display, window, MapNotify, &event) &&
           std::chrono::steady_clock::now() < deadline) {
        XSync(m_display, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return window;
}

void XUser::ShowPattern()
{
    if (m_patternWindow == 0)
        m_patternWindow = CreateWindow(QRect(0, 0, m_width, m_height));
    XRaiseWindow(m_display, m_patternWindow);

    // The pattern's colours in the layout of the server's visual.
    Visual* visual = DefaultVisual(m_display, DefaultScreen(m_display));
    const int shifts[] = {std::countr_zero(visual->red_mask), std::countr_zero(visual->green_mask),
                          std::countr_zero(visual->blue_mask)};
    std::vector<quint32> pixels;
    pixels.reserve(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const quint32 colour = PatternColour(x, y);
            pixels.push_back(((colour & 0xff) << shifts[0]) | (((colour >> 8) & 0xff) << shifts[1]) |
                             (((colour >> 16) & 0xff) << shifts[2]));
        }
    }
    XImage* image = XCreateImage(m_display, visual, static_cast<unsigned int>(DefaultDepth(m_display, 0)), ZPixmap, 0,
                                 reinterpret_cast<char*>(pixels.data()), static_cast<unsigned int>(m_width),
                                 static_cast<unsigned int>(m_height), 32, m_width * 4);
    image->byte_order = LSBFirst;
    GC gc = XCreateGC(m_display, m_patternWindow, 0, nullptr);
    XPutImage(m_display, m_patternWindow, gc, image, 0, 0, 0, 0, static_cast<unsigned int>(m_width),
              static_cast<unsigned int>(m_height));
    XFreeGC(m_display, gc);
    image->data = nullptr; // the pixels belong to the vector
    XDestroyImage(image);
    XSync(m_display, False);
}

void XUser::ShowClickWindow(const QRect& area)
{
    HideClickWindow();
    m_clickWindow = CreateWindow(area);
    TakeButtonEvents();
}

void XUser::HideClickWindow()
{
    if (m_clickWindow == 0)
        return;
    XDestroyWindow(m_display, m_clickWindow);
    m_clickWindow = 0;
    XSync(m_display, False);
}

std::vector<XUser::ButtonEvent> XUser::TakeButtonEvents()
{
    std::vector<ButtonEvent> events;
    XSync(m_display, False);
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        const XButtonEvent& button = event.xbutton;
        if ((event.type == ButtonPress || event.type == ButtonRelease) && button.window == m_clickWindow)
            events.push_back({event.type == ButtonPress, button.button, {button.x_root, button.y_root}, button.time});
    }
    return events;
}
