#include "tasks/DescriptiveImage.h"

#include <algorithm>

namespace DescriptiveImage {
namespace {
constexpr QRgb kBlack = 0xFF000000;
constexpr long kMaxColour = 0xFFFFFF;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
} // namespace

QRgb FieldColour(const char* field, int length)
{
    // A field cut short by the end of the text may hold only the first digits of its number,
    // unless a blank shows where the number ended.
    if (length < kDigitsRead && (length == 0 || !IsBlank(field[length - 1])))
        return kBlack;
    int begin = 0;
    int end = std::min(length, kDigitsRead);
    while (begin < end && IsBlank(field[begin]))
        ++begin;
    while (end > begin && IsBlank(field[end - 1]))
        --end;
    if (begin < end && field[begin] == '+')
        ++begin;
    if (begin == end)
        return kBlack;
    long colour = 0;
    for (int i = begin; i < end; ++i) {
        const char c = field[i];
        // A minus sign, a letter or a blank inside the number: not a colour.
        if (c < '0' || c > '9')
            return kBlack;
        colour = colour * 10 + (c - '0');
    }
    if (colour > kMaxColour)
        return kBlack;
    const int red = static_cast<int>(colour & 0xFF);
    const int green = static_cast<int>((colour >> 8) & 0xFF);
    const int blue = static_cast<int>((colour >> 16) & 0xFF);
    return qRgb(red, green, blue);
}

QImage Decode(const QByteArray& text)
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(kBlack);
    const char* data = text.constData();
    const qsizetype size = text.size();
    const qsizetype stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    auto* pixels = reinterpret_cast<QRgb*>(image.bits());
    for (int k = 0; k < kFieldCount; ++k) {
        const qsizetype offset = static_cast<qsizetype>(k) * kFieldWidth;
        if (offset >= size)
            break;
        const int available = static_cast<int>(std::min<qsizetype>(size - offset, kFieldWidth));
        // Field k is column k / 51, row k % 51 of the block.
        pixels[(k % kSide) * stride + k / kSide] = FieldColour(data + offset, available);
    }
    return image;
}

} // namespace DescriptiveImage
