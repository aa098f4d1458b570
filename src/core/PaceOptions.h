#pragma once

#include <QString>
#include <QStringView>

#include <optional>

class QSettings;

// The pace of recording and playing: whether the recorder keeps the time between one task and the
// next as a wait task of its own, and how much faster or slower than recorded a list is played.
// Kept in the user's settings, never in a macro file, like the screen check.
struct PaceOptions
{
    static constexpr double kMinSpeed = 0.1;
    static constexpr double kMaxSpeed = 10.0;

    bool keepPace = false; // off: every task plays one time unit after the one before, as ever
    double speed = 1.0;    // the time unit and the recorded waits are divided by it; pauses are not

    // Values that are missing or out of range in the settings read as the defaults.
    static PaceOptions Load(const QSettings& settings);
    void Save(QSettings& settings) const;

    // A decimal number with a point, within [kMinSpeed, kMaxSpeed]: "2", "0.5", " 1.25 ".
    static std::optional<double> ParseSpeed(QStringView text);
    // As the command line and the Options dialog show it: "2", "0.5".
    static QString SpeedText(double speed);

    friend bool operator==(const PaceOptions&, const PaceOptions&) = default;
};
