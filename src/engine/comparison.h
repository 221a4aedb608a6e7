#pragma once

#include "core/numbers.h"

#include <optional>

// The comparison engine: the inputs as read from the fields in, the figures of both items
// and their differences out, as numbers. Every rounding the program makes on the way is
// named here: intermediate figures keep 15 significant digits (stored()), the inflation
// figures are single precision, and the figures kept for display and for the differences
// are rounded as they are shown.
namespace torvane {

// The tariff fields, read once.
struct TariffInputs {
    Reading NormalR, CheapR, PayPeriod, VAT, CO2, AnInfT;
};

// The hour fields, read once.
struct HourInputs {
    Reading NormalHr, CheapHr, NormalSHr, CheapSHr;
};

// One item's fields, read once.
struct ItemInputs {
    Reading Watts, SWatts, CWatts, Life, Cost, No;
};

struct ComparisonInputs {
    TariffInputs tariff;
    HourInputs hours;
    ItemInputs item1;
    ItemInputs item2;
};

// The hours of a day an item is worked out with (the values of the hour fields).
struct DayHours {
    double normal = 0;
    double cheap = 0;
    double normalStandby = 0;
    double cheapStandby = 0;

    static DayHours of(const HourInputs& hours)
    {
        return {hours.NormalHr.value, hours.CheapHr.value, hours.NormalSHr.value,
                hours.CheapSHr.value};
    }
};

// A figure as the program stores it between steps: 15 significant digits; an infinite or
// undefined one is an overflow. The quick route settles finite figures away from zero.
double storedSlowly(double value);
inline double stored(double value)
{
    detail::Scaled scaled;
    if (detail::scaleToSignificant(std::fabs(value), scaled))
        return std::copysign(detail::unscaled(scaled), value);
    return storedSlowly(value);
}

// Hours on and on standby over the payback period.
struct PeriodHours {
    double on = 0;
    double standby = 0;
};
PeriodHours periodHours(const TariffInputs& tariff, const DayHours& hours);

// Items needed over the period: hours on divided by the life, rounded up.
double itemsNeeded(double hoursOn, const Reading& life);

// The price factor of the last whole year of the period and the sum of every whole
// year's factor, in single precision.
struct Inflation {
    float factor = 1.0f;
    float sum = 1.0f;
};
Inflation inflation(const TariffInputs& tariff);

// An amount per day, per quarter (or month) and over the payback period.
struct Amounts {
    double day = 0;
    double part = 0;
    double period = 0;
};

// What one item comes to, rounded as shown: money in the currency (five, two and two
// decimals) and kWh (three, two and one). The number of items, the standby share and the
// CO2 are set as soon as they are known, so that a calculation stopped by a run-time
// error leaves what it had worked out.
struct ItemFigures {
    std::optional<double> count;        // items needed, when the life is given
    double runningDay = 0;              // running cost a day with tax, today's prices
    double unitsDay = 0;                // kWh a day
    std::optional<double> standbyShare; // percent, cut to tenths; none without wattage
    std::optional<double> co2;          // over the period, one decimal
    Amounts cost;
    Amounts units;
};

// What an item is worked out from.
struct ItemCalculation {
    const TariffInputs& tariff;
    const ItemInputs& item;
    DayHours hours;
    double hoursOn; // over the period (HoursUsed)
    Inflation inflation;
    bool secondItem; // reads the cheap rate strictly, and only with wattage
    bool monthly;    // a month rather than a quarter
};

// Works the item out into figures; a run-time error leaves the figures known so far.
void workOutItem(const ItemCalculation& calculation, ItemFigures& figures);

// Item 1 minus Item 2, between the figures as shown. The day figure's sign decides the
// sign of the other two: each is given as its size when the day figure is negative
// (the flag is set then), so a part or period figure of the other sign comes out negative.
struct Differences {
    Amounts units;
    bool unitsNegative = false;
    Amounts cost;
    bool costNegative = false;
    double co2 = 0; // its size; co2Negative when Item 2 produces more
    bool co2Negative = false;
};
Differences differences(const ItemFigures& item1, const ItemFigures& item2);

} // namespace torvane
