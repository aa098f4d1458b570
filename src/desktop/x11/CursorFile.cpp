#include "desktop/x11/CursorFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace {
// The file starts with a 6-byte directory header (reserved 0, type 2 for cursors, image count) and
// then one 16-byte entry per image; in a cursor's entry the bytes 4-5 and 6-7 are the hotspot.
constexpr int kHeaderSize = 6;
constexpr int kEntrySize = 16;
constexpr quint16 kCursorType = 2;

quint16 ReadLittle16(const QByteArray& bytes, int offset)
{
    return static_cast<quint16>(static_cast<quint8>(bytes[offset]) | (static_cast<quint8>(bytes[offset + 1]) << 8));
}
} // namespace

std::optional<CursorFile> CursorFile::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (bytes.size() < kHeaderSize + kEntrySize || ReadLittle16(bytes, 0) != 0 ||
        ReadLittle16(bytes, 2) != kCursorType || ReadLittle16(bytes, 4) == 0)
        return std::nullopt;

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "cur");
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;

    // The reader returns the first image of the file, which is the one the first entry describes.
    const QPoint hotspot(ReadLittle16(bytes, kHeaderSize + 4), ReadLittle16(bytes, kHeaderSize + 6));
    if (!image.rect().contains(hotspot))
        return std::nullopt;
    return CursorFile{image.convertToFormat(QImage::Format_ARGB32_Premultiplied), hotspot};
}
