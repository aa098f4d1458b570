#pragma once

class QSettings;

// Whether a recording takes the keyboard as well as the mouse. Kept in the user's settings, never
// in a macro file.
struct KeyboardOptions
{
    bool record = true;

    // A value missing from the settings reads as the default.
    static KeyboardOptions Load(const QSettings& settings);
    void Save(QSettings& settings) const;

    friend bool operator==(const KeyboardOptions&, const KeyboardOptions&) = default;
};
