#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

#include <optional>

// A Windows cursor file (.cur) read for use as a pointer shape: the image with its alpha channel,
// premultiplied, and the hotspot, which only the file's directory entry holds.
struct CursorFile
{
    QImage image;
    QPoint hotspot;

    // Nothing when the file is missing, unreadable or not a cursor file.
    static std::optional<CursorFile> Load(const QString& path);
};
