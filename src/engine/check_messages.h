#pragma once

// The messages of the checks, one per broken rule, in the words the window shows them.
namespace torvane::messages {

// Tariff.
inline constexpr char CheapRate[] = "Cheap Rate must be 0 or between 0.01 and 0.99";
inline constexpr char NormalRate[] = "Normal Rate must be between 0.01 and 0.99";
inline constexpr char PaybackPeriod[] = "Payback Period must be between 1 and 10 years";
inline constexpr char VatRate[] = "VAT Rate must be 0 or between 1 and 50%";
inline constexpr char Co2Rate[] = "CO2 Conversion Rate must be between 0.1 and 2";
inline constexpr char InflationRate[] = "Annual Inflation Rate must be between -30% and 199%";

// Hours.
inline constexpr char NormalHours[] = "Normal Rate Hours On must be between 0 and 24 Hours";
inline constexpr char CheapHours[] = "Cheap Rate Hours On must be between 0 and 8 Hours";
inline constexpr char NormalStandbyHours[] =
    "Standby Normal Rate Hours On must be between 0 and 23.9 Hours";
inline constexpr char CheapStandbyHours[] =
    "Standby Cheap Rate Hours On must be between 0 and 8 Hours";

// Items; "%1" is the item number.
inline constexpr char ItemLife[] = "Item %1 Life must be 0 or between 500 and 50000 Hours";
inline constexpr char Item1Wattage[] = "Item 1 Wattage must be between 1.0 and 7000.0 Watts";
inline constexpr char Item2Wattage[] =
    "Item 2 Wattage must be empty or between 0.0 and 7000.0 Watts";
inline constexpr char ItemStandbyWattage[] =
    "Item %1 Standby Wattage must be between 0 and 99.0 Watts";
inline constexpr char ItemContinuousWattage[] =
    "Item %1 Continuous Wattage must be between 0 and 99.0 Watts";
inline constexpr char ItemCost[] = "Item %1 Cost must be between 0 or between 0.1 and 5000";

// Combinations.
inline constexpr char DailyHours[] =
    "The sum of Normal Rate Hours On and Cheap Rate Hours On must be no more than 24 Hours";
inline constexpr char CheapDayHours[] =
    "Cheap Rate Hours On plus Cheap Rate Hours On Standby must be no more than 8 Hours";
inline constexpr char AllDayHours[] =
    "The sum of Hours On plus the sum of Standby Hours On must be no more than 24 hours";
inline constexpr char NoHours[] =
    "Normal Rate Hours and Cheap Rate Hours cannot both be empty or 0";
inline constexpr char CheapHoursWithoutRate[] =
    "Cheap Rate Hours On must be zero if Cheap Rate Cost not set";
inline constexpr char CheapStandbyWithoutRate[] =
    "Cheap Rate Standby Hours On must be zero if Cheap Rate Cost is not set";
inline constexpr char LifeAndCost[] = "Item %1 Life and Cost must either both be blank or set";
inline constexpr char Item2StandbyWithoutWattage[] =
    "Item 2 Standby Wattage can only be set if Item 2 Wattage is set";

} // namespace torvane::messages
