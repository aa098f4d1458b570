#pragma once

#include "desktop/x11/PixelFormat.h"

#include <QSize>
#include <QtGlobal>

#include <vector>

struct _XDisplay;

// The screen of one X connection: its size, and its pixels read in one request a block and turned
// into colours (red in the low byte) whatever the visual.
class X11Screen
{
public:
    X11Screen(_XDisplay* display, unsigned long root, int screen);

    QSize Size() const { return {m_width, m_height}; }
    // The size the server announced (a ConfigureNotify of the root window).
    void Resized(int width, int height);
    // Asks the server for the size: after a refused read, when the announcement may still be on its way.
    void Refresh();

    // The colours of the rectangle, row by row; pixels off the screen are 0.
    std::vector<quint32> Block(int left, int top, int width, int height);

private:
    bool ReadBlock(int left, int top, int width, int height, std::vector<quint32>& out);
    void FillFromPalette(const std::vector<unsigned long>& pixels, std::vector<quint32>& out, size_t first, int stride,
                         int width, int height);

    _XDisplay* m_display;
    unsigned long m_root;
    unsigned long m_colormap = 0;
    PixelFormat m_format;
    bool m_trueColour = true;
    int m_width = 0;
    int m_height = 0;
};
