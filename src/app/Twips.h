#pragma once

#include <QWidget>

#include <cmath>

// Window sizes are given in twips: 15 twips make one pixel on a 96 dpi screen. Following the
// screen's logical dpi keeps the layout in proportion on scaled screens.
inline int TwipsToPixels(int twips, const QWidget* widget)
{
    const double dpi = widget ? widget->logicalDpiX() : 96.0;
    return static_cast<int>(std::lround(twips / 15.0 * dpi / 96.0));
}
