#pragma once

#include <QString>
#include <QStringView>

#include <optional>

class QSettings;

// The check of the screen before each click: whether playback compares the screen around a task's
// point with the task's descriptive image first, how long it waits for them to match, and what it
// does when they never do. Kept in the user's settings, never in a macro file.
struct ScreenCheckOptions
{
    enum class OnMismatch
    {
        Stop,
        Skip,
        // Looks for the recorded image around the point, then on the whole screen, and clicks
        // where it is found; stops when it is found nowhere, or in two places.
        Find,
    };

    static constexpr int kDefaultWaitSeconds = 10;
    static constexpr int kMinWaitSeconds = 1;
    static constexpr int kMaxWaitSeconds = 3600;

    bool enabled = false;
    int waitSeconds = kDefaultWaitSeconds;
    OnMismatch onMismatch = OnMismatch::Stop;

    // Values that are missing, out of range or no clear switch in the settings read as the defaults.
    static ScreenCheckOptions Load(const QSettings& settings);
    void Save(QSettings& settings) const;

    friend bool operator==(const ScreenCheckOptions&, const ScreenCheckOptions&) = default;
};

// "stop", "skip" or "find", as the command line and the settings write them.
std::optional<ScreenCheckOptions::OnMismatch> ParseOnMismatch(QStringView text);
QString OnMismatchName(ScreenCheckOptions::OnMismatch onMismatch);
