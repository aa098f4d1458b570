#pragma once

#include "tasks/DescriptiveImage.h"

#include <QByteArray>

#include <functional>

// The descriptive image text of the block centred on (x, y) of a screen whose pixels have the
// given colours, as the recorder writes it: column by column, each column from top to bottom.
inline QByteArray ImageText(const std::function<quint32(int x, int y)>& colourAt, int x = 0, int y = 0)
{
    const int half = DescriptiveImage::kSide / 2;
    QByteArray text;
    for (int i = -half; i <= half; ++i) {
        for (int j = -half; j <= half; ++j)
            text += QByteArray::number(colourAt(x + i, y + j)).leftJustified(DescriptiveImage::kFieldWidth, ' ');
    }
    return text;
}
