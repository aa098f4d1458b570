#pragma once

#include <QString>

// The identity values the program shows and builds its macro file header and footer from.
namespace AppInfo {

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 25;

QString CompanyName();    // "#Quorvel Works"
QString ProductName();    // "Clickwarden 2004", also the application title
QString VersionText();    // "1.0.25"
QString CopyrightLine();  // the legal-copyright line
QString ExecutableName(); // "clickwarden"

} // namespace AppInfo
