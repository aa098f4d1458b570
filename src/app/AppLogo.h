#pragma once

#include <QIcon>
#include <QPixmap>

// The program's logo, painted rather than loaded so that no image file or plugin is needed:
// a mouse with its left button pressed and a recording dot.
namespace AppLogo {

QPixmap Pixmap(int side);
QIcon Icon();

} // namespace AppLogo
