#pragma once

#include <QtGlobal>

namespace torvane {

// The configuration values as last read, one member per key of the file. Figures keep
// the 15 significant digits that the file's general format holds; the others what their
// type holds. The start values mark a value not yet read, so that a key missing from
// the file fails its range check.
struct Settings {
    double AnInf = -1;           // annual inflation in percent, plus 31
    double CheapRate = -1;       // hundredths of the currency a kWh; from 101 up, that minus 101
    double CRate = -1;           // CO2 per kWh, in the unit of VUnits
    float LogLevel = -1;         // 1 save by hand, 2 (or 3) save every calculation
    float Monthly = 0;           // 1 quarters, 2 months
    double NormalRate = -1;      // hundredths of the currency a kWh
    double PayPeriod = -1;       // years
    qint16 RunOnTopSetting = -1; // 2: the main window stays on top
    float UpEnableSetting = 0;   // 2: the update check runs at start-up
    double VRate = -1;           // VAT in percent, plus 1
    float VUnits = -1;           // 1 kilograms, 2 pounds
};

} // namespace torvane
