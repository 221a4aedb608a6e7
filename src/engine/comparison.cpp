#include "comparison.h"

#include "core/runtime_error.h"

#include <cmath>

namespace torvane {
namespace {

constexpr double DaysPerYear = 365;

// The years of inflation are counted one by one, as a 16-bit loop counter counts.
constexpr double MostYears = 32767;

} // namespace

// Apart from stored(), so that its quick route is worked out in place.
double storedSlowly(double value)
{
    if (value == 0) // the figures of an hour or a rate left at nothing
        return value;
    return checkedFigure(roundToGeneralExactly(checkedFigure(value)));
}

PeriodHours periodHours(const TariffInputs& tariff, const DayHours& hours)
{
    const double days = tariff.PayPeriod.strict() * DaysPerYear;
    return {stored(days * (hours.cheap + hours.normal)),
            stored(days * (hours.cheapStandby + hours.normalStandby))};
}

Inflation inflation(const TariffInputs& tariff)
{
    // The condition is tested before each of the two sums.
    const auto applies = [&] {
        return tariff.AnInfT.value >= -30 && tariff.PayPeriod.strict() >= 1;
    };
    const double years = std::floor(tariff.PayPeriod.value);
    const double rate = tariff.AnInfT.value / 100;
    Inflation result;
    if (applies()) {
        if (years > MostYears)
            throw RuntimeError::overflow();
        for (double y = 1; y <= years; ++y)
            result.factor = static_cast<float>((rate + 1) * result.factor);
    }
    if (applies()) {
        // A power of 1 is the base and any power of a base of 1 is 1, exactly as pow()
        // gives them (glibc's pow() is correctly rounded where the result is exact): the
        // first year and a period without inflation need no call.
        const double base = 1 + rate;
        for (double y = 1; y <= years; ++y) {
            const double term = y == 1 || base == 1 ? base : std::pow(base, y);
            result.sum = static_cast<float>(term + result.sum);
        }
        result.sum = result.sum - 1.0f;
    }
    // Single precision runs out long before a double does.
    checkedFigure(result.factor);
    checkedFigure(result.sum);
    return result;
}

double itemsNeeded(double hoursOn, const Reading& life)
{
    const double ratio = divide(hoursOn, life.strict());
    double count = std::floor(ratio);
    if (count < ratio)
        count += 1;
    return stored(count);
}

namespace {

// A day's cost (in the currency, before VAT) and kWh.
struct DayUse {
    double cost = 0;
    double units = 0;
};

// The running cost and kWh of the hours on.
DayUse runningDay(const ItemCalculation& c, double normalRate)
{
    const DayHours& hours = c.hours;
    const double watts = c.item.Watts.value;
    DayUse day;
    day.cost = stored(hours.normal * normalRate * watts / 1000);
    if (hours.cheap != 0) {
        const double cheapRate = c.secondItem ? c.tariff.CheapR.strict() : c.tariff.CheapR.value;
        day.cost = stored(day.cost + cheapRate * hours.cheap * watts / 1000);
    }
    day.units = stored(hours.normal * watts / 1000);
    if (hours.cheap != 0)
        day.units = stored(day.units + watts * hours.cheap / 1000);
    return day;
}

// The standby and continuous standby cost of a day; their kWh go into dayUnits.
double standbyDay(const ItemCalculation& c, double normalRate, double& dayUnits)
{
    const DayHours& hours = c.hours;
    const double standbyWatts = c.item.SWatts.value;
    const double continuousWatts = c.item.CWatts.value;

    // Standby, charged at the cheap rate only when cheap hours are set.
    dayUnits = stored(dayUnits + standbyWatts * hours.normalStandby / 1000);
    if (hours.cheap != 0)
        dayUnits = stored(dayUnits + standbyWatts * hours.cheapStandby / 1000);
    double cost = stored(hours.normalStandby * normalRate * standbyWatts / 1000);
    if (hours.cheap != 0)
        cost = stored(cost + c.tariff.CheapR.value * hours.cheapStandby * standbyWatts / 1000);

    // Continuous standby: 18 hours at the normal rate, 6 at the cheap rate if any.
    const double normal = c.tariff.NormalR.value;
    const double cheap = c.tariff.CheapR.value;
    dayUnits = stored(dayUnits + continuousWatts * 24 / 1000);
    cost = stored(cost + normal * 18 * continuousWatts / 1000);
    return stored(cost + (cheap != 0 ? cheap : normal) * 6 * continuousWatts / 1000);
}

// The electricity of a day and of the period: cost in hundredths of the currency with VAT
// at the prices of the last whole year of the period, and kWh a day.
struct Electricity {
    double dayCost = 0;
    double periodCost = 0;
    double dayUnits = 0;
};

// VAT on a day's cost (kept as the running cost a day), then the day and the period at
// the prices of the last whole year.
Electricity taxedAndInflated(const ItemCalculation& c, double dayCost, ItemFigures& figures)
{
    dayCost = stored(dayCost * (c.tariff.VAT.strict() + 100) / 100);
    figures.runningDay = dayCost;
    Electricity electricity;
    electricity.dayCost = stored(dayCost * 100 * c.inflation.factor);
    electricity.periodCost =
        stored(divide(electricity.dayCost * DaysPerYear * c.inflation.sum, c.inflation.factor));
    return electricity;
}

// The CO2 over the period, to one decimal.
double co2OverPeriod(const ItemCalculation& c)
{
    const DayHours& hours = c.hours;
    const ItemInputs& item = c.item;
    const double co2 = stored((item.Watts.strict() * (hours.normal + hours.cheap) +
                               (hours.cheapStandby + hours.normalStandby) * item.SWatts.value +
                               item.CWatts.value * 24) *
                              (c.tariff.PayPeriod.value * DaysPerYear) * c.tariff.CO2.value / 1000);
    return roundToDecimals(co2, 1);
}

// The electricity the item uses, its standby share, the running cost a day and the CO2
// set in figures as each is known.
Electricity electricityUsed(const ItemCalculation& c, ItemFigures& figures)
{
    const double normalRate = c.tariff.NormalR.strict();
    DayUse day = runningDay(c, normalRate);
    const double standbyCost = standbyDay(c, normalRate, day.units);
    day.cost = stored(day.cost + standbyCost);
    // The share is cut, not rounded, to tenths of a percent.
    const double share = stored(divide(standbyCost, day.cost));
    figures.standbyShare = std::floor(share * 1000) / 10;

    Electricity electricity = taxedAndInflated(c, day.cost, figures);
    electricity.dayUnits = day.units;
    figures.co2 = co2OverPeriod(c);
    return electricity;
}

// The amounts a day, a part and the period, the purchases spread over every day of the
// full period in the day cost, rounded as shown.
void amountsPerPartAndPeriod(const ItemCalculation& c, Electricity e, ItemFigures& figures)
{
    const TariffInputs& tariff = c.tariff;
    figures.unitsDay = e.dayUnits;
    const double daysPerPart = c.monthly ? DaysPerYear / 12 : DaysPerYear / 4;
    const double periodUnits = stored(tariff.PayPeriod.strict() * (e.dayUnits * DaysPerYear));
    const double partUnits = stored(e.dayUnits * daysPerPart);

    const double purchases = figures.count.value_or(c.item.No.value) * c.item.Cost.value;
    const double periodCost = stored(e.periodCost + purchases * 100);
    const double dayCost =
        stored(e.dayCost + divide(purchases, tariff.PayPeriod.value * DaysPerYear) * 100);
    const double partCost = stored(dayCost * daysPerPart);

    figures.cost = {roundToDecimals(dayCost / 100, 5), roundToDecimals(partCost / 100, 2),
                    roundToDecimals(periodCost / 100, 2)};
    figures.units = {roundToDecimals(e.dayUnits, 3), roundToDecimals(partUnits, 2),
                     roundToDecimals(periodUnits, 1)};
}

} // namespace

void workOutItem(const ItemCalculation& c, ItemFigures& figures)
{
    if (c.item.Life.value != 0)
        figures.count = itemsNeeded(c.hoursOn, c.item.Life);
    Electricity electricity;
    if (!c.secondItem || c.item.Watts.value > 0)
        electricity = electricityUsed(c, figures);
    else
        figures.co2 = 0.0; // no electricity at all: no standby share, no CO2
    amountsPerPartAndPeriod(c, electricity, figures);
}

namespace {

// One minus two, as shown; negative tells that the day figure is below zero, and then
// each figure is given with its sign turned.
Amounts signedDifference(const Amounts& one, const Amounts& two, const int (&decimals)[3],
                         bool& negative)
{
    const double day = stored(one.day - two.day);
    negative = day < 0;
    const double sign = negative ? -1 : 1;
    return {roundToDecimals(sign * day, decimals[0]),
            roundToDecimals(sign * stored(one.part - two.part), decimals[1]),
            roundToDecimals(sign * stored(one.period - two.period), decimals[2])};
}

} // namespace

Differences differences(const ItemFigures& item1, const ItemFigures& item2)
{
    Differences d;
    d.units = signedDifference(item1.units, item2.units, {3, 2, 1}, d.unitsNegative);
    d.cost = signedDifference(item1.cost, item2.cost, {5, 2, 2}, d.costNegative);
    double co2 = stored(item1.co2.value_or(0) - item2.co2.value_or(0));
    d.co2Negative = co2 < 0;
    if (d.co2Negative)
        co2 = -co2;
    d.co2 = roundToDecimals(co2, 1);
    return d;
}

} // namespace torvane
