#include "desktop/x11/X11Screen.h"

#include "desktop/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace {
constexpr bool kLittleEndianHost = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
} // namespace

X11Screen::X11Screen(_XDisplay* display, unsigned long root, int screen)
    : m_display(display), m_root(root), m_colormap(DefaultColormap(display, screen))
{
    const Visual* visual = DefaultVisual(m_display, screen);
    m_trueColour = visual->c_class == TrueColor;
    if (m_trueColour)
        m_format = PixelFormat(visual->red_mask, visual->green_mask, visual->blue_mask);
    Refresh();
}

void X11Screen::Resized(int width, int height)
{
    m_width = width;
    m_height = height;
}

void X11Screen::Refresh()
{
    Window rootReturn = 0;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (XGetGeometry(m_display, m_root, &rootReturn, &x, &y, &width, &height, &border, &depth))
        Resized(static_cast<int>(width), static_cast<int>(height));
}

std::vector<quint32> X11Screen::Block(int left, int top, int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    std::vector<quint32> colours(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    // A rectangle that reaches past the screen makes the server refuse the whole request, so only
    // the part on the screen is asked for; the rest stays black.
    if (!ReadBlock(left, top, width, height, colours)) {
        Refresh();
        std::fill(colours.begin(), colours.end(), 0);
        if (!ReadBlock(left, top, width, height, colours))
            std::fill(colours.begin(), colours.end(), 0);
    }
    return colours;
}

bool X11Screen::ReadBlock(int left, int top, int width, int height, std::vector<quint32>& out)
{
    const long long clipLeft = std::max<long long>(left, 0);
    const long long clipTop = std::max<long long>(top, 0);
    const long long clipRight = std::min<long long>(static_cast<long long>(left) + width, m_width);
    const long long clipBottom = std::min<long long>(static_cast<long long>(top) + height, m_height);
    if (clipLeft >= clipRight || clipTop >= clipBottom)
        return true;
    const int clipWidth = static_cast<int>(clipRight - clipLeft);
    const int clipHeight = static_cast<int>(clipBottom - clipTop);

    XImage* image = nullptr;
    {
        X11ErrorTrap trap(m_display);
        image =
            XGetImage(m_display, m_root, static_cast<int>(clipLeft), static_cast<int>(clipTop),
                      static_cast<unsigned int>(clipWidth), static_cast<unsigned int>(clipHeight), AllPlanes, ZPixmap);
        if (trap.Failed() && image != nullptr) {
            XDestroyImage(image);
            image = nullptr;
        }
    }
    if (image == nullptr)
        return false;

    // Index in `out` of the first on-screen pixel.
    const size_t first =
        static_cast<size_t>(clipTop - top) * static_cast<size_t>(width) + static_cast<size_t>(clipLeft - left);
    const bool direct = image->bits_per_pixel == 32 && image->byte_order == (kLittleEndianHost ? LSBFirst : MSBFirst);
    if (m_trueColour) {
        for (int row = 0; row < clipHeight; ++row) {
            quint32* target = out.data() + first + static_cast<size_t>(row) * static_cast<size_t>(width);
            if (direct) {
                const char* source = image->data + static_cast<ptrdiff_t>(row) * image->bytes_per_line;
                for (int column = 0; column < clipWidth; ++column) {
                    quint32 pixel = 0;
                    std::memcpy(&pixel, source + static_cast<ptrdiff_t>(column) * 4, sizeof pixel);
                    target[column] = m_format.ToColour(pixel);
                }
            } else {
                for (int column = 0; column < clipWidth; ++column)
                    target[column] = m_format.ToColour(XGetPixel(image, column, row));
            }
        }
    } else {
        std::vector<unsigned long> pixels;
        pixels.reserve(static_cast<size_t>(clipWidth) * static_cast<size_t>(clipHeight));
        for (int row = 0; row < clipHeight; ++row)
            for (int column = 0; column < clipWidth; ++column)
                pixels.push_back(XGetPixel(image, column, row));
        FillFromPalette(pixels, out, first, width, clipWidth, clipHeight);
    }
    XDestroyImage(image);
    return true;
}

// A palette visual has no channel masks: the colour map tells what each pixel value shows, asked
// once for all distinct values of the block.
void X11Screen::FillFromPalette(const std::vector<unsigned long>& pixels, std::vector<quint32>& out, size_t first,
                                int stride, int width, int height)
{
    std::map<unsigned long, quint32> colourOf;
    for (unsigned long pixel : pixels)
        colourOf.emplace(pixel, 0);
    std::vector<XColor> query;
    query.reserve(colourOf.size());
    for (const auto& entry : colourOf) {
        XColor colour{};
        colour.pixel = entry.first;
        query.push_back(colour);
    }
    XQueryColors(m_display, m_colormap, query.data(), static_cast<int>(query.size()));
    for (const XColor& colour : query)
        colourOf[colour.pixel] = static_cast<quint32>(colour.red >> 8) |
                                 (static_cast<quint32>(colour.green >> 8) << 8) |
                                 (static_cast<quint32>(colour.blue >> 8) << 16);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            out[first + static_cast<size_t>(row) * static_cast<size_t>(stride) + static_cast<size_t>(column)] =
                colourOf[pixels[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(column)]];
}
