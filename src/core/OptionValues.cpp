#include "core/OptionValues.h"

std::optional<int> ParseInterval(QStringView text, int min, int max)
{
    text = text.trimmed();
    constexpr qsizetype kMaxDigits = 9; // keeps the value far from overflow
    if (text.isEmpty() || text.size() > kMaxDigits)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<bool> ParseSwitch(QStringView text)
{
    text = text.trimmed();
    if (text.compare(u"true", Qt::CaseInsensitive) == 0 || text == u"1")
        return true;
    if (text.compare(u"false", Qt::CaseInsensitive) == 0 || text == u"0")
        return false;
    return std::nullopt;
}
