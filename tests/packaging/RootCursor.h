#pragma once

#include <QImage>
#include <QPoint>

#include <optional>

// The pointer shape the X server shows right now (XFixes), to check what a program set.
struct PointerShape
{
    QImage image; // ARGB32 premultiplied
    QPoint hotspot;

    // Same size, hotspot and pixels (within a rounding step per channel).
    bool Matches(const PointerShape& other) const;
};

std::optional<PointerShape> CurrentPointerShape();
// The first image of a Windows cursor file and its hotspot.
std::optional<PointerShape> PointerShapeFromFile(const QString& path);
