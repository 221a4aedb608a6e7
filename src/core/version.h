#pragma once

#include <QString>

namespace torvane {

inline constexpr int VersionMajor = 6;
inline constexpr int VersionMinor = 4;

// Written major "." minor wherever the program shows or records its version.
inline QString versionText()
{
    return QString::number(VersionMajor) + QLatin1Char('.') + QString::number(VersionMinor);
}

} // namespace torvane
