#pragma once

#include <QString>

// A text of `count` characters drawn from the alphabet, the same in every run, for the typing
// benchmarks to type and compare.
inline QString TypingText(const QString& alphabet, int count = 1000)
{
    QString text;
    quint32 seed = 12345;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245 + 12345;
        text += alphabet[int((seed >> 16) % quint32(alphabet.size()))];
    }
    return text;
}
