#pragma once

#include "comparison.h"

#include <QString>

// The checks of a comparison's inputs as rules over the inputs read once, without a
// window: each broken rule appends its message and a line feed, in the order the window
// shows them. And how the checks rewrite the fields that pass.
namespace torvane {

// The decimals that the checks rewrite a passing field with.
namespace Decimals {
inline constexpr int Rate = 6;
inline constexpr int PayPeriod = 1;
inline constexpr int Vat = 1;
inline constexpr int Co2 = 2;
inline constexpr int Inflation = 1;
inline constexpr int Hours = 1;
inline constexpr int Life = 0;
inline constexpr int Watts = 1;
inline constexpr int Cost = 2;
} // namespace Decimals

// The bounds each field's check accepts (a field that may be 0 takes 0 besides).
struct Range {
    double low;
    double high;
};
namespace Ranges {
inline constexpr Range Rate{0.01, 0.99};
inline constexpr Range PayPeriod{1, 10};
inline constexpr Range Vat{1, 50};
inline constexpr Range Co2{0.1, 2};
inline constexpr Range Inflation{-30, 199};
inline constexpr Range NormalHours{0, 24};
inline constexpr Range CheapHours{0, 8};
inline constexpr Range NormalStandbyHours{0, 23.9};
inline constexpr Range CheapStandbyHours{0, 8};
inline constexpr Range Life{500, 50000};
inline constexpr Range Watts{0.1, 7000};
inline constexpr Range StandbyWatts{0, 99};
inline constexpr Range Cost{0.1, 5000};
} // namespace Ranges

void tariffRules(const TariffInputs& tariff, QString& messages);
// An item counts as not entered when its life, wattages and cost add up to nothing.
bool isBlank(const ItemInputs& item);
void hourRules(const HourInputs& hours, QString& messages);
void itemRules(int item, const ItemInputs& fields, QString& messages);
void combinationRules(const ComparisonInputs& inputs, bool item1Blank, bool item2Blank,
                      QString& messages);

// The inputs as the checks rewrite them: each in its fixed format and read back (the
// number of items in the general format). The tariff always, hours and items where given.
void normaliseTariff(TariffInputs& tariff);
void normaliseHoursAndItems(ComparisonInputs& inputs);

} // namespace torvane
