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
