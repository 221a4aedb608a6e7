#pragma once

#include <QString>

namespace torvane {

// The configuration values as last read, one member per key of the file. The text
// members hold the general-format text of the number read.
struct Settings {
    QString AnInf = QStringLiteral("-1");
    QString CheapRate = QStringLiteral("-1");
    QString CRate = QStringLiteral("-1");
    float LogLevel = -1;
    float Monthly = 0;
    QString NormalRate = QStringLiteral("-1");
    QString PayPeriod = QStringLiteral("-1");
    qint16 RunOnTopSetting = -1;
    float UpEnableSetting = 0;
    QString VRate = QStringLiteral("-1");
    float VUnits = -1;

    // Back to the markers for values not yet read, so that a missing key fails its check.
    void reset() { *this = Settings(); }
};

} // namespace torvane
