#pragma once

#include "core/KeySymbols.h"

#include <QStringList>

#include <vector>

// Keysyms written as their names apart by blanks: "Control_L Shift_L t".
inline std::vector<quint32> KeysNamed(const QString& names)
{
    std::vector<quint32> keys;
    for (const QString& name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        keys.push_back(KeySymbols::FromName(name.toLatin1()));
    return keys;
}
