#include "RootCursor.h"

#include <QFile>
#include <QImageReader>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdlib>
#include <memory>

namespace {
constexpr int kHeaderSize = 6;
constexpr int kChannelTolerance = 2;

int Little16(const QByteArray& bytes, int offset)
{
    return static_cast<quint8>(bytes[offset]) | (static_cast<quint8>(bytes[offset + 1]) << 8);
}

bool Near(QRgb a, QRgb b)
{
    return std::abs(qAlpha(a) - qAlpha(b)) <= kChannelTolerance && std::abs(qRed(a) - qRed(b)) <= kChannelTolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= kChannelTolerance && std::abs(qBlue(a) - qBlue(b)) <= kChannelTolerance;
}
} // namespace

bool PointerShape::Matches(const PointerShape& other) const
{
    if (image.size() != other.image.size() || hotspot != other.hotspot)
        return false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!Near(image.pixel(x, y), other.image.pixel(x, y)))
                return false;
        }
    }
    return true;
}

std::optional<PointerShape> CurrentPointerShape()
{
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display)
        return std::nullopt;
    int eventBase = 0;
    int errorBase = 0;
    if (!XFixesQueryExtension(display.get(), &eventBase, &errorBase))
        return std::nullopt;
    const std::unique_ptr<XFixesCursorImage, int (*)(void*)> cursor(XFixesGetCursorImage(display.get()), XFree);
    if (!cursor)
        return std::nullopt;
    PointerShape shape{QImage(cursor->width, cursor->height, QImage::Format_ARGB32_Premultiplied),
                       QPoint(cursor->xhot, cursor->yhot)};
    // Each pixel arrives as an unsigned long holding 32 bits of premultiplied ARGB.
    for (int y = 0; y < cursor->height; ++y) {
        for (int x = 0; x < cursor->width; ++x)
            shape.image.setPixel(x, y, static_cast<QRgb>(cursor->pixels[y * cursor->width + x] & 0xffffffffUL));
    }
    return shape;
}

std::optional<PointerShape> PointerShapeFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    QImageReader reader(path, "cur");
    const QImage image = reader.read();
    if (image.isNull() || bytes.size() < kHeaderSize + 8)
        return std::nullopt;
    // The first directory entry follows the 6-byte header; its bytes 4 to 7 hold the hotspot.
    return PointerShape{image.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                        QPoint(Little16(bytes, kHeaderSize + 4), Little16(bytes, kHeaderSize + 6))};
}
