#pragma once

#include "settings.h"

#include <variant>

namespace torvane::config {

// One key of the configuration file: its prefix, the member that holds its value, the
// values the reader accepts and the decimals the writer gives it (-1: general format).
struct ConfigKey {
    const char* prefix;
    std::variant<double Settings::*, float Settings::*, qint16 Settings::*> member;
    bool (*accepts)(double value);
    int decimals = -1;
};

template <auto Low, auto High> bool within(double value)
{
    return value >= Low && value <= High;
}

inline bool oneOrTwo(double value)
{
    return value == 1 || value == 2;
}

// A cheap rate in hundredths, or the rate plus 101 (101 for none).
inline bool cheapRate(double value)
{
    return within<1, 99>(value) || within<101, 200>(value);
}

// Kilograms of CO2 per kWh: 0.1 to 2.
inline bool co2Rate(double value)
{
    return value >= 0.1 && value <= 2.0;
}

// The eleven keys, in the order the file lists them.
inline constexpr ConfigKey Keys[] = {
    {"AnInf=", &Settings::AnInf, within<1, 230>},
    {"CheapRate=", &Settings::CheapRate, cheapRate},
    {"CRate=", &Settings::CRate, co2Rate, 2},
    {"LogLevel=", &Settings::LogLevel, within<1, 3>},
    {"Monthly=", &Settings::Monthly, oneOrTwo},
    {"NormalRate=", &Settings::NormalRate, within<1, 99>},
    {"PayPeriod=", &Settings::PayPeriod, within<1, 10>},
    {"RunOnTop=", &Settings::RunOnTopSetting, oneOrTwo},
    {"UpEnable=", &Settings::UpEnableSetting, oneOrTwo},
    {"VRate=", &Settings::VRate, within<1, 51>},
    {"VUnits=", &Settings::VUnits, oneOrTwo},
};

} // namespace torvane::config
