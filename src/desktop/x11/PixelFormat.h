#pragma once

#include <QtGlobal>

// Turns a pixel value of a true-colour visual into the program's colour number, red in the low byte,
// then green, then blue. The channels are found from the visual's masks, so a 16-bit or a
// blue-first server gives the same colour numbers as the usual 24-bit one.
class PixelFormat
{
public:
    PixelFormat() : PixelFormat(0xff0000, 0x00ff00, 0x0000ff) {}
    PixelFormat(unsigned long redMask, unsigned long greenMask, unsigned long blueMask)
        : m_red(Describe(redMask)), m_green(Describe(greenMask)), m_blue(Describe(blueMask))
    {}

    quint32 ToColour(unsigned long pixel) const
    {
        return Scale(pixel, m_red) | (Scale(pixel, m_green) << 8) | (Scale(pixel, m_blue) << 16);
    }

private:
    struct Channel
    {
        unsigned long mask = 0;
        int shift = 0;
        int bits = 0;
    };

    static Channel Describe(unsigned long mask)
    {
        Channel channel{mask, 0, 0};
        if (mask == 0)
            return channel;
        while (((mask >> channel.shift) & 1UL) == 0)
            ++channel.shift;
        while (channel.shift + channel.bits < 64 && ((mask >> (channel.shift + channel.bits)) & 1UL) != 0)
            ++channel.bits;
        return channel;
    }

    // A channel of fewer than 8 bits is stretched so that its largest value becomes 255.
    static quint32 Scale(unsigned long pixel, const Channel& channel)
    {
        const auto value = static_cast<quint32>((pixel & channel.mask) >> channel.shift);
        if (channel.bits >= 8)
            return value >> (channel.bits - 8);
        if (channel.bits == 0)
            return 0;
        const quint32 largest = (1U << channel.bits) - 1;
        return (value * 255 + largest / 2) / largest;
    }

    Channel m_red;
    Channel m_green;
    Channel m_blue;
};
