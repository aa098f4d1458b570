#include "core/KeyboardOptions.h"

#include "core/OptionValues.h"

#include <QSettings>

namespace {
const QString kRecordKey = QStringLiteral("Keyboard/Record");
}

KeyboardOptions KeyboardOptions::Load(const QSettings& settings)
{
    // Read as strictly as the other switches: only a clear "false" or "0" turns recording keys off.
    return KeyboardOptions{ParseSwitch(settings.value(kRecordKey).toString()).value_or(true)};
}

void KeyboardOptions::Save(QSettings& settings) const
{
    settings.setValue(kRecordKey, record);
}
