#include "tasks/DescriptiveImage.h"

#include <algorithm>
#include <charconv>

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
    return FromDesktopColour(static_cast<quint32>(colour));
}

QByteArray Encode(const std::vector<quint32>& block)
{
    QByteArray image;
    if (block.size() != static_cast<std::size_t>(kFieldCount))
        return image;
    image.reserve(kFieldCount * kFieldWidth);
    // The block comes row by row; the image text goes column by column, each from top to bottom.
    for (int i = 0; i < kSide; ++i) {
        for (int j = 0; j < kSide; ++j) {
            // The colour as a signed number, as a 32-bit colour value reads.
            char digits[16];
            const auto colour = static_cast<qint32>(block[static_cast<std::size_t>(j * kSide + i)]);
            const auto result = std::to_chars(digits, digits + sizeof digits, colour);
            const auto length = static_cast<int>(result.ptr - digits);
            image.append(digits, length);
            if (length < kFieldWidth)
                image.append(kFieldWidth - length, ' ');
        }
    }
    return image;
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
