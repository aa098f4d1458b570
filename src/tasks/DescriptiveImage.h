#pragma once

#include <QByteArray>
#include <QImage>

#include <vector>

// The descriptive image text of a task: the colours of the 51 x 51 screen pixels around the
// task's point, 2601 fields of 10 characters, column by column. A field is the colour number
// (red in the low byte, then green, then blue) as decimal text followed by blanks.
namespace DescriptiveImage {

inline constexpr int kSide = 51;
inline constexpr int kFieldWidth = 10;
inline constexpr int kFieldCount = kSide * kSide;
// Only the first characters of a field are read: a screen colour has at most 8 digits.
inline constexpr int kDigitsRead = 8;

// The image text of a 51 x 51 screen block given row by row, with colours as the desktop gives
// them (red in the low byte): each field the colour as decimal text padded with blanks.
QByteArray Encode(const std::vector<quint32>& block);

// A desktop colour (red in the low byte, then green, then blue) as 0xFFRRGGBB.
inline QRgb FromDesktopColour(quint32 colour)
{
    return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

// The colour of one field as 0xAARRGGBB, black where the text is not a colour number:
// not a number, negative (a sample beyond the screen's edge) or above 0xFFFFFF.
QRgb FieldColour(const char* field, int length);

// The whole block as a 51 x 51 image in one pass. A damaged text draws what can be read and
// black for the rest: short texts leave the missing fields black, and so does a last field cut
// inside its number.
QImage Decode(const QByteArray& text);

} // namespace DescriptiveImage
