#pragma once

#include "tasks/DescriptiveImage.h"

#include <QByteArray>

// A descriptive image text of one colour everywhere, as the recorder writes it.
inline QByteArray UniformImageText(int colour)
{
    const QByteArray field = QByteArray::number(colour).leftJustified(DescriptiveImage::kFieldWidth, ' ');
    return field.repeated(DescriptiveImage::kFieldCount);
}
