#include "app/StderrMessageBoxes.h"

#include "core/AppInfo.h"

#include <QStringList>

#include <cstdio>

void StderrMessageBoxes::Show(Icon /*icon*/, const QString& text)
{
    Print(text);
}

MessageBoxes::Answer StderrMessageBoxes::Ask(const Question& question)
{
    Print(question.text + QLatin1Char(' ') + question.no);
    return Answer::No;
}

void StderrMessageBoxes::Print(const QString& text)
{
    // Every line of a message names the program, so a script's log tells whose it is.
    QString lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines += AppInfo::ExecutableName() + QStringLiteral(": ") + line + QLatin1Char('\n');
    const QByteArray bytes = lines.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}
