#include "core/KeyboardOptions.h"

#include <QSettings>

namespace {
const QString kRecordKey = QStringLiteral("Keyboard/Record");
}

KeyboardOptions KeyboardOptions::Load(const QSettings& settings)
{
    return KeyboardOptions{settings.value(kRecordKey, true).toBool()};
}

void KeyboardOptions::Save(QSettings& settings) const
{
    settings.setValue(kRecordKey, record);
}
