#include "desktop/x11/X11Cursor.h"

#include "desktop/x11/CursorFile.h"
#include "desktop/x11/X11ErrorTrap.h"
#include "desktop/x11/X11LetGo.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrender.h>

namespace {
// An XInput older than 2 answers the version query with an error: the trap keeps it off the log.
void SetPointersCursor(Display* display, Window root, Cursor cursor)
{
    X11ErrorTrap trap(display);
    X11LetGo::SetPointersCursor(display, root, cursor);
}
} // namespace

namespace X11Cursor {

unsigned long Create(_XDisplay* display, unsigned long root, const CursorFile& file)
{
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    // Cursors from pictures came with RENDER 0.5.
    if (!XRenderQueryExtension(display, &eventBase, &errorBase) || !XRenderQueryVersion(display, &major, &minor) ||
        (major == 0 && minor < 5))
        return 0;
    XRenderPictFormat* format = XRenderFindStandardFormat(display, PictStandardARGB32);
    if (format == nullptr)
        return 0;

    // Pixels in host order, 0xAARRGGBB premultiplied: what an ARGB32 picture holds.
    QImage image = file.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto width = static_cast<unsigned int>(image.width());
    const auto height = static_cast<unsigned int>(image.height());

    X11ErrorTrap trap(display);
    const Pixmap pixmap = XCreatePixmap(display, root, width, height, 32);
    const GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XImage* ximage = XCreateImage(display, nullptr, 32, ZPixmap, 0, reinterpret_cast<char*>(image.bits()), width,
                                  height, 32, static_cast<int>(image.bytesPerLine()));
    Cursor cursor = 0;
    if (ximage != nullptr) {
        ximage->byte_order = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? LSBFirst : MSBFirst;
        XPutImage(display, pixmap, gc, ximage, 0, 0, 0, 0, width, height);
        ximage->data = nullptr; // the pixels belong to the QImage
        XDestroyImage(ximage);
        const Picture picture = XRenderCreatePicture(display, pixmap, format, 0, nullptr);
        cursor = XRenderCreateCursor(display, picture, static_cast<unsigned int>(file.hotspot.x()),
                                     static_cast<unsigned int>(file.hotspot.y()));
        XRenderFreePicture(display, picture);
    }
    XFreeGC(display, gc);
    XFreePixmap(display, pixmap);
    XSync(display, False);
    if (trap.Failed()) {
        if (cursor != 0)
            XFreeCursor(display, cursor);
        XSync(display, False);
        return 0;
    }
    return cursor;
}

void SetRootCursor(_XDisplay* display, unsigned long root, unsigned long cursor)
{
    XDefineCursor(display, root, cursor);
    SetPointersCursor(display, root, cursor);
}

void ResetRootCursor(_XDisplay* display, unsigned long root)
{
    XUndefineCursor(display, root);
    // Undefining the pointer's cursor on the root window would show the server's cross, not the
    // arrow; Xlib takes the arrow from the cursor theme where one is installed.
    const Cursor arrow = XCreateFontCursor(display, XC_left_ptr);
    SetPointersCursor(display, root, arrow);
    XFreeCursor(display, arrow);
    XSync(display, False);
}

} // namespace X11Cursor
