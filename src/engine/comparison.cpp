#include "comparison.h"

#include "core/runtime_error.h"

#include <cmath>

namespace torvane {
namespace {

constexpr double DaysPerYear = 365;

// The years of inflation are counted one by one, as a 16-bit loop counter counts.
constexpr double MostYears = 32767;

} // namespace

double stored(double value)
{
    return checkedFigure(roundToGeneral(checkedFigure(value)));
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
        for (double y = 1; y <= years; ++y)
            result.sum = static_cast<float>(std::pow(1 + rate, y) + result.sum);
        result.sum = result.sum - 1.0f;
    }
    // Single precision runs out long before a double does.
    checkedFigure(result.factor);
    checkedFigure(result.sum);
    return result;
}

void workOutItem(const ItemCalculation& c, ItemFigures& figures)
{
    const TariffInputs& tariff = c.tariff;
    const ItemInputs& item = c.item;
    const DayHours& hours = c.hours;

    // Items needed over the period: hours on divided by the life, rounded up.
    if (item.Life.value != 0) {
        const double ratio = divide(c.hoursOn, item.Life.strict());
        double count = std::floor(ratio);
        if (count < ratio)
            count += 1;
        figures.count = stored(count);
    }

    // Running cost in hundredths of the currency once VAT is on, and kWh, per day.
    double dayCost = 0;
    double dayUnits = 0;
    double periodCost = 0;
    const double watts = item.Watts.value;
    if (!c.secondItem || watts > 0) {
        const double normalRate = tariff.NormalR.strict();
        const double standbyWatts = item.SWatts.value;
        const double continuousWatts = item.CWatts.value;
        dayCost = stored(hours.normal * normalRate * watts / 1000);
        if (hours.cheap != 0) {
            const double cheapRate = c.secondItem ? tariff.CheapR.strict() : tariff.CheapR.value;
            dayCost = stored(dayCost + cheapRate * hours.cheap * watts / 1000);
        }
        dayUnits = stored(hours.normal * watts / 1000);
        if (hours.cheap != 0)
            dayUnits = stored(dayUnits + watts * hours.cheap / 1000);

        // Standby, charged at the cheap rate only when cheap hours are set.
        dayUnits = stored(dayUnits + standbyWatts * hours.normalStandby / 1000);
        if (hours.cheap != 0)
            dayUnits = stored(dayUnits + standbyWatts * hours.cheapStandby / 1000);
        double standbyCost = stored(hours.normalStandby * normalRate * standbyWatts / 1000);
        if (hours.cheap != 0)
            standbyCost = stored(standbyCost +
                                 tariff.CheapR.value * hours.cheapStandby * standbyWatts / 1000);

        // Continuous standby: 18 hours at the normal rate, 6 at the cheap rate if any.
        const double normal = tariff.NormalR.value;
        const double cheap = tariff.CheapR.value;
        dayUnits = stored(dayUnits + continuousWatts * 24 / 1000);
        standbyCost = stored(standbyCost + normal * 18 * continuousWatts / 1000);
        standbyCost =
            stored(standbyCost + (cheap != 0 ? cheap : normal) * 6 * continuousWatts / 1000);

        dayCost = stored(dayCost + standbyCost);
        // The share is cut, not rounded, to tenths of a percent.
        const double share = stored(divide(standbyCost, dayCost));
        figures.standbyShare = std::floor(share * 1000) / 10;

        dayCost = stored(dayCost * (tariff.VAT.strict() + 100) / 100);
        figures.runningDay = dayCost;
        // At the prices of the last whole year of the period.
        dayCost = stored(dayCost * 100 * c.inflation.factor);
        periodCost = stored(divide(dayCost * DaysPerYear * c.inflation.sum, c.inflation.factor));

        const double co2 = stored((item.Watts.strict() * (hours.normal + hours.cheap) +
                                   (hours.cheapStandby + hours.normalStandby) * standbyWatts +
                                   continuousWatts * 24) *
                                  (tariff.PayPeriod.value * DaysPerYear) * tariff.CO2.value / 1000);
        figures.co2 = roundToDecimals(co2, 1);
    } else {
        // No electricity at all: no standby share, no CO2.
        figures.co2 = 0.0;
    }

    figures.unitsDay = dayUnits;
    const double daysPerPart = c.monthly ? DaysPerYear / 12 : DaysPerYear / 4;
    const double periodUnits = stored(tariff.PayPeriod.strict() * (dayUnits * DaysPerYear));
    const double partUnits = stored(dayUnits * daysPerPart);

    // The purchases, spread over every day of the full period in the day cost.
    const double purchases = figures.count.value_or(item.No.value) * item.Cost.value;
    periodCost = stored(periodCost + purchases * 100);
    dayCost = stored(dayCost + divide(purchases, tariff.PayPeriod.value * DaysPerYear) * 100);
    const double partCost = stored(dayCost * daysPerPart);

    figures.cost = {roundToDecimals(dayCost / 100, 5), roundToDecimals(partCost / 100, 2),
                    roundToDecimals(periodCost / 100, 2)};
    figures.units = {roundToDecimals(dayUnits, 3), roundToDecimals(partUnits, 2),
                     roundToDecimals(periodUnits, 1)};
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
